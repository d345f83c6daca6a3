#pragma once

// The key-action handler (QXKeyPressManager).
class IKeyPressManager {
public:
    virtual ~IKeyPressManager() = default;
    // The voice mode a key action started (0 none, 33 typing, 35 search, 37 translation),
    // so the matching press stops the same mode.
    virtual int lastPressType() const = 0;
    virtual void setLastPressType(int type) = 0;
    // Performs the user's action for a press of a programmable key. pressKind: 1 single,
    // 2 double, 3 long-press start, 4 long-press end; keyType: 2 the centre button, 3-11
    // the other programmable keys.
    virtual void handlePressKeyEvent(int pressKind, int keyType) = 0;
};
