#pragma once

#include "platform/IGlobalShortcuts.h"

#include <map>
#include <optional>

// Global shortcuts that only record their grabs; press() runs the action bound to a
// chord the way a key press would.
class FakeGlobalShortcuts : public platform::IGlobalShortcuts {
public:
    struct Grab {
        int keyCode;
        quint64 flags;
        Action action;
    };
    std::map<Token, Grab> grabs;
    bool available = true;
    int releases = 0;

    bool isAvailable() const override { return available; }
    Token grab(int macKeyCode, quint64 macFlags, Action action) override
    {
        if (!available)
            return kNoToken;
        grabs.emplace(m_next, Grab{macKeyCode, macFlags, std::move(action)});
        return m_next++;
    }
    void release(Token token) override { releases += int(grabs.erase(token)); }

    bool isGrabbed(int macKeyCode, quint64 macFlags = 0) const { return find(macKeyCode, macFlags).has_value(); }
    // Runs the action of the chord; false when nothing holds it.
    bool press(int macKeyCode, quint64 macFlags = 0)
    {
        const auto token = find(macKeyCode, macFlags);
        if (!token)
            return false;
        const Action action = grabs.at(*token).action;
        action();
        return true;
    }

private:
    std::optional<Token> find(int code, quint64 flags) const
    {
        for (const auto &[token, g] : grabs)
            if (g.keyCode == code && g.flags == flags)
                return token;
        return std::nullopt;
    }
    Token m_next = 1;
};
