// Another application for the shell's X11 tests: a line of text to select at
// (X, Y) and a picture on the clipboard; prints "ready" once both are there.
//   qx_selection_helper X Y TEXT
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QTest>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    QLineEdit edit(QString::fromUtf8(argv[3]));
    edit.setWindowFlags(Qt::FramelessWindowHint);
    edit.setGeometry(std::atoi(argv[1]), std::atoi(argv[2]), 400, 40);
    edit.show();
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::cyan);
    QGuiApplication::clipboard()->setImage(picture);
    if (!QTest::qWaitForWindowExposed(&edit))
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
