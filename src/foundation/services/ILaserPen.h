#pragma once

// The presentation pointer overlay (QXLaserPenManager).
class ILaserPen {
public:
    virtual ~ILaserPen() = default;
    // Acts only while a pointer receiver is open. false moves to the next enabled mode.
    virtual void changeLaserPenStatus(bool status) = 0;
    virtual void showLaserPenEffect() = 0;
    virtual void dismissEffect() = 0;
    virtual bool hasShowEffecf() const = 0;
    virtual void clearDraw() = 0;
    // 1 typing, 2 translation, 3 screen projection.
    virtual int vioceMode() const = 0;
    virtual void setVioceMode(int mode) = 0;
};
