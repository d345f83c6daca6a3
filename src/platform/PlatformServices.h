#pragma once

#include "IAsrSdkEngine.h"
#include "IClipboard.h"
#include "IGlobalMouseMonitor.h"
#include "IGlobalShortcuts.h"
#include "IKeyPoster.h"
#include "ISystemVolume.h"
#include "IWorkspace.h"

namespace platform {

// The desktop services the application uses. The composition root installs the
// Linux backends, tests install fakes; an empty slot answers "not available" and
// logs that once.
struct PlatformServices {
    IKeyPoster *keyPoster = nullptr;
    IClipboard *clipboard = nullptr;
    IGlobalMouseMonitor *mouseMonitor = nullptr;
    ISystemVolume *volume = nullptr;
    IWorkspace *workspace = nullptr;
    IGlobalShortcuts *shortcuts = nullptr;
    // The vendor speech SDK. It has no stand-in: nullptr means no engine is registered
    // (so on Linux), and recognition then always uses the websocket speech service.
    IAsrSdkEngine *asrSdkEngine = nullptr;
};

// The installed services, empty slots filled with the stand-ins.
PlatformServices &services();
// Installs services; returns the previous set so tests can put it back.
PlatformServices installServices(const PlatformServices &services);

} // namespace platform
