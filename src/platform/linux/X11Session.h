#pragma once

#include <QString>

namespace platform::linuxbackend {

// Whether X11 can be reached from here. When not, logs once under key why the
// service is not available (native Wayland, no display).
bool x11Reachable(const QString &service);

} // namespace platform::linuxbackend
