#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// Stored shortcuts and key profiles keep macOS virtual key codes and modifier flags
// (that is what the servers and older settings hold). This table is the one place
// where they become X keysyms (the key poster and the global shortcut helper) and
// where a key typed into the application becomes one (the shortcut recorder).
namespace platform::keys {

// macOS event modifier flags as stored.
constexpr quint64 kFlagShift = 0x20000;
constexpr quint64 kFlagControl = 0x40000;
constexpr quint64 kFlagAlternate = 0x80000;
constexpr quint64 kFlagCommand = 0x100000;
constexpr quint64 kModifierFlagsMask = kFlagShift | kFlagControl | kFlagAlternate | kFlagCommand;

// macOS virtual key codes the application posts itself.
constexpr int kMacKeyC = 8;
constexpr int kMacKeyV = 9;
// The default hot keys of the voice-assistant receivers.
constexpr int kMacKeyF1 = 122;
constexpr int kMacKeyF2 = 120;
constexpr int kMacKeyF3 = 99;

// Marks the keypad rows of the Qt key column.
constexpr int kKeypad = Qt::KeypadModifier;

struct MacKeyMapping {
    int macKeyCode;
    quint32 keysym; // X keysym
    const char *name;
    int qtKey; // the Qt::Key typed on that key, with kKeypad for the keypad
};

// The whole table, in macOS key-code order.
const std::vector<MacKeyMapping> &macKeyTable();

// The X keysym of a macOS virtual key code; nothing for a code the table lacks.
std::optional<quint32> keysymForMacKeyCode(int macKeyCode);

// The modifier keys to hold for macOS flags, in the order they go down. Command
// becomes Control, the Linux meaning of the copy/paste/undo chords; with both set
// Control is held once. Bits other than the four modifiers are ignored (0x100 is
// "not coalesced", not a key).
std::vector<quint32> modifierKeysymsForFlags(quint64 macFlags);

// The macOS code of the key Qt reports (QKeyEvent::key(), with kKeypad when the
// event carries Qt::KeypadModifier); nothing for a key without one (media keys,
// keys of other layouts). The US shifted symbols ("!", "{", ...) and Backtab name
// the key they are typed on; a keypad key the table lacks is taken as its main key.
std::optional<int> macKeyCodeForQtKey(int qtKey, bool keypad = false);

// The macOS flags a Linux chord is recorded with: Ctrl as Command (Command replays
// as Control here and as Command on a Mac), Alt as Option, Shift as Shift. Nothing
// when Super is held, which has no place in the stored form. The keypad bit is
// ignored.
std::optional<quint64> macFlagsForQtModifiers(Qt::KeyboardModifiers modifiers);

// The modifier symbols of macOS flags in the order a Mac writes them, "⌃⌥⇧⌘".
QString modifierSymbolsForFlags(quint64 macFlags);

} // namespace platform::keys
