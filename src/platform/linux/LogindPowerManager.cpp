#include "LogindPowerManager.h"

#include "PZLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace platform::linuxbackend {

void LogindPowerManager::requestSleep()
{
    if (!m_bus)
        m_bus = QDBusConnection::systemBus();
    if (!m_bus->isConnected()) {
        qxLogOnce(QStringLiteral("power.nobus"),
                  QStringLiteral("[power] no system bus: putting the computer to sleep is not available"));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Suspend"));
    // true: let polkit ask the user instead of refusing outright.
    call << true;
    auto *watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<> reply = *w;
        // A refusal is policy and repeats with every press: once in the log is enough.
        if (reply.isError())
            qxLogOnce(QStringLiteral("power.refused"), QStringLiteral("[power] logind refused to suspend: %1 %2")
                                                           .arg(reply.error().name(), reply.error().message()));
        w->deleteLater();
    });
}

} // namespace platform::linuxbackend
