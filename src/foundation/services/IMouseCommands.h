#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <functional>

// The commands that the HID and the Bluetooth LE command managers both offer, so the
// command facade can hand any of them to whichever transport the mouse is on; the
// facade offers them itself to the pages. None reports a failure: results come back
// as the device's replies.
class IMouseCommands {
public:
    virtual ~IMouseCommands() = default;

    // device information
    virtual void sendGetMouseInfoData() = 0;
    virtual void sendGetReceiveData() = 0;
    // microphone
    virtual void sendOpenMicData() = 0;
    virtual void sendCloseMicData() = 0;
    // LED and pop-up site
    virtual void sendOpenLedData() = 0;
    virtual void sendCloseLedData() = 0;
    virtual void sendOpenPopUpWebSiteData() = 0;
    virtual void sendClosePopUpWebSiteData() = 0;
    virtual void sendOpenRGBLogoLEDData() = 0;
    virtual void sendCloseRGBLogoLEDData() = 0;
    // DPI and keys
    virtual void sendSetDpiData(qint64 index) = 0;
    virtual void sendKeyCommandDataKeyCode1(qint64 keyCode1, qint64 keyCode2) = 0;
    virtual void sendSetBurnerInfoPID(qint64 pid, qint64 vid, qint64 icDirection, qint64 mode, qint64 mouseType,
                                      qint64 websiteType) = 0;
    // lighting and hand
    virtual void sendGetLightingEffectsModeData() = 0;
    virtual void sendSetLightingEffectsModeData(qint64 value) = 0;
    virtual void sendGetLightingEffectsBrightnessData() = 0;
    virtual void sendSetLightingEffectsBrightnessData(qint64 value) = 0;
    virtual void sendGetLightingEffectsSpeedData() = 0;
    virtual void sendSetLightingEffectsSpeedData(qint64 value) = 0;
    virtual void sendGetLightingEffectsColorData() = 0;
    virtual void sendSetLightingEffectsColorData(qint64 value) = 0;
    virtual void sendGetMouseLeftOrRightHandBehavior() = 0;
    virtual void sendSetMouseLeftOrRightHandBehaviorData(qint64 value) = 0;
    // laser pen
    virtual void sendLaserPenDpiData(qint64 value) = 0;
    virtual void sendLaserPenShakeEffectData(double seconds) = 0;
    virtual void sendLaserPenModeData(qint64 value) = 0;
    virtual void sendLaserPenEnterMouseStatusData() = 0;
    virtual void sendLaserPenQuitMouseStatusData() = 0;
    // state
    virtual bool isStartVoice() const = 0;
    virtual void setIsStartVoice(bool on) = 0;
    virtual qint64 pressType() const = 0;
    virtual void setPressType(qint64 type) = 0;
};

// The facade's sendVoiceDataBlock: (isStartVoice, audio). The audio is only valid
// during the call; a receiver copies what it keeps.
using VoiceDataBlock = std::function<void(bool isStartVoice, QByteArrayView audio)>;
