#pragma once

#include "FamilyTraits.h"
#include "HidCommandSink.h"
#include "HidFrames.h"
#include "HidVoiceStream.h"
#include "IFirmwareTransferCommands.h"
#include "Scheduler.h"
#include "services/DeviceSeams.h"
#include "services/ILaserPenHidCommands.h"
#include "services/IMouseCommands.h"
#include "services/VoiceKeyState.h"

class HookStates;

#include <QObject>

#include <functional>
#include <memory>

class HidFirmwareTransfer;

// The HID side of the device protocol: builds every command in the frame layout of the
// connected device family (chipPlan) and hands it to the HID device, keeps the state
// that the voice stream, the firmware transfer and the report parser share, and polls a
// receiver every few seconds for whether its mouse is there.
//
// Reads the device from QXUserInfoData::sharedInstance() at every call. The seams are
// those of the HID side (the voice stream's recording, the firmware transfer's tips,
// the report parser's handlers). Main thread only.
class QXHidCommandManager : public IMouseCommands, public ILaserPenHidCommands, public FirmwareCommandsForwarder {
public:
    static constexpr int kPollIntervalMs = proto::kConnectionPollMs;
    static constexpr int kPollIntervalPlan4Ms = proto::kConnectionPollPlan4Ms;
    static constexpr int kCheckVoiceIntervalMs = 1000;

    explicit QXHidCommandManager(const DeviceSeams &seams = {}); // empty members: stand-ins
    ~QXHidCommandManager() override;
    QXHidCommandManager(const QXHidCommandManager &) = delete;
    QXHidCommandManager &operator=(const QXHidCommandManager &) = delete;

    // The process-wide instance, which the composition root constructed and installed.
    static QXHidCommandManager &sharedInstance();
    static QXHidCommandManager *setSharedInstance(QXHidCommandManager *instance); // returns the previous one

    const DeviceSeams &seams() const { return m_seams; }
    // Goes away with the manager: delayed work on it names this as its context.
    QObject *lifetime() { return &m_lifetime; }

    // Where reports go; nullptr (no device layer yet) drops them.
    void setHidSink(HidCommandSink *sink) { m_sink = sink; }
    HidCommandSink *hidSink() const { return m_sink; }
    // The clock of the time commands; nullptr uses the scheduler's.
    void setClock(const Clock *clock) { m_clock = clock; }
    // The facade's sendVoiceDataBlock (empty when none is set).
    void setVoiceDataBlock(VoiceDataBlock block);
    // Whether voice comes from the computer's microphone (the facade's isFromMicData);
    // the device then sends no voice end that would clear isStartVoice.
    void setIsFromMicDataSource(std::function<bool()> source) { m_isFromMicData = std::move(source); }
    // Where the sampling-rate flag of plan-7 voice reports goes (the application state).
    void setSamplingRateSink(std::function<void(bool samplingRate)> sink);
    void listHooks(HookStates &out) const;

    // --- commands shared with the Bluetooth LE manager
    void sendGetMouseInfoData() override;
    void sendGetReceiveData() override;
    void sendOpenMicData() override;
    void sendCloseMicData() override;
    void sendOpenLedData() override;
    void sendCloseLedData() override;
    void sendOpenPopUpWebSiteData() override;
    void sendClosePopUpWebSiteData() override;
    void sendOpenRGBLogoLEDData() override;
    void sendCloseRGBLogoLEDData() override;
    void sendSetDpiData(qint64 index) override;
    void sendKeyCommandDataKeyCode1(qint64 keyCode1, qint64 keyCode2) override;
    void sendSetBurnerInfoPID(qint64 pid, qint64 vid, qint64 icDirection, qint64 mode, qint64 mouseType,
                              qint64 websiteType) override;
    void sendGetLightingEffectsModeData() override;
    void sendSetLightingEffectsModeData(qint64 value) override;
    void sendGetLightingEffectsBrightnessData() override;
    void sendSetLightingEffectsBrightnessData(qint64 value) override;
    void sendGetLightingEffectsSpeedData() override;
    void sendSetLightingEffectsSpeedData(qint64 value) override;
    void sendGetLightingEffectsColorData() override;
    void sendSetLightingEffectsColorData(qint64 value) override;
    void sendGetMouseLeftOrRightHandBehavior() override;
    void sendSetMouseLeftOrRightHandBehaviorData(qint64 value) override;
    void sendLaserPenDpiData(qint64 value) override;
    void sendLaserPenShakeEffectData(double seconds) override;
    void sendLaserPenModeData(qint64 value) override;
    void sendLaserPenEnterMouseStatusData() override;
    void sendLaserPenQuitMouseStatusData() override;

    // --- HID only
    void sendSearchMouseConnectStatusData();
    void sendGetMouseSN();
    void sendGetDeviceFireware();
    void sendGetDongleInfo();
    void modifyReturnRate(qint64 rate);
    void sendResetKeyStatusData();
    void sendOpenRGBData();
    void sendCloseRGBData();
    void sendSetProductMode(qint64 mode);
    void sendSetSNData(const QString &sn);
    void sendSetTelinkBurnerInfoMouseType(qint64 value);
    void sendSetTelinkBurnerInfoWebsiteType(qint64 value);
    void sendSetTelinkBurnerInfozAudio_reat(qint64 value);
    void sendSetTelinkBurnerInfoIC_Direction(qint64 value);
    void sendSetTelinkBurnerInfoSN(const QString &sn);
    void sendGetTelinkLaserPenInfoData();
    void sendTelinkLaserPenEnterMouseStatusData();
    void sendTelinkLaserPenQuitMouseStatusData();
    void sendTelinkLaserPenOpenMicData();
    void sendTelinkLaserPenCloseMicData();
    void sendTelinkLaserPenOpenHardLaserData() override;
    void sendTelinkLaserPenCloseHardLaserData() override;
    void sendTelinkLaserPenOnlineData();
    void sendTelinkLaserPenOffLineData();
    void sendTelinkLaserPenCountdownData(qint64 seconds) override;
    void sendTelinkLaserPenCurrentTimeData();
    void sendGetXunFeiChipDeviceInfoData();
    void sendGetXunFeiChipAuthData();
    void sendCurrentTimeData();
    void sendCommandOperation();

    // --- firmware transfer (HidFirmwareTransfer): the mouse, or the remote control while
    // deviceType is 4; the receiver (Dongle); the remote control
    // (the mouse and receiver steps come from FirmwareCommandsForwarder)
    HidFirmwareTransfer &firmwareTransfer() { return *m_firmware; }
    void sendStartOTARemoteControlData();
    void sendOTAFileRemoteControlData();
    void sendEndOTARemoteControlData();
    void sendCancelOTARemoteControlData();

    // --- connection poll and voice keep-alive
    void startTimer();
    void invalidateTimer();
    void checkConnectStatus();
    bool isTimerRunning() const { return m_timer != Scheduler::kNoTimer; }
    void startCheckVoiceTimer();
    void invalidateCheckVoiceTimer();
    bool isCheckVoiceTimerRunning() const { return m_checkVoiceTimer != Scheduler::kNoTimer; }

    // --- state
    // The flags live in the shared key state (VoiceKeyState): its device stream and
    // the device's pending press type.
    bool isStartVoice() const override { return m_seams.keys->isStartVoice(); }
    void setIsStartVoice(bool on) override { m_seams.keys->setIsStartVoice(on); }
    qint64 pressType() const override { return m_seams.keys->devicePressType(); }
    void setPressType(qint64 type) override { m_seams.keys->setDevicePressType(type); }
    bool isPauseHandle() const { return m_isPauseHandle; }
    void setIsPauseHandle(bool on) { m_isPauseHandle = on; }
    qint64 currentOTAIndex() const { return m_currentOTAIndex; }
    void setCurrentOTAIndex(qint64 index) { m_currentOTAIndex = index; }
    qint64 otaDataTotalLength() const { return m_otaDataTotalLength; }
    void setOtaDataTotalLength(qint64 length) { m_otaDataTotalLength = length; }
    qint64 otaDataChecksum() const { return m_otaDataChecksum; }
    void setOtaDataChecksum(qint64 sum) { m_otaDataChecksum = sum; }
    // The device voice stream (audioData, encodeData and the plan-2 decoder state).
    proto::HidVoiceStream &voiceStream() { return m_voice; }

    // The connected device as the builders see it.
    static proto::HidContext currentContext();

protected:
    IFirmwareTransferCommands *mouseFirmwareTarget() override;
    IFirmwareTransferCommands *dongleFirmwareTarget() override;

private:
    void send(proto::HidCommand command, std::initializer_list<qint64> args = {});
    void send(const proto::HidFrameList &frames);
    const Clock &clock() const;

    HidCommandSink *m_sink = nullptr;
    const Clock *m_clock = nullptr;
    std::function<bool()> m_isFromMicData;
    QObject m_lifetime;
    DeviceSeams m_seams;
    proto::HidVoiceSinks m_voiceSinks;
    proto::HidVoiceStream m_voice;

    bool m_isPauseHandle = false;
    qint64 m_currentOTAIndex = 0;
    qint64 m_otaDataTotalLength = 0;
    qint64 m_otaDataChecksum = 0;
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
    Scheduler::TimerId m_checkVoiceTimer = Scheduler::kNoTimer;
    std::unique_ptr<HidFirmwareTransfer> m_firmware;
};
