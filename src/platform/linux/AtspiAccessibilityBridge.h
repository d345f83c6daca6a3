#pragma once

#include "platform/IAccessibilityBridge.h"

namespace platform::linuxbackend {

// The AT-SPI accessibility bus through libatspi, which lives in a module of its own
// (libqx_atspi.so, found where libqx_multimedia.so is) loaded at the first call, with
// libatspi and GObject under it: most runs never insert text into another application.
// Without the module the service is not available, logged once.
class AtspiAccessibilityBridge final : public IAccessibilityBridge {
public:
    AtspiAccessibilityBridge();
    ~AtspiAccessibilityBridge() override;
    bool isAvailable() override;
    std::shared_ptr<IAccessibleElement> elementAtPoint(const QPoint &screenPoint) override;

private:
    IAccessibilityBridge *real();
    std::unique_ptr<IAccessibilityBridge> m_real;
};

} // namespace platform::linuxbackend
