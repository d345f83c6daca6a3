#pragma once

#include "platform/IGlobalShortcuts.h"

#include <QAbstractNativeEventFilter>

#include <map>
#include <set>
#include <vector>

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace platform::linuxbackend {

// Global shortcuts through passive key grabs on the root window, made on the
// application's own X connection so the key events arrive through Qt's event reader,
// where a native event filter picks them up. Every chord is grabbed four times (with
// and without CapsLock and NumLock), since X compares the lock modifiers too.
// Main thread only; needs the xcb platform plugin.
class X11GlobalShortcuts final : public IGlobalShortcuts, public QAbstractNativeEventFilter {
public:
    X11GlobalShortcuts();
    ~X11GlobalShortcuts() override;
    X11GlobalShortcuts(const X11GlobalShortcuts &) = delete;
    X11GlobalShortcuts &operator=(const X11GlobalShortcuts &) = delete;

    bool isAvailable() const override { return m_connection != nullptr; }
    Token grab(int macKeyCode, quint64 macFlags, Action action) override;
    void release(Token token) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Grab {
        std::vector<quint8> keycodes;
        quint16 modifiers = 0;
        Action action;
    };
    std::vector<quint8> keycodesFor(quint32 keysym) const;
    quint16 modifierMaskFor(quint32 keysym) const;
    quint16 lockVariantsMask() const;
    void ungrab(const Grab &g);

    xcb_connection_t *m_connection = nullptr;
    quint32 m_root = 0;
    _XCBKeySymbols *m_symbols = nullptr;
    quint16 m_lockMask = 0; // CapsLock and NumLock, as of the last grab
    std::map<Token, Grab> m_grabs;
    Token m_next = 1;
    // Keys pressed and not yet released (held keys repeat their press events).
    std::set<quint8> m_held;
    std::map<quint8, quint32> m_lastRelease; // key -> time of its last release
};

} // namespace platform::linuxbackend
