#pragma once

#include "IFirmwareTransferCommands.h"
#include "Scheduler.h"
#include "services/IMouseCommands.h"

#include <QString>

#include <QObject>

#include <functional>

class HookStates;
class QXHidCommandManager;
class QXBLEMouseCommandManager;

// The one way pages, the voice pipeline, the pointer overlay and the shell talk to the
// device. Each command goes to the Bluetooth LE manager while a Bluetooth LE mouse is
// connected (bleConnect at the moment of the call), else to the HID manager; nothing
// is cached, so a command right after a connection change takes the new transport.
// Also holds the block through which device voice reaches the speech service, and a
// slow battery poll. Main thread only.
class QXMouseCommandManager : public IMouseCommands, public FirmwareCommandsForwarder {
public:
    static constexpr int kBatteryPollMs = 300 * 1000;

    // nullptr: the shared managers.
    explicit QXMouseCommandManager(QXHidCommandManager *hid = nullptr, QXBLEMouseCommandManager *ble = nullptr);
    ~QXMouseCommandManager();
    QXMouseCommandManager(const QXMouseCommandManager &) = delete;
    QXMouseCommandManager &operator=(const QXMouseCommandManager &) = delete;

    // The process-wide instance, which the composition root constructed and installed.
    static QXMouseCommandManager &sharedInstance();
    static QXMouseCommandManager *setSharedInstance(QXMouseCommandManager *instance); // returns the previous one

    // Goes away with the facade: delayed work on it names this as its context.
    QObject *lifetime() { return &m_lifetime; }

    // --- IMouseCommands, forwarded to the active manager
    void sendGetMouseInfoData() override { active().sendGetMouseInfoData(); }
    void sendGetReceiveData() override { active().sendGetReceiveData(); }
    void sendOpenMicData() override { active().sendOpenMicData(); }
    void sendCloseMicData() override { active().sendCloseMicData(); }
    void sendOpenLedData() override { active().sendOpenLedData(); }
    void sendCloseLedData() override { active().sendCloseLedData(); }
    void sendOpenPopUpWebSiteData() override { active().sendOpenPopUpWebSiteData(); }
    void sendClosePopUpWebSiteData() override { active().sendClosePopUpWebSiteData(); }
    void sendOpenRGBLogoLEDData() override { active().sendOpenRGBLogoLEDData(); }
    void sendCloseRGBLogoLEDData() override { active().sendCloseRGBLogoLEDData(); }
    void sendSetDpiData(qint64 index) override { active().sendSetDpiData(index); }
    void sendKeyCommandDataKeyCode1(qint64 keyCode1, qint64 keyCode2) override
    {
        active().sendKeyCommandDataKeyCode1(keyCode1, keyCode2);
    }
    void sendSetBurnerInfoPID(qint64 pid, qint64 vid, qint64 icDirection, qint64 mode, qint64 mouseType,
                              qint64 websiteType) override
    {
        active().sendSetBurnerInfoPID(pid, vid, icDirection, mode, mouseType, websiteType);
    }
    void sendGetLightingEffectsModeData() override { active().sendGetLightingEffectsModeData(); }
    void sendSetLightingEffectsModeData(qint64 v) override { active().sendSetLightingEffectsModeData(v); }
    void sendGetLightingEffectsBrightnessData() override { active().sendGetLightingEffectsBrightnessData(); }
    void sendSetLightingEffectsBrightnessData(qint64 v) override { active().sendSetLightingEffectsBrightnessData(v); }
    void sendGetLightingEffectsSpeedData() override { active().sendGetLightingEffectsSpeedData(); }
    void sendSetLightingEffectsSpeedData(qint64 v) override { active().sendSetLightingEffectsSpeedData(v); }
    void sendGetLightingEffectsColorData() override { active().sendGetLightingEffectsColorData(); }
    void sendSetLightingEffectsColorData(qint64 v) override { active().sendSetLightingEffectsColorData(v); }
    void sendGetMouseLeftOrRightHandBehavior() override { active().sendGetMouseLeftOrRightHandBehavior(); }
    void sendSetMouseLeftOrRightHandBehaviorData(qint64 v) override
    {
        active().sendSetMouseLeftOrRightHandBehaviorData(v);
    }
    void sendLaserPenDpiData(qint64 v) override { active().sendLaserPenDpiData(v); }
    void sendLaserPenShakeEffectData(double seconds) override { active().sendLaserPenShakeEffectData(seconds); }
    void sendLaserPenModeData(qint64 v) override { active().sendLaserPenModeData(v); }
    void sendLaserPenEnterMouseStatusData() override { active().sendLaserPenEnterMouseStatusData(); }
    // Only for devices with key setting.
    void sendLaserPenQuitMouseStatusData() override;

    // --- HID only: nothing while a Bluetooth LE mouse is connected
    void sendSearchMouseConnectStatusData();

    // --- firmware transfer: the mouse over the active transport (the remote control on
    // HID while deviceType is 4); the receiver over HID only
    // (the steps come from FirmwareCommandsForwarder)
    // Where both transfers find the downloaded images (the firmware update manager).
    void setFirmwareImagePaths(std::function<QString()> mouse, std::function<QString()> dongle);

    // --- commands that send nothing
    void sendCopyAndPasteData(qint64 keyCode) { Q_UNUSED(keyCode); }
    void sendCopyAndPasteReleaseData() {}
    void sendResetKeyStatusData() {}

    // --- state
    bool isStartVoice() const override { return active().isStartVoice(); }
    void setIsStartVoice(bool on) override { active().setIsStartVoice(on); }
    qint64 pressType() const override { return active().pressType(); }
    void setPressType(qint64 type) override { active().setPressType(type); }
    // Voice from the computer's microphone: always for a device without key setting
    // (except the receiver's voice interface, plan 3); otherwise what was set.
    bool isFromMicData() const;
    void setIsFromMicData(bool on) { m_isFromMicData = on; }
    // How device voice reaches the speech service; handed to both managers.
    void setSendVoiceDataBlock(VoiceDataBlock block);
    const VoiceDataBlock &sendVoiceDataBlock() const { return m_sendVoiceDataBlock; }
    // Its own hooks and those of the two command managers behind it.
    void listHooks(HookStates &out) const;

    // --- battery poll: asks the device for its information every five minutes
    void startTimer();
    void invalidateTimer();
    void checkElectricStatus() { sendGetMouseInfoData(); }
    bool isTimerRunning() const { return m_timer != Scheduler::kNoTimer; }

protected:
    IFirmwareTransferCommands *mouseFirmwareTarget() override;
    IFirmwareTransferCommands *dongleFirmwareTarget() override;

private:
    IMouseCommands &active() const;

    QObject m_lifetime;
    QXHidCommandManager &m_hid;
    QXBLEMouseCommandManager &m_ble;
    bool m_isFromMicData = false;
    VoiceDataBlock m_sendVoiceDataBlock;
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
};
