#pragma once

#include "platform/IPowerManager.h"

#include <QDBusConnection>

#include <optional>

namespace platform::linuxbackend {

// Suspends through systemd-logind (org.freedesktop.login1.Manager.Suspend) on the
// system bus. The request is asynchronous; polkit may refuse it, which is logged once.
class LogindPowerManager final : public IPowerManager {
public:
    // The system bus, connected at the first request: most sessions never make one.
    LogindPowerManager() = default;
    // The bus logind answers on; tests pass a private one.
    explicit LogindPowerManager(const QDBusConnection &bus) : m_bus(bus) {}
    void requestSleep() override;

private:
    std::optional<QDBusConnection> m_bus;
};

} // namespace platform::linuxbackend
