#include "QXBLEMouseCommandManager.h"

#include "BleFirmwareTransfer.h"
#include "HookStates.h"
#include "InstalledInstance.h"
#include "LaserPenRequests.h"
#include "PZLog.h"
#include "QXBLEManager.h"
#include "QXHidCommandManager.h"

using proto::BleCommand;
using proto::HidCommand;

void QXBLEMouseCommandManager::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("QXBLEMouseCommandManager"))
        .add("central", m_central)
        .add("hidSink", m_hid)
        .addSeams("seams", m_seams)
        .add("voiceDataBlock", m_voiceDataBlock);
    m_firmware->listHooks(out);
}

QXBLEMouseCommandManager::QXBLEMouseCommandManager(QXBLEManager *central, HidCommandSink *hid, const DeviceSeams &seams)
    : m_central(central), m_hid(hid), m_seams(seams.resolved()),
      m_firmware(std::make_unique<BleFirmwareTransfer>(*this))
{
}

QXBLEMouseCommandManager::~QXBLEMouseCommandManager() = default;

QXBLEManager &QXBLEMouseCommandManager::central() const
{
    return m_central ? *m_central : QXBLEManager::sharedInstance();
}

QXBLEMouseCommandManager &QXBLEMouseCommandManager::sharedInstance()
{
    return InstalledInstance<QXBLEMouseCommandManager>::get("QXBLEMouseCommandManager");
}

QXBLEMouseCommandManager *QXBLEMouseCommandManager::setSharedInstance(QXBLEMouseCommandManager *instance)
{
    return InstalledInstance<QXBLEMouseCommandManager>::install(instance);
}

void QXBLEMouseCommandManager::write(BleCommand command, std::initializer_list<qint64> args)
{
    const proto::BleFrame frame = proto::bleFrame(command, args);
    QXBLEManager &central = this->central();
    const bool sent =
        frame.channel == proto::BleChannel::Ota ? central.sendOTAData(frame.bytes) : central.sendData(frame.bytes);
    if (!sent)
        qxDebug("ble") << "command dropped, no peripheral:" << frame.bytes.toHex(' ');
}

// The pointer's commands go to the HID device in the plan-2 layout whatever is
// connected; with no HID device open they are lost.
void QXBLEMouseCommandManager::sendOverHid(HidCommand command, std::initializer_list<qint64> args)
{
    HidCommandSink *hid = m_hid;
    if (!hid)
        if (QXHidCommandManager *installed = InstalledInstance<QXHidCommandManager>::installed())
            hid = installed->hidSink();
    proto::HidContext plan2;
    plan2.chipPlan = 2;
    plan2.mouseIsConnect = true;
    const proto::HidFrameList frames = proto::hidFrames(command, plan2, args);
    if (!hid) {
        qxDebug("ble") << "laser-pen command dropped, no HID device";
        return;
    }
    for (const QByteArray &frame : frames)
        hid->hidRequestSendCommand(proto::hidCommandBuffer(frame));
}

void QXBLEMouseCommandManager::sendGetMouseInfoData()
{
    write(BleCommand::GetMouseInfo);
}
void QXBLEMouseCommandManager::sendGetReceiveData()
{
    write(BleCommand::GetReceive);
}
void QXBLEMouseCommandManager::sendOpenMicData()
{
    write(BleCommand::OpenMic);
}
void QXBLEMouseCommandManager::sendCloseMicData()
{
    write(BleCommand::CloseMic);
}
void QXBLEMouseCommandManager::sendOpenLedData()
{
    write(BleCommand::OpenLed);
}
void QXBLEMouseCommandManager::sendCloseLedData()
{
    write(BleCommand::CloseLed);
}
void QXBLEMouseCommandManager::sendOpenPopUpWebSiteData()
{
    write(BleCommand::OpenPopUpWebSite);
}
void QXBLEMouseCommandManager::sendClosePopUpWebSiteData()
{
    write(BleCommand::ClosePopUpWebSite);
}
void QXBLEMouseCommandManager::sendOpenRGBLogoLEDData()
{
    write(BleCommand::OpenRGBLogoLED);
}
void QXBLEMouseCommandManager::sendCloseRGBLogoLEDData()
{
    write(BleCommand::CloseRGBLogoLED);
}
void QXBLEMouseCommandManager::sendSetDpiData(qint64 index)
{
    write(BleCommand::SetDpi, {index});
}

void QXBLEMouseCommandManager::sendKeyCommandDataKeyCode1(qint64 keyCode1, qint64 keyCode2)
{
    write(BleCommand::KeyCommand, {keyCode1, keyCode2});
}

void QXBLEMouseCommandManager::sendSetBurnerInfoPID(qint64 pid, qint64 vid, qint64 icDirection, qint64 mode,
                                                    qint64 mouseType, qint64 websiteType)
{
    write(BleCommand::SetBurnerInfo, {pid, vid, icDirection, mode, mouseType, websiteType});
}

void QXBLEMouseCommandManager::sendGetLightingEffectsModeData()
{
    write(BleCommand::GetLightingEffectsMode);
}
void QXBLEMouseCommandManager::sendSetLightingEffectsModeData(qint64 v)
{
    write(BleCommand::SetLightingEffectsMode, {v});
}
void QXBLEMouseCommandManager::sendGetLightingEffectsBrightnessData()
{
    write(BleCommand::GetLightingEffectsBrightness);
}
void QXBLEMouseCommandManager::sendSetLightingEffectsBrightnessData(qint64 v)
{
    write(BleCommand::SetLightingEffectsBrightness, {v});
}
void QXBLEMouseCommandManager::sendGetLightingEffectsSpeedData()
{
    write(BleCommand::GetLightingEffectsSpeed);
}
void QXBLEMouseCommandManager::sendSetLightingEffectsSpeedData(qint64 v)
{
    write(BleCommand::SetLightingEffectsSpeed, {v});
}
void QXBLEMouseCommandManager::sendGetLightingEffectsColorData()
{
    write(BleCommand::GetLightingEffectsColor);
}
void QXBLEMouseCommandManager::sendSetLightingEffectsColorData(qint64 v)
{
    write(BleCommand::SetLightingEffectsColor, {v});
}
void QXBLEMouseCommandManager::sendGetMouseLeftOrRightHandBehavior()
{
    write(BleCommand::GetMouseLeftOrRightHandBehavior);
}
void QXBLEMouseCommandManager::sendSetMouseLeftOrRightHandBehaviorData(qint64 v)
{
    write(BleCommand::SetMouseLeftOrRightHandBehavior, {v});
}

void QXBLEMouseCommandManager::sendLaserPenDpiData(qint64 v)
{
    sendOverHid(HidCommand::LaserPenDpi, {v});
}
void QXBLEMouseCommandManager::sendLaserPenShakeEffectData(double seconds)
{
    sendOverHid(HidCommand::LaserPenShakeEffect, {laserpen::shakeTenths(seconds)});
}
void QXBLEMouseCommandManager::sendLaserPenModeData(qint64 v)
{
    sendOverHid(HidCommand::LaserPenMode, {v});
}
void QXBLEMouseCommandManager::sendLaserPenEnterMouseStatusData()
{
    sendOverHid(HidCommand::LaserPenEnterMouseStatus);
}
void QXBLEMouseCommandManager::sendLaserPenQuitMouseStatusData()
{
    sendOverHid(HidCommand::LaserPenQuitMouseStatus);
}

void QXBLEMouseCommandManager::sendStartOTAData()
{
    write(BleCommand::StartOTA);
}
void QXBLEMouseCommandManager::sendEndOTAData()
{
    write(BleCommand::EndOTA, {m_otaDataTotalLength, m_otaDataChecksum});
}
void QXBLEMouseCommandManager::sendCancelOTAData()
{
    write(BleCommand::CancelOTA);
}
void QXBLEMouseCommandManager::sendOTAFileData()
{
    m_firmware->sendOTAFileData();
}
