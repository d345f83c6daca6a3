#include "CompanionAppServices.h"

#include "DefaultInputDevice.h"
#include "HIDDevice.h"
#include "IFlyASRManager.h"
#include "KitAppearance.h"
#include "MainWindow.h"
#include "PZLog.h"
#include "PageFactory.h"
#include "QXAuthorityManagementWindowController.h"
#include "QXHidCommandManager.h"
#include "QXKeyPressManager.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "QXOTAUpdateManager.h"
#include "QXToolManager.h"
#include "SelectionCopyMonitor.h"
#include "StatusItemController.h"
#include "crash/QXUncaughtExceptionHandler.h"
#include "sqlite/QXVoiceCommandItem.h"
#include "sqlite/WQSSqliteOperation.h"

#include <QNetworkInformation>

void CompanionApp::Services::applyLightAppearance()
{
    // Always light, whatever the desktop's theme.
    qxApplyLightAppearance();
}

void CompanionApp::Services::setIsFirstShow(bool on)
{
    m_app.m_statusItem->setIsFirstShow(on);
}

void CompanionApp::Services::setIsFromMicData(bool on)
{
    m_app.m_facade->setIsFromMicData(on);
}

void CompanionApp::Services::startMonitor()
{
    m_app.m_hid->startMonitor();
}

void CompanionApp::Services::checkAppVersion()
{
    // Silent when the site cannot be reached.
    m_app.m_ota->checkAppVersion();
}

void CompanionApp::Services::openApp()
{
    m_app.m_mainWindow->openApp();
}

void CompanionApp::Services::installExceptionWriter()
{
    // Already in place since main() started; installing it again changes nothing.
    QXUncaughtExceptionHandler::setDefaultHandler();
}

void CompanionApp::Services::setAsrLanguageType(int type)
{
    m_app.m_languages->setAsrLanguageType(type);
}

void CompanionApp::Services::addStatusItem()
{
    m_app.m_statusItem->addStatusItem();
}

void CompanionApp::Services::startCenterMouseMonitor()
{
    m_app.m_keyPress->startCenterMouseMonitor();
}

void CompanionApp::Services::createTable(const QString &name)
{
    WQSSqliteOperation &db = *m_app.m_database;
    QString error;
    if (!db.createTableWithtableName(name, QXVoiceCommandItem(), &error))
        qxWarning("app") << "cannot create the table" << name << "in" << db.filePath() << ":" << error
                         << "- voice commands cannot be kept; check that the file and its folder can be written";
}

void CompanionApp::Services::startSelectionMonitors()
{
    m_app.m_selectionMonitor->start();
}

void CompanionApp::Services::bindSnipShortcut()
{
    m_app.bindSnipShortcut();
}

std::pair<quint16, quint16> CompanionApp::Services::currentIds()
{
    return {quint16(m_app.m_hid->currentVid()), quint16(m_app.m_hid->currentPid())};
}

void CompanionApp::Services::setDefaultInput(const QString &deviceName)
{
    // On a thread of its own: the sound server may be slow to answer, or not at all.
    if (!m_app.m_defaultInput || m_app.m_defaultInputSwitch.joinable())
        return;
    m_app.m_defaultInputSwitch = std::thread(
        [switcher = m_app.m_defaultInput, deviceName] { set_default_input_device_by_name(*switcher, deviceName); });
}

void CompanionApp::Services::startScan()
{
    m_app.m_ble->startScan();
}

void CompanionApp::Services::configUI()
{
    m_app.m_mainWindow->configUI(m_app.m_pageFactory.get());
}

void CompanionApp::Services::checkPermission(bool show)
{
    m_app.m_authority->checkPermission(show);
}

void CompanionApp::Services::probeReachability()
{
    // Only noted in the log: nothing waits for the network, and an offline start goes on
    // as any other.
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        qxInfo("app") << "network reachability: no backend to ask";
        return;
    }
    qxInfo("app") << "network reachability:" << QNetworkInformation::instance()->reachability();
}

void CompanionApp::Services::openCompanionApp()
{
    // The other platform's build opens a companion application when one is installed;
    // none exists for Linux, so there is nothing to look for.
}

void CompanionApp::Services::cancelPeripheralConnection()
{
    m_app.m_ble->cancelPeripheralConnection();
}

void CompanionApp::Services::sendGetMouseInfoData()
{
    m_app.m_facade->sendGetMouseInfoData();
}

void CompanionApp::Services::sendClosePopUpWebSiteData()
{
    m_app.m_facade->sendClosePopUpWebSiteData();
}

void CompanionApp::Services::invalidateTimer()
{
    m_app.m_hidCommands->invalidateTimer();
}

void CompanionApp::Services::closeHIDDevice()
{
    m_app.m_hid->closeHIDDevice();
}

void CompanionApp::Services::openHIDDevice()
{
    m_app.m_hid->openHIDDevice();
}

void CompanionApp::Services::setLowElectricShown(bool shown)
{
    m_app.m_mainWindow->setLowElectricShown(shown);
}

void CompanionApp::Services::reopenStatusItem()
{
    m_app.m_statusItem->reopen();
}

void CompanionApp::Services::prepareForApplicationTermination()
{
    m_app.m_seams.speech->prepareForApplicationTermination();
}

void CompanionApp::Services::shutdownSparkChainBeforeTermination()
{
    // Only where a speech SDK engine exists.
    if (m_app.m_asrSdk)
        m_app.m_asrSdk->shutdownSparkChainBeforeTermination();
}

void CompanionApp::Services::waitForPendingLogsBeforeTermination()
{
    QXToolManager::waitForPendingLogsBeforeTermination();
}
