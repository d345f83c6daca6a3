#pragma once

// The presentation pointer overlay (QXLaserPenManager) as the device layers see it. Its
// voice mode is in VoiceKeyState (vioceMode), which the device keys cycle.
class ILaserPen {
public:
    virtual ~ILaserPen() = default;
    // Acts only while a pointer receiver is open. false moves to the next enabled mode.
    virtual void changeLaserPenStatus(bool status) = 0;
    virtual void showLaserPenEffect() = 0;
    virtual void dismissEffect() = 0;
    virtual bool hasShowEffecf() const = 0;
    virtual void clearDraw() = 0;
};
