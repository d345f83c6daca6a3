#include "XTestKeyPoster.h"

#include "PZLog.h"
#include "X11Session.h"
#include "platform/KeyCodeTable.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <vector>

namespace platform::linuxbackend {

XTestKeyPoster::XTestKeyPoster() = default;

// The connection is opened on first use: most sessions never post a key, and an idle
// connection costs the process about 120 KiB. The caller holds m_mutex.
Display *XTestKeyPoster::display() const
{
    if (m_probed)
        return m_display;
    m_probed = true;
    if (!x11Reachable("key synthesis"))
        return nullptr;
    m_display = XOpenDisplay(nullptr);
    if (!m_display) {
        qxLogOnce("x11:key synthesis", "key synthesis is not available: the X display cannot be opened");
        return nullptr;
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &eventBase, &errorBase, &major, &minor)) {
        qxLogOnce("x11:key synthesis", "key synthesis is not available: the X server has no XTest extension");
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
    return m_display;
}

bool XTestKeyPoster::isAvailable() const
{
    std::lock_guard lock(m_mutex);
    return display() != nullptr;
}

XTestKeyPoster::~XTestKeyPoster()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool XTestKeyPoster::postKeyStroke(int macKeyCode, quint64 macFlags)
{
    std::lock_guard lock(m_mutex);
    if (!display()) {
        qxLogOnce("x11:key synthesis", "key synthesis is not available; key not posted");
        return false;
    }
    const auto keysym = keys::keysymForMacKeyCode(macKeyCode);
    if (!keysym) {
        qxWarning("keys") << "no key for macOS key code" << macKeyCode << "- nothing posted";
        return false;
    }

    const KeyCode key = XKeysymToKeycode(m_display, *keysym);
    if (key == 0) {
        qxWarning("keys") << "the keyboard map has no key for keysym" << Qt::hex << *keysym << "- nothing posted";
        return false;
    }
    std::vector<KeyCode> modifiers;
    for (quint32 sym : keys::modifierKeysymsForFlags(macFlags)) {
        const KeyCode mod = XKeysymToKeycode(m_display, sym);
        if (mod == 0) {
            qxWarning("keys") << "the keyboard map has no modifier key" << Qt::hex << sym << "- nothing posted";
            return false;
        }
        modifiers.push_back(mod);
    }

    for (KeyCode mod : modifiers)
        XTestFakeKeyEvent(m_display, mod, True, CurrentTime);
    XTestFakeKeyEvent(m_display, key, True, CurrentTime);
    XTestFakeKeyEvent(m_display, key, False, CurrentTime);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        XTestFakeKeyEvent(m_display, *it, False, CurrentTime);
    XSync(m_display, False);
    return true;
}

} // namespace platform::linuxbackend
