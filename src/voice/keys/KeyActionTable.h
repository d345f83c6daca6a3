#pragma once

#include "MouseSettingModel.h"

#include <QtGlobal>

#include <optional>

// What each operation type of the key settings does. The chords are already in their
// Linux meaning: the paste chord's Command becomes Control at the key poster, the
// application switch and history keys hold Alt, and the device types Control or Alt
// (HID modifier 1 or 4) where a Mac would hold Command.
namespace keyaction {

enum class Action {
    Nothing,
    CentreVoice, // voice by the centre button while no action is assigned
    VoiceToggle, // start or stop the voice mode of voiceStart
    VoiceByMode, // typing or translation, by the dispatcher's current mode
    SwitchMode,  // between typing and translation
    Shortcut,    // a recorded shortcut (attr0)
    OpenUrl,     // attr0 in the default browser
    OpenFile,    // attr0 as a file or folder the user picked
    SnipTranslate,
    InsertText,      // paste attr0
    LeaveFullScreen, // the AI window leaves full screen; F11 follows
    Delete,          // one delete, or repeated while held
    Enter,           // the dispatcher's key command
    Chord,
    NextDpi,
    AIWindowVoice, // show the AI window, then the voice toggle
    Copy,          // the selection to the clipboard
    Sleep,
    CopyAndTranslate,
    ShowAIWindow,
};

// A key chord both ways: local key events (macOS key code and flags, which the key
// poster turns into X keys) and the key command the device types in compatible mode.
struct Chord {
    int macKeyCode = -1; // -1: nothing to post locally
    quint64 macFlags = 0;
    int hidModifier = 0;
    int hidUsage = 0; // 0: nothing for the device to type
};

struct Operation {
    int type;
    Action action;
    bool onLongEnd; // also acts on the long end of a long press
    int voiceStart; // the start press type of a voice mode (its stop is one more)
    Chord chord;
};

constexpr int kMaxOperationType = 28;
// Press kinds.
constexpr int kSingle = 1;
constexpr int kDouble = 2;
constexpr int kLongStart = 3;
constexpr int kLongEnd = 4;
constexpr int kCentreKey = 2;

// The row of an operation type; nullptr above 28.
const Operation *operationFor(quint64 type);

// The chord of the repeating delete (a Mac's delete key erases backwards).
Chord deleteChord();
// Control+V (the device types it with the Control modifier too).
Chord pasteChord();
// Keypad Enter locally; the device types Return.
Chord enterChord();
// F11, which the device types after the AI window left full screen (in either mode).
constexpr int kFullScreenKeyModifier = 0;
constexpr int kFullScreenKeyUsage = 68;

// The DPI step after the current one, wrapping to the first; nothing for a device
// without DPI steps.
std::optional<qint64> nextDpiIndex(qint64 current, qsizetype stepCount);

struct Lookup {
    quint64 operationType = 0;
    std::optional<KeySettingSubModel> option; // the chosen option, with its attr0
};

// The user's choice for a press of a key: among the keys of that key type and their
// press kinds equal to the press kind (a long end looks up the long press), the last
// option marked chosen ("first" == "1") wins. Nothing chosen gives operation 0.
Lookup lookupOperation(const QList<MouseSettingModel> &keys, quint64 keyType, int pressKind);

} // namespace keyaction
