#pragma once

#include "IGlobalShortcuts.h"

#include <QHash>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class KeyValueStore;

namespace platform {

// A global shortcut as the preference store keeps it: the macOS virtual key code and
// modifier flags, stored as the JSON object {"keyCode": n, "modifierFlags": n}. The
// translation to the X keyboard happens only when the key is grabbed.
struct Shortcut {
    int keyCode = 0;
    quint64 modifierFlags = 0;

    QJsonObject toJson() const;
    // Nothing for anything but an object with a non-negative integer "keyCode" and,
    // when present, a non-negative integer "modifierFlags".
    static std::optional<Shortcut> fromJson(const QJsonObject &json);
    bool operator==(const Shortcut &o) const { return keyCode == o.keyCode && modifierFlags == o.modifierFlags; }
};

// Binds actions to shortcuts named by preference keys ("WordShortcutKey", ...): the
// shortcut in the store, else the registered default, is grabbed system-wide and the
// action runs on every press. Binding a key again replaces its binding. Main thread.
class ShortcutBinder {
public:
    // Without a backend the installed platform service is used at every call.
    explicit ShortcutBinder(KeyValueStore &store, IGlobalShortcuts *shortcuts = nullptr);
    ~ShortcutBinder(); // releases every grab
    ShortcutBinder(const ShortcutBinder &) = delete;
    ShortcutBinder &operator=(const ShortcutBinder &) = delete;

    // The application's binder, which the composition root constructed and installed.
    static ShortcutBinder &sharedBinder();
    static ShortcutBinder *setSharedBinder(ShortcutBinder *binder); // returns the previous one

    // Registered defaults are read when nothing is stored; they are never written.
    void registerDefaults(const std::vector<std::pair<QString, Shortcut>> &defaults);

    // The stored shortcut, else the default; nothing when neither is readable, or
    // when the user cleared the key (see clearShortcut).
    std::optional<Shortcut> shortcutForKey(const QString &defaultsKey) const;
    // Stores a new shortcut (nothing removes the stored one, so the default applies
    // again) and moves an existing binding of the key onto it.
    void setShortcut(const QString &defaultsKey, const std::optional<Shortcut> &shortcut);
    // What a recorder's clear button does: stores the explicit "no shortcut", the
    // empty object {}, which hides the default too, and releases the key's grab.
    void clearShortcut(const QString &defaultsKey);

    // A key without a readable shortcut is remembered as bound but grabs nothing
    // (logged), so a later setShortcut makes it work.
    void bindShortcutWithDefaultsKey(const QString &defaultsKey, IGlobalShortcuts::Action action);
    void breakBindingWithDefaultsKey(const QString &defaultsKey);
    bool isBound(const QString &defaultsKey) const { return m_bindings.contains(defaultsKey); }

    // Which chords a shortcut recorder accepts: with this on, any chord holding Option
    // is allowed even where Option alone would not count as a real modifier.
    void setAllowAnyShortcutWithOptionModifier(bool allow) { m_allowOption = allow; }
    bool allowAnyShortcutWithOptionModifier() const { return m_allowOption; }

private:
    struct Binding {
        IGlobalShortcuts::Action action;
        IGlobalShortcuts::Token token = IGlobalShortcuts::kNoToken;
    };
    IGlobalShortcuts &backend() const;
    void grab(const QString &defaultsKey, Binding &binding);

    KeyValueStore &m_store;
    IGlobalShortcuts *m_shortcuts;
    QHash<QString, Binding> m_bindings;
    bool m_allowOption = false;
};

} // namespace platform
