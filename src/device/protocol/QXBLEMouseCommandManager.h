#pragma once

#include "BleFrames.h"
#include "HidCommandSink.h"
#include "HidFrames.h"
#include "ImaAdpcm.h"
#include "services/DeviceSeams.h"
#include "services/IMouseCommands.h"

#include <QByteArray>

#include <memory>

class BleFirmwareTransfer;
class HookStates;
class QXBLEManager;

// The mouse on Bluetooth LE: the same commands as the HID command manager, each as one
// frame written through the Bluetooth LE central; the laser-pen commands still go out
// as HID reports in the plan-2 layout. Holds the voice and firmware fields that the
// notification parser and the firmware transfer share. A command sent while nothing
// is connected is lost, as the central drops it. Main thread only.
class QXBLEMouseCommandManager : public IMouseCommands {
public:
    // nullptr: the shared central, and the HID device the HID command manager sends to.
    // The seams are the firmware transfer's (empty members: stand-ins).
    explicit QXBLEMouseCommandManager(QXBLEManager *central = nullptr, HidCommandSink *hid = nullptr,
                                      const DeviceSeams &seams = {});
    ~QXBLEMouseCommandManager() override;
    QXBLEMouseCommandManager(const QXBLEMouseCommandManager &) = delete;
    QXBLEMouseCommandManager &operator=(const QXBLEMouseCommandManager &) = delete;

    // The process-wide instance, which the composition root constructed and installed.
    static QXBLEMouseCommandManager &sharedInstance();
    static QXBLEMouseCommandManager *setSharedInstance(QXBLEMouseCommandManager *instance); // returns the previous one
    const DeviceSeams &seams() const { return m_seams; }
    void setCentral(QXBLEManager *central) { m_central = central; }
    QXBLEManager &central() const;
    void setHidSink(HidCommandSink *hid) { m_hid = hid; }
    void setVoiceDataBlock(VoiceDataBlock block) { m_voiceDataBlock = std::move(block); }
    const VoiceDataBlock &voiceDataBlock() const { return m_voiceDataBlock; }
    void listHooks(HookStates &out) const;

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
    // over HID
    void sendLaserPenDpiData(qint64 value) override;
    void sendLaserPenShakeEffectData(double seconds) override;
    void sendLaserPenModeData(qint64 value) override;
    void sendLaserPenEnterMouseStatusData() override;
    void sendLaserPenQuitMouseStatusData() override;

    // Firmware channel: the bare frames. The end frame carries otaDataTotalLength and
    // otaDataChecksum. A transfer runs through firmwareTransfer(), which checks the image
    // and the link before it sends them.
    void sendStartOTAData();
    void sendEndOTAData();
    void sendCancelOTAData();
    // The transfer's data step (BleFirmwareTransfer::sendOTAFileData).
    void sendOTAFileData();
    BleFirmwareTransfer &firmwareTransfer() { return *m_firmware; }

    bool isStartVoice() const override { return m_isStartVoice; }
    void setIsStartVoice(bool on) override { m_isStartVoice = on; }
    qint64 pressType() const override { return m_pressType; }
    void setPressType(qint64 type) override { m_pressType = type; }
    proto::AdpcmState &msg() { return m_msg; }
    QByteArray &audioData() { return m_audioData; }
    QByteArray &encodeData() { return m_encodeData; }
    qint64 currentOTAIndex() const { return m_currentOTAIndex; }
    void setCurrentOTAIndex(qint64 index) { m_currentOTAIndex = index; }
    qint64 otaDataTotalLength() const { return m_otaDataTotalLength; }
    void setOtaDataTotalLength(qint64 length) { m_otaDataTotalLength = length; }
    qint64 otaDataChecksum() const { return m_otaDataChecksum; }
    void setOtaDataChecksum(qint64 sum) { m_otaDataChecksum = sum; }

private:
    void write(proto::BleCommand command, std::initializer_list<qint64> args = {});
    void sendOverHid(proto::HidCommand command, std::initializer_list<qint64> args = {});

    QXBLEManager *m_central = nullptr;
    HidCommandSink *m_hid = nullptr;
    DeviceSeams m_seams;
    VoiceDataBlock m_voiceDataBlock;

    proto::AdpcmState m_msg;
    bool m_isStartVoice = false;
    qint64 m_pressType = 0;
    QByteArray m_audioData;
    QByteArray m_encodeData;
    qint64 m_currentOTAIndex = 0;
    qint64 m_otaDataTotalLength = 0;
    qint64 m_otaDataChecksum = 0;
    std::unique_ptr<BleFirmwareTransfer> m_firmware;
};
