#pragma once

#include "platform/PlatformServices.h"

#include <memory>

namespace platform::linuxbackend {

class XTestKeyPoster;
class QtClipboard;
class XRecordMouseMonitor;
class PulseSystemVolume;
class DesktopWorkspace;
class X11GlobalShortcuts;

// Owns the Linux backends of the desktop services and installs them for the
// application's lifetime (created by the composition root after the QApplication).
// In a session without X11 the X backends stay in place and answer "not available".
class LinuxDesktopServices {
public:
    LinuxDesktopServices();
    ~LinuxDesktopServices(); // puts back whatever was installed before

    LinuxDesktopServices(const LinuxDesktopServices &) = delete;
    LinuxDesktopServices &operator=(const LinuxDesktopServices &) = delete;

private:
    std::unique_ptr<XTestKeyPoster> m_keyPoster;
    std::unique_ptr<QtClipboard> m_clipboard;
    std::unique_ptr<XRecordMouseMonitor> m_mouseMonitor;
    std::unique_ptr<PulseSystemVolume> m_volume;
    std::unique_ptr<DesktopWorkspace> m_workspace;
    std::unique_ptr<X11GlobalShortcuts> m_shortcuts;
    PlatformServices m_previous;
};

} // namespace platform::linuxbackend
