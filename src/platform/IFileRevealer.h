#pragma once

#include <QString>

namespace platform {

// Shows a file selected in the desktop's file manager.
class IFileRevealer {
public:
    virtual ~IFileRevealer() = default;
    // Asynchronous; where no file manager can select it, the file's folder opens.
    virtual void reveal(const QString &path) = 0;
};

} // namespace platform
