#pragma once

// The voice-key dispatcher (QXAudioMonitorService) as the device layers see it: the
// events they send up. The flags both sides share (hadStart, isTranslate, pressType,
// isResetKey) are in VoiceKeyState.
// Press-type codes: 33/35/37 key down for typing, search and translation, 34/36/38 the
// matching key up, 30/31 mode tips, 50 a key command, 51-70, 176-187 and 224-227 the
// programmable keys (single, double, long-press start, long-press end per key).
class IVoiceKeyDispatcher {
public:
    virtual ~IVoiceKeyDispatcher() = default;
    // Ignored while no device is connected; 0 and unknown codes do nothing.
    virtual void hidCallbackType(int type) = 0;
    // Ends a running voice input without a result (or only hides the pop-up).
    virtual void cancelAsr() = 0;
    // Closes the HID device (the dispatcher owns the "end monitoring" action).
    virtual void endIMouseMonitor() = 0;
};

// Press-type codes shared by the device layers and the dispatcher.
namespace presstype {
inline constexpr int kNone = 0;
inline constexpr int kModeTipTyping = 30;
inline constexpr int kModeTipTranslate = 31;
inline constexpr int kTypingDown = 33;
inline constexpr int kTypingUp = 34;
inline constexpr int kSearchDown = 35;
inline constexpr int kSearchUp = 36;
inline constexpr int kTranslateDown = 37;
inline constexpr int kTranslateUp = 38;
inline constexpr int kKeyCommand = 50;

// Whether the code is one of the programmable-key codes (runs of four).
constexpr bool isProgrammableKey(int code)
{
    return (code >= 51 && code <= 70) || (code >= 176 && code <= 187) || (code >= 224 && code <= 227);
}
// 0 single press, 1 double press, 2 long-press start, 3 long-press end; -1 not a key code.
constexpr int programmablePressKind(int code)
{
    if (code >= 51 && code <= 70)
        return (code - 51) % 4;
    if (code >= 176 && code <= 187)
        return (code - 176) % 4;
    if (code >= 224 && code <= 227)
        return code - 224;
    return -1;
}
} // namespace presstype
