#include "X11GlobalShortcuts.h"

#include "PZLog.h"
#include "X11Session.h"
#include "platform/KeyCodeTable.h"

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>

namespace platform::linuxbackend {

namespace {

constexpr quint16 kModifierBits = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1
                                  | XCB_MOD_MASK_2 | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;
constexpr quint8 kBadAccess = 10;

// The usual places, for a server whose modifier map lacks the key.
quint16 fallbackMask(quint32 keysym)
{
    switch (keysym) {
    case XK_Shift_L:
        return XCB_MOD_MASK_SHIFT;
    case XK_Control_L:
        return XCB_MOD_MASK_CONTROL;
    case XK_Alt_L:
        return XCB_MOD_MASK_1;
    case XK_Num_Lock:
        return XCB_MOD_MASK_2;
    default:
        return 0;
    }
}

// The chord as a Linux user writes it ("Alt+S", "Control+Shift+F1"); the stored macOS
// code where the table has no key for it.
QString describe(int macKeyCode, quint64 macFlags)
{
    QStringList parts;
    for (quint32 sym : keys::modifierKeysymsForFlags(macFlags)) {
        QString name = QString::fromLatin1(XKeysymToString(sym));
        if (name.endsWith(QLatin1String("_L")) || name.endsWith(QLatin1String("_R")))
            name.chop(2);
        parts << name;
    }
    const auto keysym = keys::keysymForMacKeyCode(macKeyCode);
    const char *name = keysym ? XKeysymToString(*keysym) : nullptr;
    QString key = name ? QString::fromLatin1(name) : QStringLiteral("macOS key %1").arg(macKeyCode);
    if (key.size() == 1)
        key = key.toUpper();
    parts << key;
    return parts.join(QLatin1Char('+'));
}

} // namespace

X11GlobalShortcuts::X11GlobalShortcuts()
{
    if (!x11Reachable("global shortcuts"))
        return;
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        qxLogOnce("x11:global shortcuts", "global shortcuts are not available: the application does not run on X11");
        return;
    }
    m_connection = x11->connection();
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    m_symbols = xcb_key_symbols_alloc(m_connection);
    m_lockMask = lockVariantsMask();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11GlobalShortcuts::~X11GlobalShortcuts()
{
    if (!m_connection)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    while (!m_grabs.empty()) {
        const Grab g = std::move(m_grabs.begin()->second);
        m_grabs.erase(m_grabs.begin());
        ungrab(g);
    }
    xcb_flush(m_connection);
    xcb_key_symbols_free(m_symbols);
}

std::vector<quint8> X11GlobalShortcuts::keycodesFor(quint32 keysym) const
{
    std::vector<quint8> out;
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(m_symbols, keysym);
    for (xcb_keycode_t *c = codes; c && *c != XCB_NO_SYMBOL; ++c)
        out.push_back(*c);
    free(codes);
    return out;
}

quint16 X11GlobalShortcuts::modifierMaskFor(quint32 keysym) const
{
    const std::vector<quint8> codes = keycodesFor(keysym);
    xcb_get_modifier_mapping_reply_t *reply =
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
    quint16 mask = 0;
    if (reply) {
        const xcb_keycode_t *map = xcb_get_modifier_mapping_keycodes(reply);
        const int perModifier = reply->keycodes_per_modifier;
        for (int mod = 0; mod < 8 && !mask; ++mod)
            for (int i = 0; i < perModifier && !mask; ++i)
                for (quint8 c : codes)
                    if (c != 0 && map[mod * perModifier + i] == c)
                        mask = quint16(1u << mod);
        free(reply);
    }
    return mask ? mask : fallbackMask(keysym);
}

quint16 X11GlobalShortcuts::lockVariantsMask() const
{
    return XCB_MOD_MASK_LOCK | modifierMaskFor(XK_Num_Lock);
}

IGlobalShortcuts::Token X11GlobalShortcuts::grab(int macKeyCode, quint64 macFlags, Action action)
{
    if (!m_connection) {
        qxLogOnce("x11:global shortcuts", "global shortcuts are not available; nothing is grabbed");
        return kNoToken;
    }
    const auto keysym = keys::keysymForMacKeyCode(macKeyCode);
    if (!keysym) {
        qxWarning("shortcut") << "no key for" << describe(macKeyCode, macFlags) << "- the shortcut is not grabbed";
        return kNoToken;
    }
    Grab g;
    g.keycodes = keycodesFor(*keysym);
    if (g.keycodes.empty()) {
        qxWarning("shortcut") << "the keyboard map has no key for" << describe(macKeyCode, macFlags)
                              << "- the shortcut is not grabbed";
        return kNoToken;
    }
    for (quint32 sym : keys::modifierKeysymsForFlags(macFlags))
        g.modifiers |= modifierMaskFor(sym);
    g.action = std::move(action);

    m_lockMask = lockVariantsMask();
    const quint16 locks = m_lockMask;
    const quint16 variants[] = {0, XCB_MOD_MASK_LOCK, quint16(locks & ~XCB_MOD_MASK_LOCK), locks};
    bool taken = false;
    for (quint8 code : g.keycodes) {
        for (quint16 extra : variants) {
            const xcb_void_cookie_t cookie = xcb_grab_key_checked(m_connection, 0, m_root, quint16(g.modifiers | extra),
                                                                  code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
                if (error->error_code == kBadAccess)
                    taken = true;
                else
                    qxWarning("shortcut") << "grabbing" << describe(macKeyCode, macFlags) << "failed with X error"
                                          << int(error->error_code);
                free(error);
            }
        }
    }
    if (taken)
        qxWarning("shortcut") << describe(macKeyCode, macFlags)
                              << "is held by another application; the shortcut will not fire while it is";
    const Token token = m_next++;
    m_grabs.emplace(token, std::move(g));
    return token;
}

void X11GlobalShortcuts::ungrab(const Grab &g)
{
    const quint16 locks = m_lockMask;
    const quint16 variants[] = {0, XCB_MOD_MASK_LOCK, quint16(locks & ~XCB_MOD_MASK_LOCK), locks};
    for (quint8 code : g.keycodes) {
        // Called with g already out of the map: another grab of ours on the same chord keeps it.
        bool shared = false;
        for (const auto &[token, other] : m_grabs)
            if (other.modifiers == g.modifiers
                && std::find(other.keycodes.begin(), other.keycodes.end(), code) != other.keycodes.end())
                shared = true;
        if (shared)
            continue;
        for (quint16 extra : variants)
            xcb_ungrab_key(m_connection, code, m_root, quint16(g.modifiers | extra));
    }
}

void X11GlobalShortcuts::release(Token token)
{
    auto it = m_grabs.find(token);
    if (it == m_grabs.end())
        return;
    const Grab g = std::move(it->second);
    m_grabs.erase(it);
    ungrab(g);
    xcb_flush(m_connection);
}

bool X11GlobalShortcuts::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || !message || m_grabs.empty())
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
    if (key->root != m_root || key->event != m_root)
        return false;

    const quint16 modifiers = quint16(key->state & kModifierBits & ~m_lockMask);
    std::vector<Action> actions;
    for (const auto &[token, g] : m_grabs)
        if (g.modifiers == modifiers
            && std::find(g.keycodes.begin(), g.keycodes.end(), key->detail) != g.keycodes.end())
            actions.push_back(g.action);
    if (actions.empty())
        return false;

    if (type == XCB_KEY_RELEASE) {
        m_held.erase(key->detail);
        m_lastRelease[key->detail] = key->time;
        return true;
    }
    // A held key repeats: either presses without releases in between (detectable
    // auto-repeat, which Qt turns on) or release/press pairs with the same time.
    const auto last = m_lastRelease.find(key->detail);
    const bool repeat = m_held.count(key->detail) || (last != m_lastRelease.end() && last->second == key->time);
    m_held.insert(key->detail);
    if (repeat)
        return true;
    for (const Action &action : actions)
        if (action)
            action();
    return true;
}

} // namespace platform::linuxbackend
