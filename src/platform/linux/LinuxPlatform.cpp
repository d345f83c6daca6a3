#include "LinuxPlatform.h"

#include "PZLog.h"
#include "platform/PlatformApi.h"

namespace platform::linuxbackend {

void logSessionKind()
{
    if (isWaylandSession())
        qxLogOnce("session", "native Wayland session: global keys, key synthesis and screen capture are not available");
    else if (!hasX11Display())
        qxLogOnce("session", "no X11 display: desktop integration is not available");
    else
        qxInfo("platform") << "X11 session on" << qEnvironmentVariable("DISPLAY");
}

} // namespace platform::linuxbackend
