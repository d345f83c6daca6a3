#pragma once

#include "platform/IAccessibilityBridge.h"

namespace platform::linuxbackend {

// The AT-SPI accessibility bus through libatspi. Connects on first use, for the rest
// of the process. The elements under a point are looked up in the other applications'
// showing windows; this application's own windows (the speech pop-up) are skipped.
class AtspiAccessibilityBridge final : public IAccessibilityBridge {
public:
    bool isAvailable() override;
    std::shared_ptr<IAccessibleElement> elementAtPoint(const QPoint &screenPoint) override;
};

} // namespace platform::linuxbackend
