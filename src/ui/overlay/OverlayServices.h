#pragma once

#include "overlay/OverlayWindow.h"

#include <functional>

class EscapeArbiter;
namespace platform {
class IScreenGrabber;
}

// What a full-screen effect needs of the desktop, handed over by the composition
// root: the screen pictures, whether a compositing manager runs (asked at every start:
// one can come and go while the application runs) and the escape key's arbiter.
struct OverlayServices {
    platform::IScreenGrabber *grabber = nullptr;
    std::function<bool()> compositor;
    EscapeArbiter *escape = nullptr;

    // The overlay kind for an effect starting now.
    OverlayWindow::Kind kindNow() const { return OverlayWindow::kindFor(compositor && compositor()); }
};
