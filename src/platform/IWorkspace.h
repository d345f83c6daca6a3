#pragma once

class QUrl;

namespace platform {

// Hands files and web addresses to the desktop's default applications.
class IWorkspace {
public:
    virtual ~IWorkspace() = default;
    // A file URL opens the file (or folder) in its default application, a web
    // address in the default browser. False when the desktop refused.
    virtual bool openUrl(const QUrl &url) = 0;
};

} // namespace platform
