// The other application of the text insertion test, run in a private D-Bus session:
// a text field (caret in the middle of its text) and a password field, published on
// the accessibility bus. Prints "qx ready", the accessibility bus address and both
// fields' screen rectangles; answers "state" with the fields as JSON; quits when its
// input closes. Its lines start with "qx ": the bus daemons write to the same output.
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QVBoxLayout>

#include <cstdio>

static void say(const QString &line)
{
    std::puts(qPrintable(u"qx "_qs + line));
    std::fflush(stdout);
}

static QString rect(const QWidget &w)
{
    const QPoint p = w.mapToGlobal(QPoint(0, 0));
    return QStringLiteral(" %1 %2 %3 %4").arg(p.x()).arg(p.y()).arg(w.width()).arg(w.height());
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QLineEdit field(QStringLiteral("hello world")), password(QStringLiteral("secret"));
    field.setCursorPosition(5);
    password.setEchoMode(QLineEdit::Password);
    layout->addWidget(&field);
    layout->addWidget(&password);
    window.setGeometry(60, 60, 320, 100);
    window.show();

    QFile input;
    input.open(stdin, QIODevice::ReadOnly);
    QSocketNotifier commands(0, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
        const QByteArray line = input.readLine().trimmed();
        if (line == "state")
            say(QString::fromUtf8(QJsonDocument(QJsonObject{{"text", field.text()},
                                                            {"caret", field.cursorPosition()},
                                                            {"password", password.text()}})
                                      .toJson(QJsonDocument::Compact)));
        else if (input.atEnd())
            app.quit();
    });

    const QDBusMessage bus = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
    say(u"ready "_qs + bus.arguments().value(0).toString() + rect(field) + rect(password));
    return app.exec();
}
