#pragma once

// Interfaces of the services the desktop gives the application. Each service has one
// small interface here, a Linux backend under platform/linux/ and a fake in
// tests/support/. Only the application's composition root picks a backend.
namespace platform {

// Whether this session can reach X11 at all (decides between a backend and its
// "not available" stand-in).
bool hasX11Display();
bool isWaylandSession();

} // namespace platform
