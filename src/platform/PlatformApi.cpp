#include "PlatformApi.h"

#include <QString>
#include <QtGlobal>

namespace platform {

bool hasX11Display()
{
    return !qEnvironmentVariable("DISPLAY").isEmpty();
}

bool isWaylandSession()
{
    return !qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty() && qEnvironmentVariable("DISPLAY").isEmpty();
}

} // namespace platform
