#include "XTestKeyPoster.h"

#include "PZLog.h"
#include "X11Session.h"
#include "platform/KeyCodeTable.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <vector>

namespace platform::linuxbackend {

XTestKeyPoster::XTestKeyPoster()
{
    if (!x11Reachable("key synthesis"))
        return;
    m_display = XOpenDisplay(nullptr);
    if (!m_display) {
        qxLogOnce("x11:key synthesis", "key synthesis is not available: the X display cannot be opened");
        return;
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &eventBase, &errorBase, &major, &minor)) {
        qxLogOnce("x11:key synthesis", "key synthesis is not available: the X server has no XTest extension");
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
}

XTestKeyPoster::~XTestKeyPoster()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool XTestKeyPoster::postKeyStroke(int macKeyCode, quint64 macFlags)
{
    if (!m_display) {
        qxLogOnce("x11:key synthesis", "key synthesis is not available; key not posted");
        return false;
    }
    const auto keysym = keys::keysymForMacKeyCode(macKeyCode);
    if (!keysym) {
        qxWarning("keys") << "no key for macOS key code" << macKeyCode << "- nothing posted";
        return false;
    }

    std::lock_guard lock(m_mutex);
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
