#pragma once

#include "platform/IAiWebHost.h"

#include <memory>

namespace platform::linuxbackend {

// A web page host on QtWebEngine, which lives in a module of its own
// (libqx_webengine.so, found where libqx_multimedia.so is) loaded when the first host
// is made: the engine maps some 150 MB of libraries and starts helper processes, and
// most runs never open the AI window. Running as root, where Chromium's sandbox cannot
// start, the sandbox is turned off first (logged once). nullptr, logged once, when the
// module cannot be loaded.
std::unique_ptr<IAiWebHost> createAiWebHost(const AiWebHostOptions &options);

// Hosts alive now (made here and not yet destroyed).
int liveAiWebHosts();

} // namespace platform::linuxbackend
