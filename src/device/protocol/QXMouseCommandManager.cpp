#include "QXMouseCommandManager.h"

#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXUserInfoData.h"

QXMouseCommandManager::QXMouseCommandManager(QXHidCommandManager *hid, QXBLEMouseCommandManager *ble)
    : m_hid(hid ? *hid : QXHidCommandManager::sharedInstance()),
      m_ble(ble ? *ble : QXBLEMouseCommandManager::sharedInstance()) {
    m_hid.setIsFromMicDataSource([this] { return isFromMicData(); });
}

QXMouseCommandManager::~QXMouseCommandManager() {
    invalidateTimer();
    m_hid.setIsFromMicDataSource({});
    m_hid.setVoiceDataBlock({});
    m_ble.setVoiceDataBlock({});
}

QXMouseCommandManager &QXMouseCommandManager::sharedInstance() {
    static QXMouseCommandManager *instance = new QXMouseCommandManager; // lives until exit
    return *instance;
}

IMouseCommands &QXMouseCommandManager::active() const {
    if (QXUserInfoData::sharedInstance().bleConnect())
        return m_ble;
    return m_hid;
}

void QXMouseCommandManager::sendLaserPenQuitMouseStatusData() {
    if (QXUserInfoData::sharedInstance().isSupportKeySetting())
        active().sendLaserPenQuitMouseStatusData();
}

void QXMouseCommandManager::sendSearchMouseConnectStatusData() {
    if (!QXUserInfoData::sharedInstance().bleConnect())
        m_hid.sendSearchMouseConnectStatusData();
}

bool QXMouseCommandManager::isFromMicData() const {
    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    if (!state.isSupportKeySetting() && state.chipPlan() != 3)
        return true;
    return m_isFromMicData;
}

void QXMouseCommandManager::setSendVoiceDataBlock(VoiceDataBlock block) {
    m_sendVoiceDataBlock = std::move(block);
    m_hid.setVoiceDataBlock(m_sendVoiceDataBlock);
    m_ble.setVoiceDataBlock(m_sendVoiceDataBlock);
}

void QXMouseCommandManager::startTimer() {
    invalidateTimer();
    m_timer = Scheduler::instance().repeating(kBatteryPollMs, [this] { checkElectricStatus(); });
}

void QXMouseCommandManager::invalidateTimer() {
    cancelTimer(Scheduler::instance(), m_timer);
}
