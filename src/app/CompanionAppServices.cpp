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

#include <QFile>
#include <QNetworkInformation>
#include <QNetworkInterface>

#include <optional>

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

namespace {
// Whether the kernel's routing table (/proc/net/route or ipv6_route) has a usable
// default route; nullopt when it cannot be read.
std::optional<bool> hasDefaultRoute(const QString &table, bool ipv6)
{
    QFile file(table);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    constexpr uint kUp = 0x0001, kReject = 0x0200;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        // IPv4: Iface Destination Gateway Flags ...; IPv6: Destination PrefixLen ... Flags Iface.
        if (f.size() < (ipv6 ? 10 : 8) || f.first() == "Iface")
            continue;
        const QByteArray iface = ipv6 ? f.at(9) : f.at(0);
        const bool anyDestination = ipv6 ? f.at(0).count('0') == 32 && f.at(1) == "00" : f.at(1) == "00000000";
        const uint flags = f.at(ipv6 ? 8 : 3).toUInt(nullptr, 16);
        if (anyDestination && iface != "lo" && (flags & kUp) && !(flags & kReject))
            return true;
    }
    return false;
}

// A cheap answer from the routing tables: a default route is taken for being online,
// an interface that is up without one for the local network only.
QNetworkInformation::Reachability reachabilityFromRoutes()
{
    const std::optional<bool> v4 = hasDefaultRoute(QStringLiteral("/proc/net/route"), false);
    const std::optional<bool> v6 = hasDefaultRoute(QStringLiteral("/proc/net/ipv6_route"), true);
    if (!v4 && !v6)
        return QNetworkInformation::Reachability::Unknown;
    if (v4.value_or(false) || v6.value_or(false))
        return QNetworkInformation::Reachability::Online;
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces())
        if (i.type() != QNetworkInterface::Loopback && (i.flags() & QNetworkInterface::IsRunning)
            && !i.addressEntries().isEmpty())
            return QNetworkInformation::Reachability::Local;
    return QNetworkInformation::Reachability::Disconnected;
}
} // namespace

void CompanionApp::Services::probeReachability()
{
    // Only noted in the log: nothing waits for the network, and an offline start goes on
    // as any other. So no network backend is loaded and no thread started for it.
    qxInfo("app") << "network reachability:" << reachabilityFromRoutes();
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
