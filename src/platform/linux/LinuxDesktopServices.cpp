#include "LinuxDesktopServices.h"

#include "DesktopWorkspace.h"
#include "PulseSystemVolume.h"
#include "QtClipboard.h"
#include "X11GlobalShortcuts.h"
#include "XRecordMouseMonitor.h"
#include "XTestKeyPoster.h"

namespace platform::linuxbackend {

LinuxDesktopServices::LinuxDesktopServices()
    : m_keyPoster(std::make_unique<XTestKeyPoster>()), m_clipboard(std::make_unique<QtClipboard>()),
      m_mouseMonitor(std::make_unique<XRecordMouseMonitor>()), m_volume(std::make_unique<PulseSystemVolume>()),
      m_workspace(std::make_unique<DesktopWorkspace>()), m_shortcuts(std::make_unique<X11GlobalShortcuts>())
{
    PlatformServices s;
    s.keyPoster = m_keyPoster.get();
    s.clipboard = m_clipboard.get();
    s.mouseMonitor = m_mouseMonitor.get();
    s.volume = m_volume.get();
    s.workspace = m_workspace.get();
    s.shortcuts = m_shortcuts.get();
    m_previous = installServices(s);
}

LinuxDesktopServices::~LinuxDesktopServices()
{
    installServices(m_previous);
}

} // namespace platform::linuxbackend
