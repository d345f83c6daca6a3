#pragma once

// The key-action handler (QXKeyPressManager). The voice mode a key action started
// (lastPressType) is shared state, in VoiceKeyState.
class IKeyPressManager {
public:
    virtual ~IKeyPressManager() = default;
    // Performs the user's action for a press of a programmable key. pressKind: 1 single,
    // 2 double, 3 long-press start, 4 long-press end; keyType: 2 the centre button, 3-11
    // the other programmable keys.
    virtual void handlePressKeyEvent(int pressKind, int keyType) = 0;
};
