#include "ShellAssembly.h"

#include "AccountHeaders.h"
#include "AddCommandDialogs.h"
#include "AppDisplayName.h"
#include "AppPagePorts.h"
#include "CoreAssembly.h"
#include "DeviceAssembly.h"
#include "HIDDevice.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "PageContext.h"
#include "QXHttpRequestManager.h"
#include "QXImageLoader.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "QXOTAUpdateManager.h"
#include "QXToolManager.h"
#include "QXTransferAudioView.h"
#include "QXTranslateWindow.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "SelectionCopyMonitor.h"
#include "SnipShortcut.h"
#include "TargetRecords.h"
#include "VoiceAssembly.h"
#include "aiweb/QXAIWindowTool.h"
#include "asr/QXAudioFileTranscription.h"
#include "asr/QXWebApiAsrService.h"
#include "commands/QXCommandViewModel.h"
#include "commands/QXHotWordViewModel.h"
#include "crash/QXUncaughtExceptionHandler.h"
#include "desktop/FilePicker.h"
#include "desktop/MessageBoxAlertPresenter.h"
#include "desktop/QXToolManagerUI.h"
#include "desktop/QtOwnTexts.h"
#include "drawing/KitAppearance.h"
#include "launch/StartAtLoginController.h"
#include "platform/IGlobalMouseMonitor.h"
#include "platform/PlatformServices.h"
#include "platform/ShortcutBinder.h"
#include "platform/linux/DbusFileRevealer.h"
#include "platform/linux/X11PermissionProbe.h"
#include "platform/linux/XdgAutostartLoginItems.h"
#include "tray/StatusItemController.h"
#include "tray/TrayStatusItem.h"
#include "views/QXBaseViewController.h"
#include "windows/MainWindow.h"
#include "windows/PageFactory.h"
#include "windows/QXAuthorityManagementWindowController.h"
#include "windows/TabBarEntries.h"

#include <QCoreApplication>
#include <QFile>
#include <QNetworkInformation>
#include <QNetworkInterface>

#include <optional>

namespace {
QNetworkInformation::Reachability reachabilityFromRoutes();
} // namespace

ShellAssembly::ShellAssembly(CoreAssembly &core, DeviceAssembly &device, VoiceAssembly &voice, const Options &options)
    : m_core(core), m_device(device), m_voice(voice)
{
    // Before any window: Qt's standard buttons and dialogs speak the interface language
    // from the first one on, and follow each switch.
    m_qtTexts = std::make_unique<QtOwnTexts>();
    m_qtTexts->follow(m_core.languages().uiLanguageIndex());
    m_core.notifications().addObserver(
        QString::fromLatin1(qx::notify::kUpdateTitleNotification), m_qtTexts.get(),
        [this](const QVariant &) { m_qtTexts->follow(m_core.languages().uiLanguageIndex()); });
    // The main window; re-titling it rebuilds the status item's menu.
    MainWindow::Deps windowDeps;
    windowDeps.state = &m_core.state();
    windowDeps.addStatusItem = [this] { m_statusItem->addStatusItem(); };
    m_mainWindow = std::make_unique<MainWindow>(std::move(windowDeps));
    QXToolManagerUI::Deps toolUi;
    toolUi.shell = m_mainWindow.get();
    toolUi.targets = &m_core.targets();
    m_toolUi.install(std::make_unique<QXToolManagerUI>(toolUi));
    // Whether a request may go: read from the routing tables, as the launch's probe does,
    // so the self-test's probes at launch load no network monitor and start no thread.
    m_core.http().setReachabilityCheck(
        [] { return reachabilityFromRoutes() == QNetworkInformation::Reachability::Disconnected; });

    buildUpdates();
    // The start-up switch is a port of the pages, made with the status item.
    buildPermissionsAndLogin(options);
    buildStatusItem(options);
    QXAIWindowTool &ai = m_device.aiWindow();
    ai.setWindowPorts(m_mainWindow.get(), m_files.get(), m_alerts.get());
    m_aiWindowPorts.set([&ai] { ai.setWindowPorts(nullptr, nullptr, nullptr); });
    buildSelectionShell();
}

ShellAssembly::~ShellAssembly() = default;

void ShellAssembly::buildUpdates()
{
    m_alerts = std::make_unique<MessageBoxAlertPresenter>(m_mainWindow.get());
    QXOTAUpdateManager::Deps otaDeps;
    otaDeps.store = &m_core.store();
    otaDeps.state = &m_core.state();
    otaDeps.alerts = m_alerts.get();
    otaDeps.workspace = platform::services().workspace;
    otaDeps.network = m_core.http().urlSessionManager();
    QXOTAUpdateManager &ota = m_ota.install(std::make_unique<QXOTAUpdateManager>(otaDeps));
    // Firmware transfers take the images the update manager downloaded.
    QXMouseCommandManager &facade = m_device.facade();
    facade.setFirmwareImagePaths([&ota] { return ota.filePath(); }, [&ota] { return ota.filePathDongle(); });
    m_firmwareImagePaths.set([&facade] { facade.setFirmwareImagePaths({}, {}); });
}

// The status item and the pages of the main window.
void ShellAssembly::buildStatusItem(const Options &options)
{
    IStatusItem *item = options.statusItem;
    if (!item) {
        m_ownedStatusItem = std::make_unique<TrayStatusItem>();
        item = m_ownedStatusItem.get();
    }
    m_pagePorts = std::make_unique<AppPagePorts>(AppPagePorts::Deps{m_device.hidCommands(), m_device.facade(), *m_ota,
                                                                    m_device.hid(), m_core.http(), *m_authority});
    // The file dialogs and the add and edit command dialog, for every page.
    m_files = std::make_unique<DialogFilePicker>(m_mainWindow.get());
    m_revealer = std::make_unique<platform::linuxbackend::DbusFileRevealer>([](const QUrl &folder) {
        platform::IWorkspace *workspace = platform::services().workspace;
        return workspace && workspace->openUrl(folder);
    });
    m_commandDialogs = std::make_unique<AddCommandDialogs>(
        AddCommandView::Deps{&m_voice.commands(), &m_core.targets(), m_files.get(), &m_core.shortcuts(),
                             [toolUi = m_toolUi.get()](const QString &message, const QString &detail) {
                                 toolUi->showErrorMsg(message, detail);
                             }});
    m_accountHeaders = std::make_unique<AccountHeaders>();
    m_pageFactory = std::make_unique<PageFactory>(pageContext());
    m_pageFactory->setLaserPen(&m_device.laserPen());
    const DeviceSeams &seams = m_device.seams();
    StatusItemController::Deps deps;
    deps.state = &m_core.state();
    deps.item = item;
    deps.shell = m_mainWindow.get();
    deps.device = &m_device.facade();
    deps.hidCommands = &m_device.hidCommands();
    deps.voice = seams.voice;
    deps.aiWindow = seams.aiWindow;
    deps.terminate = options.quit ? options.quit : [] { QCoreApplication::quit(); };
    deps.rebindSnipShortcut = [this] { bindSnipShortcut(); };
    m_statusItem = std::make_unique<StatusItemController>(std::move(deps));
}

// Every member is the application's own object; a seam the higher layers have not
// filled yet is its logged stand-in (the seams are resolved), and without a desktop
// workspace the pages' ports stand in for it.
PageContext ShellAssembly::pageContext() const
{
    const DeviceSeams &seams = m_device.seams();
    platform::IWorkspace *workspace = platform::services().workspace;
    return PageContext{
        .state = m_core.state(),
        .store = m_core.store(),
        .languages = m_core.languages(),
        .notifications = m_core.notifications(),
        .scheduler = Scheduler::instance(),
        .device = m_device.facade(),
        .hidCommands = *m_pagePorts,
        .firmware = *m_pagePorts,
        .receiver = *m_pagePorts,
        .api = *m_pagePorts,
        .images = m_core.images(),
        .aiWindow = *seams.aiWindow,
        .translate = *seams.translate,
        .tips = *seams.tips,
        .alerts = *m_alerts,
        .errorAlert = *m_toolUi,
        .permissionsWindow = *m_pagePorts,
        .shell = *m_mainWindow,
        .startAtLogin = *m_startAtLogin,
        .shortcuts = m_core.shortcuts(),
        .workspace = workspace ? *workspace : static_cast<platform::IWorkspace &>(*m_pagePorts),
        .commands = m_voice.commands(),
        .commandDialogs = *m_commandDialogs,
        .files = *m_files,
        .accountHeaders = *m_accountHeaders,
        .hotWords = m_core.hotWords(),
        .makeTransferAudioView = [this](QWidget *parent) -> QXBaseView * {
            QXTransferAudioView::Deps deps;
            deps.speech = &m_voice.speech();
            deps.transferAudio = [speech = &m_voice.speech()](const QString &path, const QXTransferAudioModel &job) {
                speech->fileTranscription().transferAudioWithFilePath(path, job);
            };
            deps.table = &m_core.database();
            deps.state = &m_core.state();
            deps.errors = m_toolUi.get();
            deps.files = m_files.get();
            deps.revealer = m_revealer.get();
            deps.clock = &Scheduler::instance().clock();
            return new QXTransferAudioView(std::move(deps), parent);
        },
    };
}

// The selection copy monitor with its search button; the screenshot shortcut is bound
// at launch (bindSnipShortcut) and broken again at teardown.
void ShellAssembly::buildSelectionShell()
{
    const platform::PlatformServices &desktop = platform::services();
    SelectionCopyMonitor::Deps deps;
    deps.state = &m_core.state();
    deps.clipboard = desktop.clipboard;
    deps.copier = &m_voice.selectionCopier();
    deps.mouseMonitor = desktop.mouseMonitor;
    deps.scheduler = &Scheduler::instance();
    deps.translate = m_device.seams().translate;
    deps.translationWindow = &m_voice.translateWindow();
    deps.shell = m_mainWindow.get();
    deps.closeGuide = [this](QPoint at) { m_statusItem->closePopoverForMouseDownAt(at); };
    m_selectionMonitor = std::make_unique<SelectionCopyMonitor>(deps);
    // Broken whoever bound it last: the screenshot row binds it again too.
    m_snipBinding.set(
        [this] { m_core.shortcuts().breakBindingWithDefaultsKey(QString::fromLatin1(kSnipShortcutKey)); });
}

// The permissions window over the desktop's capabilities, and the login item that
// starts this program at login.
void ShellAssembly::buildPermissionsAndLogin(const Options &options)
{
    platform::IPermissionProbe *probe = options.permissionProbe;
    if (!probe) {
        m_ownedPermissionProbe =
            std::make_unique<platform::linuxbackend::X11PermissionProbe>(HIDDevice::registerDevice());
        probe = m_ownedPermissionProbe.get();
    }
    QXAuthorityManagementWindowController::Deps deps;
    deps.probe = probe;
    deps.workspace = platform::services().workspace;
    deps.helpPage = QXAuthorityManagementWindowController::defaultHelpPage();
    deps.alerts = m_alerts.get();
    m_authority = std::make_unique<QXAuthorityManagementWindowController>(deps);

    platform::ILoginItems *items = options.loginItems;
    if (!items) {
        m_ownedLoginItems = std::make_unique<platform::linuxbackend::XdgAutostartLoginItems>(qxAppDisplayName());
        items = m_ownedLoginItems.get();
    }
    m_startAtLogin = std::make_unique<StartAtLoginController>(*items);
    // The same program the installed launcher starts.
    m_startAtLogin->setBundle(QStringLiteral("com.quorvex.HelperApp"), QCoreApplication::applicationFilePath());
}

void ShellAssembly::listHooks(HookStates &out) const
{
    // Compared with the stand-ins the device seams resolve to, which log once and do
    // nothing in place of a window not built yet.
    const DeviceSeams none = DeviceSeams{}.resolved();
    const auto real = [](const void *seam, const void *standIn) { return seam && seam != standIn; };
    m_ota->listHooks(out);
    // Every other member of the page context is a reference, so it is filled.
    const PageContext c = pageContext();
    out.in(QStringLiteral("PageContext"))
        .add("aiWindow", real(&c.aiWindow, none.aiWindow))
        .add("translate", real(&c.translate, none.translate))
        .add("tips", real(&c.tips, none.tips));
    const DeviceSeams &seams = m_device.seams();
    out.in(QStringLiteral("StatusItemController"))
        .add("deps.voice", real(seams.voice, none.voice))
        .add("deps.aiWindow", real(seams.aiWindow, none.aiWindow));
    out.in(QStringLiteral("SelectionCopyMonitor")).add("deps.translate", real(seams.translate, none.translate));
}

// --- steps ---------------------------------------------------------------------------------

void ShellAssembly::applyLightAppearance()
{
    // Always light, whatever the desktop's theme.
    qxApplyLightAppearance();
}

void ShellAssembly::setIsFirstShow(bool on)
{
    m_statusItem->setIsFirstShow(on);
}

void ShellAssembly::checkAppVersion()
{
    // Silent when the site cannot be reached.
    m_ota->checkAppVersion();
}

void ShellAssembly::openApp()
{
    m_mainWindow->openApp();
}

void ShellAssembly::installExceptionWriter()
{
    // Already in place since main() started; installing it again changes nothing.
    QXUncaughtExceptionHandler::setDefaultHandler();
}

void ShellAssembly::addStatusItem()
{
    m_statusItem->addStatusItem();
}

void ShellAssembly::startSelectionMonitors()
{
    m_selectionMonitor->start();
}

// The global mouse monitors serve a device's keys and the selection it acts on: without
// a device nothing records the desktop's pointer.
void ShellAssembly::watchPointer(bool deviceConnected)
{
    if (platform::IGlobalMouseMonitor *monitor = platform::services().mouseMonitor)
        monitor->setActive(deviceConnected);
}

// Also on every build of the status item, connected or not: a receiver's removal breaks it.
void ShellAssembly::bindSnipShortcut()
{
    ::bindSnipShortcut(m_core.shortcuts(), m_core.state(), *m_device.seams().translate);
}

void ShellAssembly::configUI()
{
    m_mainWindow->configUI(m_pageFactory.get());
    // The device page loads the device profile on every device information, whether
    // or not the window was ever shown: it is made now, its view when first shown.
    m_mainWindow->preparePage(viewtag::kMouseSetting);
    // The self-test page has no tab; loading it runs its checks once, at launch.
    m_mainWindow->loadPage(viewtag::kSmartDetection);
    followCommandLists();
}

// Spoken commands must work before the personalisation tab is ever opened, yet that
// page is built only then: its requests go out here instead, the custom list again on
// each device information (its request carries the device's serial number), until
// the page's own list exists and asks for itself. The common list is asked again on
// each device information until it has arrived: the page asks for it only once, and
// a slow server at launch times out.
void ShellAssembly::followCommandLists()
{
    ICommandModel &commands = m_voice.commands();
    commands.fetchCommonCommands();
    commands.fetchCustomCommands({});
    m_commandListsObserver = std::make_unique<QObject>();
    m_core.notifications().addObserver(QString::fromLatin1(qx::notify::HadUSBInfoNotification),
                                       m_commandListsObserver.get(), [this](const QVariant &) {
                                           QXCommandViewModel &commands = m_voice.commands();
                                           if (!commands.commonCmdListArrived())
                                               commands.fetchCommonCommands();
                                           const QXBaseViewController *page =
                                               m_mainWindow->page(viewtag::kPersonalitySetting);
                                           if (!page || !page->isViewLoaded())
                                               commands.fetchCustomCommands({});
                                       });
}

void ShellAssembly::checkPermission(bool show)
{
    m_authority->checkPermission(show);
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

void ShellAssembly::probeReachability()
{
    // Only noted in the log: nothing waits for the network, and an offline start goes on
    // as any other. So no network backend is loaded and no thread started for it.
    qxInfo("app") << "network reachability:" << reachabilityFromRoutes();
}

void ShellAssembly::openCompanionApp()
{
    // The other platform's build opens a companion application when one is installed;
    // none exists for Linux, so there is nothing to look for.
}

void ShellAssembly::setLowElectricShown(bool shown)
{
    m_mainWindow->setLowElectricShown(shown);
}

void ShellAssembly::reopenStatusItem()
{
    m_statusItem->reopen();
}

void ShellAssembly::waitForPendingLogsBeforeTermination()
{
    QXToolManager::waitForPendingLogsBeforeTermination();
}
