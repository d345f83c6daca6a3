// The baseline of the idle measurements: a bare Qt Widgets application that shows a
// tray icon and does nothing else. It prints the same "event loop running" line as the
// companion, so start-up is measured the same way.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkBlue);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.setToolTip(QStringLiteral("baseline"));
    tray.show();
    QTimer::singleShot(0, [] {
        std::fprintf(stderr, "event loop running\n");
        std::fflush(stderr);
    });
    return app.exec();
}
