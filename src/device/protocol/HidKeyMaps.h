#pragma once

// What each key event of the HID families becomes, as tables: one row per key code,
// saying which step runs and with which press-type code. HidKeyEventHandler walks them;
// tests check them row by row. Pure data and lookups, no state.

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace proto {

enum class KeyOp : uint8_t {
    None,             // acknowledged (where the family does) and nothing more
    Press,            // hidCallbackType(code)
    PressPending,     // pending press type = code, then hidCallbackType(code)
    OpenPending,      // open the microphone, pending press type = code
    ClosePending,     // close the microphone, pending press type = code
    OpenPendingMode,  // open, pending = translation down when translating, else typing down
    ClosePendingMode, // close, pending = translation up or typing up likewise
    TogglePending,    // close (up) while a voice input runs, else open (down); no hand-over
    OpenPress,        // open, pending = code, hidCallbackType(code)
    ClosePress,       // close, pending = code, hidCallbackType(code)
    OpenPressMode,    // OpenPendingMode, then hidCallbackType with it
    ClosePressMode,   // ClosePendingMode, then hidCallbackType with it
    TogglePressMode,  // TogglePending, then hidCallbackType with it
    ModeToggle,       // typing <-> translation, unless typing or translation input runs
    PointerVoiceKey,  // the pointer's voice key, by its voice mode
    PointerVoiceMode, // the pointer's voice-mode key: next mode
    KeyboardToggle,   // keyboard voice key (code = its key-down), keyAction 0 first
    KeyboardAiToggle, // keyAction 18 and the AI window, then the typing toggle
    KeyboardKeyUp,    // keyboard key-up (code = the up code)
    KeyActionReset,   // keyAction 0 only
    ShowAiWindow,     // keyAction 18 and the AI window
};

struct KeyStep {
    KeyOp op = KeyOp::None;
    int16_t code = 0;
};

// Framed family (plan 2, device type 5), commands 0x31 to 0x49 and the pointer keys.
struct FramedKeyRow {
    uint8_t key;
    KeyStep keySettingOn;
    KeyStep keySettingOff;
};

// Plans 6 and 7: mouse and keyboard (isKeyboard) meanings of one command.
struct DualKeyRow {
    uint8_t key;
    KeyStep mouse;
    KeyStep keyboard;
};

// Plan 3: the key byte of the status record.
struct Plan3KeyRow {
    uint8_t key;
    KeyStep step;
    bool translates;  // follows the translation mode (not on mouse model 55)
    bool skipModel55; // does nothing on mouse model 55
};

// Plan 4: the key prefixes "0c11" + key.
struct Plan4KeyRow {
    uint8_t key;
    int16_t code;
};

// The AI helpers of the keyboards' and mice's AI keys (plans 6 and 7).
enum class AiPress : uint8_t { Single, LongStart, LongEnd };
struct AiHelperKey {
    uint8_t key;
    const char *helperId;
    AiPress press;
    bool keyboardOnly;
};

// Mouse model without a translation mode on plan 3.
inline constexpr uint64_t kPlan3ModelWithoutTranslation = 55;

std::span<const FramedKeyRow> framedKeyTable();
std::span<const DualKeyRow> plan7KeyTable();
std::span<const DualKeyRow> plan6KeyTable();
std::span<const Plan3KeyRow> plan3KeyTable();
std::span<const Plan4KeyRow> plan4KeyTable();
std::span<const AiHelperKey> aiHelperKeyTable();

std::optional<FramedKeyRow> framedKey(int key);
std::optional<DualKeyRow> plan7Key(int key);
std::optional<DualKeyRow> plan6Key(int key);
std::optional<Plan3KeyRow> plan3Key(int key);
std::optional<int> plan4KeyCode(int key);
std::optional<AiHelperKey> aiHelperKey(int key);

const char *keyOpName(KeyOp op);

} // namespace proto
