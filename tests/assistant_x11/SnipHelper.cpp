// Another application for the capture's X11 tests.
//   qx_snip_helper pattern X Y W H   a window under the others painting patternColour() at (X, Y); prints "ready"
//   qx_snip_helper clipboard FILE    writes the clipboard's image/png to FILE (exit 1: none)
//   qx_snip_helper focus X Y W H     a window the window manager frames, holding the
//                                    keyboard focus; prints "ready <window id>"
#include "PatternColour.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {
class PatternWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QImage picture(size(), QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, patternColour(x, y));
        QPainter(this).drawImage(0, 0, picture);
    }
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? argv[1] : "";
    if (mode == "pattern" && argc == 6) {
        PatternWindow window;
        window.setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        window.setGeometry(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
        window.show();
        window.lower(); // under every other window, as a desktop is
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        QTest::qWait(100);
        std::puts("ready");
        std::fflush(stdout);
        return app.exec();
    }
    if (mode == "focus" && argc == 6) {
        QWidget window;
        window.setGeometry(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return 1;
        std::printf("ready %llu\n", static_cast<unsigned long long>(window.winId()));
        std::fflush(stdout);
        return app.exec();
    }
    if (mode == "clipboard" && argc == 3) {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        if (!data || !data->hasFormat(QStringLiteral("image/png")))
            return 1;
        QFile out(QString::fromLocal8Bit(argv[2]));
        return out.open(QIODevice::WriteOnly) && out.write(data->data(QStringLiteral("image/png"))) > 0 ? 0 : 1;
    }
    return 2;
}
