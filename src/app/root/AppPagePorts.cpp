#include "AppPagePorts.h"

#include "HIDDevice.h"
#include "PZLog.h"
#include "QXHidCommandManager.h"
#include "QXHttpRequestManager.h"
#include "QXMouseCommandManager.h"
#include "QXOTAUpdateManager.h"
#include "ReceiverTable.h"
#include "windows/QXAuthorityManagementWindowController.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QWidget>

void AppPagePorts::sendOpenRGBData()
{
    m_deps.hid.sendOpenRGBData();
}
void AppPagePorts::sendCloseRGBData()
{
    m_deps.hid.sendCloseRGBData();
}
void AppPagePorts::modifyReturnRate(qint64 rate)
{
    m_deps.hid.modifyReturnRate(rate);
}
void AppPagePorts::sendGetXunFeiChipDeviceInfoData()
{
    m_deps.hid.sendGetXunFeiChipDeviceInfoData();
}

void AppPagePorts::checkOTAInfo()
{
    m_deps.ota.checkOTAInfo();
}
void AppPagePorts::checkDongleOTAInfo()
{
    m_deps.ota.checkDongleOTAInfo();
}
bool AppPagePorts::needUpdate()
{
    return m_deps.ota.needUpdate();
}
bool AppPagePorts::needUpdateDongle()
{
    return m_deps.ota.needUpdateDongle();
}
void AppPagePorts::deleteOTAFile()
{
    m_deps.ota.deleteOTAFile();
}
void AppPagePorts::deleteDongleOTAFile()
{
    m_deps.ota.deleteDongleOTAFile();
}
// The transfers run on whichever transport the mouse is on: the facade picks it.
void AppPagePorts::sendStartOTAData()
{
    m_deps.facade.sendStartOTAData();
}
void AppPagePorts::sendCancelOTAData()
{
    m_deps.facade.sendCancelOTAData();
}
void AppPagePorts::sendStartOTADongleData()
{
    m_deps.facade.sendStartOTADongleData();
}
void AppPagePorts::sendCancelOTADongleData()
{
    m_deps.facade.sendCancelOTADongleData();
}

qint64 AppPagePorts::currentVid() const
{
    return m_deps.device.currentVid();
}
qint64 AppPagePorts::currentPid() const
{
    return m_deps.device.currentPid();
}

bool AppPagePorts::hasKeyboardHotKeys() const
{
    return qx::receivers::receiverHasKeyboardHotKeys(currentVid(), currentPid());
}

bool AppPagePorts::hasFixedReportRate() const
{
    return qx::receivers::receiverHas(quint16(currentVid()), quint16(currentPid()), qx::receivers::kFixedReportRate);
}
void AppPagePorts::openHIDDevice()
{
    m_deps.device.openHIDDevice();
}

void AppPagePorts::httpRequestWithScene(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback)
{
    m_deps.http.httpRequestWithScene(std::move(scene), std::move(callback));
}
bool AppPagePorts::validNetworkIsNotReable() const
{
    return m_deps.http.validNetworkIsNotReable();
}

void AppPagePorts::showPermissions()
{
    m_deps.authority.checkPermission(false);
    m_deps.authority.showWindow();
}

bool AppPagePorts::openUrl(const QUrl &url)
{
    qxLogOnce(QStringLiteral("pages.workspace"),
              QStringLiteral("no desktop workspace: the pages open no address (first: %1)").arg(url.toString()));
    return false;
}
