#pragma once

#include "platform/ShortcutBinder.h"

#include <QString>

#include <optional>

// The shortcut a command or a mouse key replays, as it is stored in a command's
// target and a key option's "attr0", and sent to the server with the key profile:
// the compact JSON {"keyCode": n, "modifierFlagsString": "⌃⌥⇧⌘", "modifierFlags": n}
// with the macOS key code and modifier flags. Readers look the keys up by name, so
// their order in the text means nothing.
struct ShortcutAction {
    // The three-field text; only the four modifier bits are named in the symbols.
    static QString toJson(const platform::Shortcut &shortcut);
    // The shortcut of a stored text: "keyCode" and "modifierFlags", each a
    // non-negative JSON integer or its decimal text; without "modifierFlags" (texts of
    // older versions) the flags of "modifierFlagsString". nullopt, with one log line,
    // for anything else.
    static std::optional<platform::Shortcut> parse(const QString &text);

    // The symbols of the known modifier bits in the conventional order "⌃⌥⇧⌘".
    static QString modifierSymbols(quint64 flags);
    // The modifier bits of the symbols, in any order; other characters add nothing.
    static quint64 modifierFlags(const QString &symbols);
};
