#pragma once

#include "platform/IScreenGrabber.h"

namespace platform::linuxbackend {

// Reads the root window of the X server (QScreen::grabWindow with no window). With a
// compositing manager the root shows the composed screen, without one the windows'
// own pixels: either way what the user sees. In a native Wayland session there is no
// root to read: unavailable, logged once.
class X11ScreenGrabber final : public IScreenGrabber {
public:
    bool isAvailable() const override;
    QImage grab(const QScreen *screen, const QRect &area = {}) override;
};

} // namespace platform::linuxbackend
