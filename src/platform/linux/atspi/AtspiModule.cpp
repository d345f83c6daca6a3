// The entry point of the accessibility module (see AtspiAccessibilityBridge.h).
#include "AtspiBridge.h"

extern "C" Q_DECL_EXPORT platform::IAccessibilityBridge *
qxCreateAccessibilityBridge(const platform::linuxbackend::ModuleHost *host)
{
    return new platform::linuxbackend::AtspiBridge(*host);
}
