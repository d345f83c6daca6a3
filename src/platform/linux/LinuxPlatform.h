#pragma once

// Linux backends of the platform interfaces (X11, udev/hidraw, BlueZ, PulseAudio,
// logind, XDG autostart). Created only by the application's composition root.
namespace platform::linuxbackend {

// One line in the log describing the session the backends will talk to.
void logSessionKind();

} // namespace platform::linuxbackend
