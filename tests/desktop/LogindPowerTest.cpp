// The sleep request against a stand-in logind on a private D-Bus daemon.
#include "PZLog.h"
#include "platform/linux/LogindPowerManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct FakeLogind final : QDBusVirtualObject {
    QList<QVariantList> suspends;
    bool refuse = false;
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &m, const QDBusConnection &bus) override
    {
        if (m.interface() != QLatin1String("org.freedesktop.login1.Manager") || m.member() != QLatin1String("Suspend"))
            return false;
        suspends << m.arguments();
        bus.send(refuse ? m.createErrorReply(QDBusError::AccessDenied, QStringLiteral("not allowed"))
                        : m.createReply());
        return true;
    }
};

TEST(LogindPower, SuspendReachesLogindAndARefusalIsOnlyLogged)
{
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(daemon.waitForReadyRead(5000)) << "dbus-daemon (Debian dbus) did not start";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    {
        QDBusConnection server = QDBusConnection::connectToBus(address, QStringLiteral("logind"));
        FakeLogind logind;
        ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.login1")));
        ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/org/freedesktop/login1"), &logind));
        platform::linuxbackend::LogindPowerManager power(QDBusConnection::connectToBus(address, "client"));
        power.requestSleep();
        QTRY_COMPARE(logind.suspends.size(), 1);
        EXPECT_EQ(logind.suspends[0], QVariantList{true}) << "polkit may ask the user";
        logind.refuse = true;
        power.requestSleep();
        QTRY_VERIFY(qxLoggedOnce(QStringLiteral("power.refused")));
        server.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
    daemon.kill();
    daemon.waitForFinished();

    platform::linuxbackend::LogindPowerManager offline(QDBusConnection(QStringLiteral("never-connected")));
    offline.requestSleep();
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("power.nobus")));
}

} // namespace
