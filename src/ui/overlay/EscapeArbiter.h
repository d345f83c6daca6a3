#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace platform {
class ShortcutBinder;
}

// The one owner of the escape shortcut ("EscShortcutKey") at a time. The screen
// capture and the pen drawing both end on it; binding the key straight through the
// binder would let the later owner replace the earlier one and either owner's end
// release it for both. Here owners stack: the key goes to the most recent owner still
// holding it, and stays grabbed while any owner remains. Main thread.
class EscapeArbiter {
public:
    using Token = quint64;
    static constexpr Token kNoToken = 0;
    static constexpr const char *kEscShortcutKey = "EscShortcutKey";

    // Registers the key's default, Escape with no modifiers (kept, never stored).
    explicit EscapeArbiter(platform::ShortcutBinder &binder);
    ~EscapeArbiter(); // releases the key
    EscapeArbiter(const EscapeArbiter &) = delete;
    EscapeArbiter &operator=(const EscapeArbiter &) = delete;

    // Makes `action` the key's current owner; the token gives it back.
    Token acquire(std::function<void()> action);
    // Unknown and already released tokens are ignored.
    void release(Token token);
    bool isHeld(Token token) const;
    bool isBound() const { return !m_owners.empty(); }
    // What the key does: the newest owner's action (a focused overlay's own Escape
    // press comes here too).
    void escape();

private:
    struct Owner {
        Token token;
        std::function<void()> action;
    };
    platform::ShortcutBinder &m_binder;
    std::vector<Owner> m_owners;
    Token m_next = 1;
};
