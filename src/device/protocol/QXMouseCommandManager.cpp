#include "QXMouseCommandManager.h"

#include "BleFirmwareTransfer.h"
#include "FamilyTraits.h"
#include "HidFirmwareTransfer.h"
#include "HookStates.h"
#include "InstalledInstance.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"

QXMouseCommandManager::QXMouseCommandManager(QXHidCommandManager &hid, QXBLEMouseCommandManager &ble)
    : m_hid(hid), m_ble(ble)
{
    m_hid.setIsFromMicDataSource([this] { return isFromMicData(); });
}

QXMouseCommandManager::~QXMouseCommandManager()
{
    invalidateTimer();
    m_hid.setIsFromMicDataSource({});
    m_hid.setVoiceDataBlock({});
    m_ble.setVoiceDataBlock({});
}

VoiceStreamFormat QXMouseCommandManager::voiceStreamFormat() const
{
    // The device state the recordings' WAV rate is read from, installed by the root.
    return ::voiceStreamFormat(QXToolManager::currentWavRateInputs());
}

QXMouseCommandManager &QXMouseCommandManager::sharedInstance()
{
    return InstalledInstance<QXMouseCommandManager>::get("QXMouseCommandManager");
}

QXMouseCommandManager *QXMouseCommandManager::setSharedInstance(QXMouseCommandManager *instance)
{
    return InstalledInstance<QXMouseCommandManager>::install(instance);
}

IMouseCommands &QXMouseCommandManager::active() const
{
    if (QXUserInfoData::sharedInstance().bleConnect())
        return m_ble;
    return m_hid;
}

void QXMouseCommandManager::sendLaserPenQuitMouseStatusData()
{
    if (QXUserInfoData::sharedInstance().isSupportKeySetting())
        active().sendLaserPenQuitMouseStatusData();
}

void QXMouseCommandManager::sendSearchMouseConnectStatusData()
{
    if (!QXUserInfoData::sharedInstance().bleConnect())
        m_hid.sendSearchMouseConnectStatusData();
}

IFirmwareTransferCommands *QXMouseCommandManager::mouseFirmwareTarget()
{
    if (QXUserInfoData::sharedInstance().bleConnect())
        return &m_ble.firmwareTransfer();
    return &m_hid.firmwareTransfer();
}

// The receiver is only reached over HID.
IFirmwareTransferCommands *QXMouseCommandManager::dongleFirmwareTarget()
{
    return QXUserInfoData::sharedInstance().bleConnect() ? nullptr : &m_hid.firmwareTransfer();
}

void QXMouseCommandManager::setFirmwareImagePaths(std::function<QString()> mouse, std::function<QString()> dongle)
{
    m_ble.firmwareTransfer().setImagePathSource(mouse);
    m_hid.firmwareTransfer().setImagePathSource(
        [mouse = std::move(mouse), dongle = std::move(dongle)](HidFirmwareTransfer::ImageFile f) {
            const auto &source = f == HidFirmwareTransfer::ImageFile::Dongle ? dongle : mouse;
            return source ? source() : QString();
        });
}

void QXMouseCommandManager::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("QXMouseCommandManager")).add("sendVoiceDataBlock", m_sendVoiceDataBlock);
    m_hid.listHooks(out);
    m_ble.listHooks(out);
}

bool QXMouseCommandManager::isFromMicData() const
{
    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    if (!state.isSupportKeySetting() && !proto::familyTraits(state.chipPlan()).has(proto::kKeepsMicChoice))
        return true;
    return m_isFromMicData;
}

void QXMouseCommandManager::setSendVoiceDataBlock(VoiceDataBlock block)
{
    m_sendVoiceDataBlock = std::move(block);
    m_hid.setVoiceDataBlock(m_sendVoiceDataBlock);
    m_ble.setVoiceDataBlock(m_sendVoiceDataBlock);
}

void QXMouseCommandManager::startTimer()
{
    invalidateTimer();
    m_timer = Scheduler::instance().repeating(kBatteryPollMs, [this] { checkElectricStatus(); });
}

void QXMouseCommandManager::invalidateTimer()
{
    cancelTimer(Scheduler::instance(), m_timer);
}
