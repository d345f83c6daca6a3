#pragma once

#include "IAccessibleElement.h"

#include <QPoint>

#include <memory>

namespace platform {

// The desktop's accessibility service: the elements of other applications' windows.
// Main thread only; calls block until the application asked answers (bounded by the
// bus's time-out).
class IAccessibilityBridge {
public:
    virtual ~IAccessibilityBridge() = default;

    // False (logged once) where the session has no accessibility service.
    virtual bool isAvailable() = 0;
    // The deepest element of another application under a point in screen coordinates
    // (top-left origin); nullptr when there is none.
    virtual std::shared_ptr<IAccessibleElement> elementAtPoint(const QPoint &screenPoint) = 0;
};

} // namespace platform
