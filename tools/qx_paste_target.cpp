// Another application with a focused text field, for the paste test, the paste bench
// and checks by hand: "qx-paste-target plain|line". Prints "ready x y w h" (the field on screen) once the field
// has the focus and "text <Base64 of the UTF-8>" whenever its text changes; "clear" on
// standard input empties the field.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool line = argc > 1 && qstrcmp(argv[1], "line") == 0;
    QWidget *field = line ? static_cast<QWidget *>(new QLineEdit) : new QPlainTextEdit;
    const auto report = [field, line] {
        const QString text =
            line ? static_cast<QLineEdit *>(field)->text() : static_cast<QPlainTextEdit *>(field)->toPlainText();
        say("text " + text.toUtf8().toBase64());
    };
    if (line)
        QObject::connect(static_cast<QLineEdit *>(field), &QLineEdit::textChanged, report);
    else
        QObject::connect(static_cast<QPlainTextEdit *>(field), &QPlainTextEdit::textChanged, report);
    field->setGeometry(100, 100, 600, 300);
    field->show();
    field->activateWindow();
    field->setFocus();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0)
            QApplication::quit();
        else if (QByteArray(buffer, int(n)).contains("clear"))
            line ? static_cast<QLineEdit *>(field)->clear() : static_cast<QPlainTextEdit *>(field)->clear();
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!field->hasFocus() || !field->isActiveWindow())
            return;
        poll.stop();
        const QRect r(field->mapToGlobal(QPoint(0, 0)), field->size());
        say(QStringLiteral("ready %1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toUtf8());
    });
    poll.start(20);
    return app.exec();
}
