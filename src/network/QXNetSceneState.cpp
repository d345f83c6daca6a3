#include "QXNetSceneState.h"

#include "InstalledInstance.h"
#include "PZString.h"
#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"

#include <QCoreApplication>

namespace {

const QXMouseInfoItem &device()
{
    return QXUserInfoData::sharedInstance().mouseInfoItem();
}

} // namespace

quint16 QXAppSceneState::deviceVid() const
{
    return device().vid();
}

quint16 QXAppSceneState::devicePid() const
{
    return device().pid();
}

QString QXAppSceneState::deviceSn() const
{
    return device().sn();
}

QString QXAppSceneState::deviceFirmwareVersion() const
{
    return device().firmwareVersion();
}

quint64 QXAppSceneState::deviceMouseType() const
{
    return device().mouseType();
}

int QXAppSceneState::deviceMouseSource() const
{
    return int(device().mouseSource());
}

QString QXAppSceneState::productCode() const
{
    return QXUserInfoData::sharedInstance().productCode();
}

QString QXAppSceneState::appKey() const
{
    return QXUserInfoData::sharedInstance().appKey();
}

bool QXAppSceneState::takeForceGetRequest()
{
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    if (!state.isForceGetRequest())
        return false;
    state.setIsForceGetRequest(false);
    return true;
}

QString QXAppSceneState::uiLanguageCode() const
{
    return QXLanguageManager::sharedInstance().readUILanguageCode();
}

QString QXAppSceneState::toLanguageCode() const
{
    return QXLanguageManager::sharedInstance().readToLanguageCode();
}

QString QXAppSceneState::macAddress() const
{
    return pz::qx_getMacAddress();
}

QString QXAppSceneState::interfaceMacAddress() const
{
    return QXToolManager::macAdress();
}

QString QXAppSceneState::clientVersion() const
{
    return QCoreApplication::applicationVersion();
}

QXNetSceneState &QXNetSceneState::instance()
{
    return InstalledInstance<QXNetSceneState>::get("QXNetSceneState");
}

QXNetSceneState *QXNetSceneState::setInstance(QXNetSceneState *state)
{
    return InstalledInstance<QXNetSceneState>::install(state);
}
