#pragma once

#include <QImage>
#include <QRect>

class QScreen;

namespace platform {

// Pictures of what the screens show, every window included (ours too). Main thread.
class IScreenGrabber {
public:
    virtual ~IScreenGrabber() = default;

    // False where no picture can be taken at all (a native Wayland session, no
    // display): grab() then always gives a null image.
    virtual bool isAvailable() const = 0;
    // The part `area` (in the screen's own points, top-left origin; empty: the whole
    // screen) of what the screen shows, in device pixels with the screen's device pixel
    // ratio set. An area reaching past the screen is cut to it. Null when nothing could
    // be taken.
    virtual QImage grab(const QScreen *screen, const QRect &area = {}) = 0;
};

} // namespace platform
