// Against a real accessibility bus: another Qt application in a private D-Bus session
// (with the AT-SPI bus and registry that session starts on demand) shows a text field
// with the caret in the middle of its text, and a password field. The real bridge
// finds the field under the mouse pointer, the manager writes there, and the
// application reports what its fields hold.
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "delivery/QXTextAreaManager.h"
#include "platform/linux/AtspiAccessibilityBridge.h"

#include <QCursor>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using platform::AccessibleRole;

// The application's next line; the bus daemons' lines are passed over.
QByteArray nextLine(QProcess &app, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        while (app.canReadLine())
            if (const QByteArray l = app.readLine().trimmed(); l.startsWith("qx "))
                return l.mid(3);
        app.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
    return {};
}

// A recognition with the pointer over a point of the other application.
void session(platform::IAccessibilityBridge &bridge, const QPoint &point, const QStringList &pieces)
{
    QCursor::setPos(point);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QCursor::pos() == point; }, 5000));
    bool last = false;
    NotificationCenter center;
    QXTextAreaManager manager({&bridge, [] { return QCursor::pos(); }, [&] { return last; }, &center});
    manager.registerNotification();
    center.post(QString::fromLatin1(qx::notify::ASRStartNotification));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        last = i + 1 == pieces.size();
        manager.showTextToCurrentTextArea(pieces[i]);
    }
}

TEST(Vox7AtspiX11, TextLandsAtTheCaretOfTheFieldUnderThePointerAndNeverInAPasswordField)
{
    const QString runSession = QStandardPaths::findExecutable(QStringLiteral("dbus-run-session"));
    const bool atSpi = QFileInfo(u"/usr/libexec/at-spi-bus-launcher"_qs).isExecutable()
                       && QFileInfo(u"/usr/libexec/at-spi2-registryd"_qs).isExecutable();
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    if (runSession.isEmpty() || !atSpi)
        GTEST_SKIP() << "needs dbus-run-session and the AT-SPI bus (Debian packages dbus, at-spi2-core)";

    QTemporaryDir runtime; // the bus sockets
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    app.setProcessEnvironment(env);
    app.setStandardErrorFile(QProcess::nullDevice());
    app.start(runSession, {QStringLiteral("--"), QStringLiteral(QX_LINEEDIT_HELPER)});
    const auto quit = qScopeGuard([&] {
        app.closeWriteChannel(); // it quits, and its session with it
        if (!app.waitForFinished(5000))
            app.kill();
    });
    const QList<QByteArray> ready = nextLine(app, 20000).split(' ');
    ASSERT_TRUE(ready.size() == 10 && ready[0] == "ready" && !ready[1].isEmpty())
        << "the application with the text field did not start on an accessibility bus";
    const auto rect = [&](int i) {
        return QRect(ready[i].toInt(), ready[i + 1].toInt(), ready[i + 2].toInt(), ready[i + 3].toInt());
    };
    const QPoint field = rect(2).center(), password = rect(6).center();
    // This process joins that session's accessibility bus, not whatever the display names.
    qputenv("AT_SPI_BUS_ADDRESS", ready[1]);

    platform::linuxbackend::AtspiAccessibilityBridge bridge;
    ASSERT_TRUE(bridge.isAvailable());
    // Its tree reaches the registry shortly after it starts.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto e = bridge.elementAtPoint(field);
            return e && e->role() != AccessibleRole::Other;
        },
        20000));
    const auto secret = bridge.elementAtPoint(password);
    ASSERT_TRUE(secret);
    EXPECT_EQ(secret->role(), AccessibleRole::PasswordText);

    session(bridge, password, {u"XY"_qs});
    session(bridge, field, {u"XY"_qs, u"XY你好"_qs});
    app.write("state\n");
    const QJsonObject state = QJsonDocument::fromJson(nextLine(app, 5000)).object();
    EXPECT_EQ(state.value("text").toString(), u"helloXY你好 world"_qs);
    EXPECT_EQ(state.value("caret").toInt(), 9);
    EXPECT_EQ(state.value("password").toString(), "secret");
}

} // namespace
