#include "X11Session.h"

#include "PZLog.h"
#include "platform/PlatformApi.h"

namespace platform::linuxbackend {

bool x11Reachable(const QString &service)
{
    if (isWaylandSession()) {
        qxLogOnce("x11:" + service, service + " is not available: native Wayland session (X11 or XWayland is needed)");
        return false;
    }
    if (!hasX11Display()) {
        qxLogOnce("x11:" + service, service + " is not available: no X11 display");
        return false;
    }
    return true;
}

} // namespace platform::linuxbackend
