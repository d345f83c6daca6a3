#pragma once

namespace platform::linuxbackend {

// Whether a window's transparent pixels show what lies under it: always on Wayland;
// on X11 only while a compositing manager runs (it owns the _NET_WM_CM_S<screen>
// selection). Without one, translucent windows would show black where they are clear.
bool windowsCanBeTranslucent();

} // namespace platform::linuxbackend
