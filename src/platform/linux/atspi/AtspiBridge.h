#pragma once

#include "platform/IAccessibilityBridge.h"
#include "platform/linux/ModuleHost.h"

namespace platform::linuxbackend {

// The AT-SPI accessibility bus through libatspi. Connects on first use, for the rest
// of the process. The elements under a point are looked up in the other applications'
// showing windows; this application's own windows (the speech pop-up) are skipped.
class AtspiBridge final : public IAccessibilityBridge {
public:
    explicit AtspiBridge(const ModuleHost &host);
    bool isAvailable() override;
    std::shared_ptr<IAccessibleElement> elementAtPoint(const QPoint &screenPoint) override;
};

// The program's once-only log, for the bridge and its elements.
void atspiLogOnce(const QString &key, const QString &message);

} // namespace platform::linuxbackend
