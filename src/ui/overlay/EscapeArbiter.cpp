#include "EscapeArbiter.h"

#include "platform/ShortcutBinder.h"

#include <algorithm>

namespace {
constexpr int kEscapeKeyCode = 53; // the stored key code of Escape
}

EscapeArbiter::EscapeArbiter(platform::ShortcutBinder &binder) : m_binder(binder)
{
    m_binder.registerDefaults({{QString::fromLatin1(kEscShortcutKey), platform::Shortcut{kEscapeKeyCode, 0}}});
}

EscapeArbiter::~EscapeArbiter()
{
    if (!m_owners.empty())
        m_binder.breakBindingWithDefaultsKey(QString::fromLatin1(kEscShortcutKey));
}

EscapeArbiter::Token EscapeArbiter::acquire(std::function<void()> action)
{
    if (m_owners.empty())
        m_binder.bindShortcutWithDefaultsKey(QString::fromLatin1(kEscShortcutKey), [this] { escape(); });
    m_owners.push_back({m_next, std::move(action)});
    return m_next++;
}

void EscapeArbiter::release(Token token)
{
    const auto it =
        std::find_if(m_owners.begin(), m_owners.end(), [token](const Owner &o) { return o.token == token; });
    if (it == m_owners.end())
        return;
    m_owners.erase(it);
    if (m_owners.empty())
        m_binder.breakBindingWithDefaultsKey(QString::fromLatin1(kEscShortcutKey));
}

bool EscapeArbiter::isHeld(Token token) const
{
    return std::any_of(m_owners.begin(), m_owners.end(), [token](const Owner &o) { return o.token == token; });
}

void EscapeArbiter::escape()
{
    if (m_owners.empty())
        return;
    // A copy: the action usually releases its own token.
    const std::function<void()> action = m_owners.back().action;
    if (action)
        action();
}
