#pragma once

// The key-action handler (QXKeyPressManager): which keyboard voice key has its voice
// input open (0 none, 33, 35 or 37).
class IKeyPressManager {
public:
    virtual ~IKeyPressManager() = default;
    virtual int lastPressType() const = 0;
    virtual void setLastPressType(int type) = 0;
};
