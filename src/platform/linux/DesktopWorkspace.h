#pragma once

#include "platform/IWorkspace.h"

namespace platform::linuxbackend {

// Files and web addresses through the desktop's default handlers (xdg-open and
// friends, by way of QDesktopServices).
class DesktopWorkspace final : public IWorkspace {
public:
    bool openUrl(const QUrl &url) override;
};

} // namespace platform::linuxbackend
