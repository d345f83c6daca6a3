#pragma once

#include "platform/IPowerManager.h"

#include <QDBusConnection>

namespace platform::linuxbackend {

// Suspends through systemd-logind (org.freedesktop.login1.Manager.Suspend) on the
// system bus. The request is asynchronous; polkit may refuse it, which is logged once.
class LogindPowerManager final : public IPowerManager {
public:
    // The bus logind answers on; tests pass a private one.
    explicit LogindPowerManager(const QDBusConnection &bus = QDBusConnection::systemBus());
    void requestSleep() override;

private:
    QDBusConnection m_bus;
};

} // namespace platform::linuxbackend
