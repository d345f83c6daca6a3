#include "DesktopWorkspace.h"

#include "PZLog.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform::linuxbackend {

bool DesktopWorkspace::openUrl(const QUrl &url)
{
    if (!url.isValid()) {
        qxWarning("workspace") << "not opened, invalid address:" << url.toString();
        return false;
    }
    const bool ok = QDesktopServices::openUrl(url);
    if (!ok)
        qxWarning("workspace") << "the desktop did not open" << url.toDisplayString();
    return ok;
}

} // namespace platform::linuxbackend
