#include "HidKeyMaps.h"

#include <algorithm>
#include <array>

namespace proto {

namespace {

// clang-format off
constexpr KeyStep none() { return {KeyOp::None, 0}; }
constexpr KeyStep press(int code) { return {KeyOp::Press, int16_t(code)}; }
constexpr KeyStep step(KeyOp op, int code = 0) { return {op, int16_t(code)}; }
// clang-format on

// With key setting on every key is a programmable key of the user's; with it off the
// device's own voice keys drive the microphone, and the press type waits for the
// device's voice start or end event.
// clang-format off
constexpr std::array<FramedKeyRow, 20> kFramed{{
    {0x31, press(57),                       step(KeyOp::OpenPending, 35)},
    {0x32, press(58),                       step(KeyOp::ClosePending, 36)},
    {0x33, step(KeyOp::PressPending, 51),   step(KeyOp::TogglePending)},
    {0x35, press(55),                       none()},
    {0x37, press(53),                       step(KeyOp::OpenPendingMode)},
    {0x38, press(54),                       step(KeyOp::ClosePendingMode)},
    {0x40, press(52),                       step(KeyOp::ModeToggle)},
    {0x41, press(56),                       none()},
    {0x42, press(59),                       step(KeyOp::TogglePending)},
    {0x43, press(60),                       step(KeyOp::ModeToggle)},
    {0x44, press(61),                       step(KeyOp::OpenPendingMode)},
    {0x45, press(62),                       step(KeyOp::ClosePendingMode)},
    {0x46, press(63),                       none()},
    {0x47, press(64),                       none()},
    {0x48, press(65),                       none()},
    {0x49, press(66),                       none()},
    // The presentation pointer's voice keys, whatever the key setting. The search key
    // hands over the search key-down (35), matching its pending press type and its
    // key-up (36); 0x35 read as a number would be another key's code.
    {0x9a, step(KeyOp::PointerVoiceKey),    step(KeyOp::PointerVoiceKey)},
    {0x9b, step(KeyOp::PointerVoiceMode),   step(KeyOp::PointerVoiceMode)},
    {0x9c, step(KeyOp::OpenPress, 35),      step(KeyOp::OpenPress, 35)},
    {0x9d, step(KeyOp::ClosePress, 36),     step(KeyOp::ClosePress, 36)},
}};

constexpr std::array<DualKeyRow, 29> kPlan7{{
    {0x31, press(57), press(57)}, {0x32, press(58), press(58)}, {0x33, press(51), press(51)},
    {0x35, press(55), press(55)}, {0x37, press(53), press(53)}, {0x38, press(54), press(54)},
    {0x40, press(52), press(52)}, {0x41, press(56), press(56)},
    {0x42, press(59), press(59)}, {0x43, press(60), press(60)}, {0x44, press(61), press(61)},
    {0x45, press(62), press(62)}, {0x46, press(63), press(63)}, {0x47, press(64), press(64)},
    {0x48, press(65), press(65)}, {0x49, press(66), press(66)},
    {0x50, press(67), press(67)}, {0x51, press(68), press(68)}, {0x52, press(69), press(69)},
    {0x53, press(70), press(70)},
    // keyboards only
    {0xb0, none(), press(51)}, {0xb2, none(), press(53)}, {0xb3, none(), press(54)},
    {0xb4, none(), press(59)}, {0xb6, none(), press(61)}, {0xb7, none(), press(62)},
    {0xb8, none(), press(55)}, {0xba, none(), press(57)}, {0xbb, none(), press(58)},
}};

// Keyboards drive their voice keys themselves: a key toggles its voice input, and a
// separate key-up ends it.
constexpr std::array<DualKeyRow, 32> kPlan6{{
    {0x31, press(57), step(KeyOp::KeyboardToggle, 35)},
    {0x32, press(58), step(KeyOp::KeyboardKeyUp, 36)},
    {0x33, press(51), step(KeyOp::KeyboardToggle, 33)},
    {0x35, press(55), step(KeyOp::KeyActionReset)},
    {0x37, press(53), step(KeyOp::KeyboardToggle, 33)},
    {0x38, press(54), step(KeyOp::KeyboardKeyUp, 34)},
    {0x40, press(52), none()},
    {0x41, press(56), none()},
    {0x42, press(59), step(KeyOp::KeyboardToggle, 37)},
    {0x43, press(60), none()},
    {0x44, press(61), step(KeyOp::KeyboardToggle, 37)},
    {0x45, press(62), step(KeyOp::KeyboardKeyUp, 38)},
    {0x46, press(63), none()},
    {0x47, press(64), none()},
    {0x48, press(65), none()},
    {0x49, press(66), none()},
    {0x50, press(67), step(KeyOp::ShowAiWindow)},
    {0x51, press(68), none()},
    {0x52, press(69), step(KeyOp::KeyboardAiToggle, 33)},
    {0x53, press(70), step(KeyOp::KeyboardAiToggle, 33)},
    {0xb0, press(176), press(51)},
    {0xb2, press(178), press(53)},
    {0xb3, press(179), press(54)},
    {0xb4, press(180), press(59)},
    {0xb6, press(182), press(61)},
    {0xb7, press(183), press(62)},
    {0xb8, none(), press(55)},
    {0xba, none(), press(57)},
    {0xbb, none(), press(58)},
    {0xf0, none(), press(63)},
    {0xf2, none(), press(65)},
    {0xf3, none(), press(66)},
}};

// The key column is hexadecimal, as the device sends it.
constexpr std::array<Plan3KeyRow, 7> kPlan3{{
    {0x50, step(KeyOp::TogglePressMode),   true,  false},
    {0x51, step(KeyOp::ModeToggle),        false, true},
    {0x52, step(KeyOp::OpenPressMode),     true,  false},
    {0x53, step(KeyOp::ClosePressMode),    true,  false},
    {0x58, press(50),                      false, true},
    {0x5a, step(KeyOp::OpenPress, 35),     false, false},
    {0x5b, step(KeyOp::ClosePress, 36),    false, false},
}};

constexpr std::array<Plan4KeyRow, 8> kPlan4{{
    {0x33, 51}, {0x40, 52}, {0x37, 53}, {0x38, 54}, {0x35, 55}, {0x41, 56}, {0x31, 57}, {0x32, 58},
}};

using P = AiPress;
constexpr std::array<AiHelperKey, 34> kAiHelpers{{
    {0x84, "aiImg", P::Single, true},
    {0x86, "aiImg", P::LongStart, false},
    {0x87, "aiImg", P::LongEnd, false},
    {0x88, "fileChange", P::Single, false},
    {0x8b, "fileChange", P::Single, false},
    {0x8c, "xml", P::Single, false},
    {0x8e, "xml", P::LongStart, false},
    {0x8f, "xml", P::LongEnd, false},
    {0x90, "k3v8pz1qw7ma_v1", P::Single, false},
    {0x92, "k3v8pz1qw7ma_v1", P::LongStart, false},
    {0x93, "k3v8pz1qw7ma_v1", P::LongEnd, false},
    {0x94, "template", P::Single, false},
    {0x97, "template", P::Single, false},
    {0x98, "aiReading", P::Single, false},
    {0x9a, "aiReading", P::LongStart, false},
    {0x9b, "aiReading", P::LongEnd, false},
    {0x9c, "table", P::Single, false},
    {0x9e, "table", P::LongStart, false},
    {0x9f, "table", P::LongEnd, false},
    {0xa0, "t9c2xh5ry0db_v1", P::Single, false},
    {0xa2, "t9c2xh5ry0db_v1", P::LongStart, false},
    {0xa3, "t9c2xh5ry0db_v1", P::LongEnd, false},
    {0xa4, "4mq7wn2fjs8k_v1", P::Single, false},
    {0xa6, "4mq7wn2fjs8k_v1", P::LongStart, false},
    {0xa7, "4mq7wn2fjs8k_v1", P::LongEnd, false},
    {0xa8, "writingAssistant", P::Single, false},
    {0xaa, "writingAssistant", P::LongStart, false},
    {0xab, "writingAssistant", P::LongEnd, false},
    {0xac, "ppt", P::Single, false},
    {0xae, "ppt", P::LongStart, false},
    {0xaf, "ppt", P::LongEnd, false},
    {0xc0, "zr6te1by3uop_v1", P::Single, false},
    {0xc2, "zr6te1by3uop_v1", P::LongStart, false},
    {0xc3, "zr6te1by3uop_v1", P::LongEnd, false},
}};
// clang-format on

template <typename Row, std::size_t N> std::optional<Row> find(const std::array<Row, N> &table, int key)
{
    const auto it = std::find_if(table.begin(), table.end(), [key](const Row &r) { return r.key == key; });
    if (it == table.end())
        return std::nullopt;
    return *it;
}

} // namespace

// clang-format off
std::span<const FramedKeyRow> framedKeyTable() { return kFramed; }
std::span<const DualKeyRow> plan7KeyTable() { return kPlan7; }
std::span<const DualKeyRow> plan6KeyTable() { return kPlan6; }
std::span<const Plan3KeyRow> plan3KeyTable() { return kPlan3; }
std::span<const Plan4KeyRow> plan4KeyTable() { return kPlan4; }
std::span<const AiHelperKey> aiHelperKeyTable() { return kAiHelpers; }

std::optional<FramedKeyRow> framedKey(int key) { return find(kFramed, key); }
std::optional<DualKeyRow> plan7Key(int key) { return find(kPlan7, key); }
std::optional<DualKeyRow> plan6Key(int key) { return find(kPlan6, key); }
std::optional<Plan3KeyRow> plan3Key(int key) { return find(kPlan3, key); }
std::optional<AiHelperKey> aiHelperKey(int key) { return find(kAiHelpers, key); }
// clang-format on

std::optional<int> plan4KeyCode(int key)
{
    if (const auto row = find(kPlan4, key))
        return row->code;
    return std::nullopt;
}

const char *keyOpName(KeyOp op)
{
    switch (op) {
    case KeyOp::None:
        return "none";
    case KeyOp::Press:
        return "press";
    case KeyOp::PressPending:
        return "press pending";
    case KeyOp::OpenPending:
        return "open pending";
    case KeyOp::ClosePending:
        return "close pending";
    case KeyOp::OpenPendingMode:
        return "open pending by mode";
    case KeyOp::ClosePendingMode:
        return "close pending by mode";
    case KeyOp::TogglePending:
        return "toggle pending";
    case KeyOp::OpenPress:
        return "open and press";
    case KeyOp::ClosePress:
        return "close and press";
    case KeyOp::OpenPressMode:
        return "open and press by mode";
    case KeyOp::ClosePressMode:
        return "close and press by mode";
    case KeyOp::TogglePressMode:
        return "toggle and press by mode";
    case KeyOp::ModeToggle:
        return "mode toggle";
    case KeyOp::PointerVoiceKey:
        return "pointer voice key";
    case KeyOp::PointerVoiceMode:
        return "pointer voice mode";
    case KeyOp::KeyboardToggle:
        return "keyboard toggle";
    case KeyOp::KeyboardAiToggle:
        return "keyboard AI toggle";
    case KeyOp::KeyboardKeyUp:
        return "keyboard key-up";
    case KeyOp::KeyActionReset:
        return "key action reset";
    case KeyOp::ShowAiWindow:
        return "AI window";
    }
    return "?";
}

} // namespace proto
