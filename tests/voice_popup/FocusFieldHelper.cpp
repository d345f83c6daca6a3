// Another application with a text field that has the keyboard focus, for the pop-up's
// focus test. It prints "ready <window id>" once the field has the focus, then
// answers each line on stdin: "state" with "focus=<0|1> active=<0|1> text=<field>",
// "focus" by taking the focus again.
#include <QApplication>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTest>
#include <QVBoxLayout>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("focus field"));
    auto *field = new QLineEdit(&window);
    (new QVBoxLayout(&window))->addWidget(field);
    window.setGeometry(40, 40, 300, 60);
    window.show();
    const auto takeFocus = [&] {
        window.activateWindow();
        field->setFocus();
        return QTest::qWaitForWindowActive(&window, 5000) && field->hasFocus();
    };
    if (!takeFocus()) {
        std::fprintf(stderr, "focus field helper: the field never got the focus\n");
        return 1;
    }
    std::printf("ready %llu\n", static_cast<unsigned long long>(window.winId()));
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64] = {};
        const ssize_t n = read(STDIN_FILENO, line, sizeof line - 1);
        if (n <= 0) {
            app.quit();
            return;
        }
        if (QByteArray(line).startsWith("focus"))
            takeFocus();
        std::printf("focus=%d active=%d text=%s\n", field->hasFocus() ? 1 : 0, window.isActiveWindow() ? 1 : 0,
                    qPrintable(field->text()));
        std::fflush(stdout);
    });
    return app.exec();
}
