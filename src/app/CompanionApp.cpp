#include "CompanionApp.h"

#include "AppAudioTool.h"
#include "AppDelegate.h"
#include "AppPagePorts.h"
#include "BleNotificationParser.h"
#include "BleStateDelegate.h"
#include "CompanionAppServices.h"
#include "DataPaths.h"
#include "DeviceProfileController.h"
#include "DpiTables.h"
#include "FamilyTraits.h"
#include "FirstRunLanguage.h"
#include "HIDDevice.h"
#include "HRVLocalizedString.h"
#include "HidEventHandlers.h"
#include "HidFirmwareTransfer.h"
#include "HidInfoCommands.h"
#include "HidInfoConnection.h"
#include "IChipTokenClient.h"
#include "IFlyASRManager.h"
#include "KeyValueStore.h"
#include "MainWindow.h"
#include "MessageBoxAlertPresenter.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "PageFactory.h"
#include "QXAudioMonitorService.h"
#include "QXAudioQueueCapture.h"
#include "QXAuthorityManagementWindowController.h"
#include "QXBLECommandManager.h"
#include "QXBLEMouseCommandManager.h"
#include "QXCmdService.h"
#include "QXCommandViewModel.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXHotWordViewModel.h"
#include "QXHttpRequestManager.h"
#include "QXKeyPressManager.h"
#include "QXLanguageManager.h"
#include "QXLocalTextPoster.h"
#include "QXMouseCommandManager.h"
#include "QXNetSceneState.h"
#include "QXOTAUpdateManager.h"
#include "QXPopupWindowTool.h"
#include "QXResultDelivery.h"
#include "QXSpeechTranslation.h"
#include "QXTextAreaManager.h"
#include "QXToolManager.h"
#include "QXToolManagerUI.h"
#include "QXUserInfoData.h"
#include "QXWebApiAsrService.h"
#include "Scheduler.h"
#include "SelectionCopyMonitor.h"
#include "SnipShortcut.h"
#include "StartAtLoginController.h"
#include "StatusItemController.h"
#include "TKTTSManager.h"
#include "TargetRecords.h"
#include "TrayStatusItem.h"
#include "platform/PlatformServices.h"
#include "platform/PrimarySelectionCopier.h"
#include "platform/ShortcutBinder.h"
#include "platform/linux/AtspiAccessibilityBridge.h"
#include "platform/linux/BluezBleCentral.h"
#include "platform/linux/KeychainSecretStore.h"
#include "platform/linux/LinuxDesktopServices.h"
#include "platform/linux/LinuxHidBackend.h"
#include "platform/linux/LogindPowerManager.h"
#include "platform/linux/MultimediaBackends.h"
#include "platform/linux/PulseDefaultInputSwitcher.h"
#include "platform/linux/QtSpeechSynth.h"
#include "platform/linux/X11Compositing.h"
#include "platform/linux/X11PermissionProbe.h"
#include "platform/linux/X11SelectionCopier.h"
#include "platform/linux/XdgAutostartLoginItems.h"
#include "services/LanguageHooks.h"
#include "sqlite/WQSSqliteOperation.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace {

// The voice chip's token comes from the HTTP client's token request.
class HttpChipTokenClient final : public IChipTokenClient {
public:
    explicit HttpChipTokenClient(QXHttpRequestManager &http) : m_http(http) {}
    void getIFlytekTokenWithCallback(QXSceneCallback callback) override
    {
        m_http.getIFlytekTokenWithCallback(std::move(callback));
    }

private:
    QXHttpRequestManager &m_http;
};

} // namespace

CompanionApp::CompanionApp(const Options &options)
{
    // Preferences first: everything below reads them.
    if (options.store) {
        m_store = options.store;
    } else {
        // The user log lives in that folder too, so this goes to the console log.
        if (!DataPaths::ensureDir(DataPaths::dataRoot()))
            qxWarning("app") << "cannot create the data folder" << DataPaths::dataRoot()
                             << "- preferences and logs are not kept";
        m_ownedStore = std::make_unique<IniKeyValueStore>(DataPaths::preferenceFile());
        m_store = m_ownedStore.get();
    }
    setDefaultStore(m_store);
    m_notifications.install(std::make_unique<NotificationCenter>());
    m_tools.install(std::make_unique<QXToolManager>());

    QXLanguageManager &languages = m_languages.install(std::make_unique<QXLanguageManager>(*m_store));
    applyFirstRunInterfaceLanguage(*m_store, languages);
    installLanguageHooks({[&languages] { return languages.readUILanguageCode(); },
                          [&languages] { return languages.readAudioLanguageCode(); },
                          [](const QString &source) { return hrvAppLocalizedString(source); }});

    // The first use of the application state loads every preference and runs its migrations.
    platform::ISecretStore *secrets = options.secrets;
    if (!secrets) {
        m_ownedSecrets =
            std::make_unique<platform::linuxbackend::KeychainSecretStore>(QCoreApplication::applicationName());
        secrets = m_ownedSecrets.get();
    }
    m_state.install(std::make_unique<QXUserInfoData>(*m_store, secrets));
    // The command tables and the transcription jobs, in the data root's database file.
    m_database.install(std::make_unique<WQSSqliteOperation>());
    // The hot words every recognition frame carries, kept in step by the command model,
    // and the files and folders the user picked (only those are ever opened).
    m_hotWords.install(std::make_unique<QXHotWordViewModel>(*m_database));
    m_targets = std::make_unique<TargetRecords>(*m_store);
    m_http.install(std::make_unique<QXHttpRequestManager>());
    // What the requests read of the state and the language tables installed above.
    m_sceneState.install(std::make_unique<QXAppSceneState>());

    // Keys, clipboard, mouse monitors, volume and the opener of files and web addresses.
    if (options.desktopServices)
        m_desktop = std::make_unique<platform::linuxbackend::LinuxDesktopServices>();
    // The vendor speech SDK's recogniser, only where an engine for it is registered.
    // Linux has none, so the settings never select it and speech goes to the
    // websocket service.
    if (platform::IAsrSdkEngine *sdk = platform::services().asrSdkEngine) {
        m_asrSdk = std::make_unique<IFlyASRManager>(*sdk);
        m_previousAsrSdk = IFlyASRManager::setSharedInstance(m_asrSdk.get());
    }
    // The main window is the shell the alerts below are shown on.
    MainWindow::Deps windowDeps;
    windowDeps.state = m_state.get();
    // The status item comes later; re-titles before it exists have no menu to redo.
    windowDeps.addStatusItem = [this] {
        if (m_statusItem)
            m_statusItem->addStatusItem();
    };
    m_mainWindow = std::make_unique<MainWindow>(std::move(windowDeps));
    QXToolManagerUI::Deps toolUi;
    toolUi.shell = m_mainWindow.get();
    toolUi.targets = m_targets.get();
    m_toolUi.install(std::make_unique<QXToolManagerUI>(toolUi));
    // The global shortcuts the user and the receivers bind, kept in the preferences.
    m_shortcuts = std::make_unique<platform::ShortcutBinder>(*m_store);
    m_installedShortcuts.emplace(m_shortcuts.get());

    // The speech pop-up and the tip bubbles, which the device layers' tips go to too.
    // Translucent only where a compositor can show it. The voice keys go through the
    // relay to the dispatcher, which is built last.
    QXPopupWindowTool::Deps popupDeps;
    popupDeps.state = m_state.get();
    popupDeps.keys = &m_keys;
    popupDeps.voice = &m_voiceRelay;
    popupDeps.mainWindow = [window = QPointer<QWidget>(m_mainWindow.get())] { return window.data(); };
    popupDeps.translucent = platform::linuxbackend::windowsCanBeTranslucent();
    m_popups.install(std::make_unique<QXPopupWindowTool>(popupDeps));
    buildSpeechService(options.speechBase);
    DeviceSeams seams{&m_keys, &m_voiceRelay};
    seams.speech = m_speech.get();
    seams.tips = m_popups.get();
    m_seams = seams.resolved();

    // The USB receivers: one transport for the process, watching from launch on.
    platform::IHidBackend *hidBackend = options.hid;
    if (!hidBackend) {
        m_ownedHidBackend = std::make_unique<platform::linuxbackend::LinuxHidBackend>();
        hidBackend = m_ownedHidBackend.get();
    }
    m_hid.install(std::make_unique<HIDDevice>(hidBackend, m_seams));

    // The Bluetooth LE central: a fresh BlueZ central for every scan session. Its
    // delegate follows once the parser it hands the values to exists.
    QXBLEManager::CentralFactory central = options.bleCentral;
    if (!central)
        central = [] { return std::make_unique<platform::linuxbackend::BluezBleCentral>(); };
    m_ble.install(std::make_unique<QXBLEManager>(std::move(central)));

    buildDeviceProtocol();
    wireHidSinks();
    installDeviceAudioState();
    // Device-information reports of receivers without key setting, and the hot keys of
    // the voice-assistant receivers (F1/F2/F3).
    m_hidInfoCommands = std::make_unique<HidInfoCommands>(*m_facade);
    HidInfoReader::Deps readerDeps;
    readerDeps.seams = m_seams;
    readerDeps.commands = m_hidInfoCommands.get();
    readerDeps.volume = platform::services().volume;
    readerDeps.binder = m_shortcuts.get();
    m_hidInfoReader = std::make_unique<HidInfoReader>(HidInfoConnection::pressTypeDeps(*m_hid, readerDeps));
    m_hidInfo = std::make_unique<HidInfoConnection>(*m_hid, *m_hidInfoReader, m_shortcuts.get());
    wireReportParser();

    // Firmware and application updates; their questions are message boxes on the main window.
    m_alerts = std::make_unique<MessageBoxAlertPresenter>(m_mainWindow.get());
    QXOTAUpdateManager::Deps otaDeps;
    otaDeps.store = m_store;
    otaDeps.state = m_state.get();
    otaDeps.alerts = m_alerts.get();
    otaDeps.workspace = platform::services().workspace;
    otaDeps.network = m_http->urlSessionManager();
    QXOTAUpdateManager &ota = m_ota.install(std::make_unique<QXOTAUpdateManager>(otaDeps));
    // Firmware transfers take the images the update manager downloaded.
    m_facade->setFirmwareImagePaths([&ota] { return ota.filePath(); }, [&ota] { return ota.filePathDongle(); });

    buildKeyActions();
    buildSelectionShell();
    buildAudio(options);
    buildVoice(options);
    buildPermissionsAndLogin(options);
    buildShell(options);
    buildDeviceProfile();
}

// The device profile (key tree, language lists, feature flags, AI addresses) of the
// product whose information just arrived. Until the device settings page owns the
// loader, the root keeps it and asks on every device information.
void CompanionApp::buildDeviceProfile()
{
    m_deviceProfile = std::make_unique<DeviceProfileController>(pageContext());
    DeviceProfileController *profile = m_deviceProfile.get();
    m_notifications->addObserver(QString::fromLatin1(qx::notify::HadUSBInfoNotification), profile,
                                 [profile](const QVariant &) { profile->getCustomerKey(); });
}

CompanionApp::~CompanionApp()
{
    // The profile loader and the shell first: they reach every service below.
    m_deviceProfile.reset();
    m_delegate.reset();
    m_services.reset();
    m_statusItem.reset();
    m_mainWindow.reset();
    m_pageFactory.reset();
    m_pagePorts.reset();
    m_ownedStatusItem.reset();
    m_startAtLogin.reset();
    m_authority.reset();
    takeDownVoice();
    takeDownAudio();
    takeDownSelectionShell();
    m_keyPress.reset();
    m_selectionCopier.reset();
    m_power.reset();
    if (m_asrSdk) {
        m_asrSdk->shutdownSparkChainBeforeTermination();
        IFlyASRManager::setSharedInstance(m_previousAsrSdk);
        m_asrSdk.reset();
    }
    // Transports first (they still call into the protocol managers while closing), then
    // the managers and handlers they call, then the state everything reads.
    m_ble->setDelegate(nullptr);
    m_ble.reset();
    m_hidInfo.reset();
    m_hidInfoReader.reset();
    m_hidInfoCommands.reset();
    m_hid->setSinks({});
    QXToolManager::setWavRateInputsProvider({});
    QXToolManager::setWavSampleRateRule(std::move(m_previousWavRule));
    QXUserInfoData::setDpiChoiceLookup(m_previousDpiLookup);
    m_hid.reset();
    m_ownedHidBackend.reset();
    m_ota.reset();
    m_alerts.reset();
    m_hidEvents.reset();
    m_chipTokens.reset();
    m_reportParser.reset();
    m_bleDelegate.reset();
    m_bleParser.reset();
    m_gadgetCommands.reset();
    m_facade.reset();
    m_bleCommands.reset();
    m_hidCommands.reset();
    m_installedShortcuts.reset();
    m_shortcuts.reset();
    m_popups.reset();
    m_toolUi.reset();
    m_speech.reset();
    m_desktop.reset();
    m_sceneState.reset();
    m_http.reset();
    m_targets.reset();
    m_hotWords.reset();
    m_database.reset();
    m_state.reset();
    installLanguageHooks({});
    m_languages.reset();
    m_tools.reset();
    m_notifications.reset();
    setDefaultStore(nullptr);
    m_ownedStore.reset();
}

// The status item and the pages of the main window.
void CompanionApp::buildShell(const Options &options)
{
    IStatusItem *item = options.statusItem;
    if (!item) {
        m_ownedStatusItem = std::make_unique<TrayStatusItem>();
        item = m_ownedStatusItem.get();
    }
    m_pagePorts = std::make_unique<AppPagePorts>(
        AppPagePorts::Deps{*m_hidCommands, *m_facade, *m_ota, *m_hid, *m_http, *m_authority});
    m_pageFactory = std::make_unique<PageFactory>(pageContext());
    StatusItemController::Deps deps;
    deps.state = m_state.get();
    deps.item = item;
    deps.shell = m_mainWindow.get();
    deps.device = m_facade.get();
    deps.hidCommands = m_hidCommands.get();
    deps.voice = m_seams.voice;
    deps.aiWindow = m_seams.aiWindow;
    deps.terminate = options.quit ? options.quit : [] { QCoreApplication::quit(); };
    deps.rebindSnipShortcut = [this] { bindSnipShortcut(); };
    m_statusItem = std::make_unique<StatusItemController>(std::move(deps));

    m_services = std::make_unique<Services>(*this);
    AppDelegate::Deps delegate;
    delegate.services = m_services.get();
    delegate.state = m_state.get();
    delegate.tips = m_seams.tips;
    delegate.notifications = m_notifications.get();
    m_delegate = std::make_unique<AppDelegate>(delegate);
}

// Every member is the application's own object; a seam the higher layers have not
// filled yet is its logged stand-in (m_seams is resolved), and without a desktop
// workspace the pages' ports stand in for it.
PageContext CompanionApp::pageContext() const
{
    platform::IWorkspace *workspace = platform::services().workspace;
    return PageContext{
        .state = *m_state,
        .store = *m_store,
        .languages = *m_languages,
        .notifications = *m_notifications,
        .scheduler = Scheduler::instance(),
        .device = *m_facade,
        .hidCommands = *m_pagePorts,
        .firmware = *m_pagePorts,
        .receiver = *m_pagePorts,
        .api = *m_pagePorts,
        .images = *m_pagePorts,
        .aiWindow = *m_seams.aiWindow,
        .translate = *m_seams.translate,
        .tips = *m_seams.tips,
        .alerts = *m_alerts,
        .errorAlert = *m_toolUi,
        .permissionsWindow = *m_pagePorts,
        .shell = *m_mainWindow,
        .startAtLogin = *m_startAtLogin,
        .shortcuts = *m_shortcuts,
        .workspace = workspace ? *workspace : static_cast<platform::IWorkspace &>(*m_pagePorts),
    };
}

void CompanionApp::buildDeviceProtocol()
{
    QXHidCommandManager &hid = m_hidCommands.install(std::make_unique<QXHidCommandManager>(m_seams));
    hid.setHidSink(m_hid.get());
    // Plan-7 voice says whether it streams wide band; the recordings' rate follows it.
    QXUserInfoData *state = m_state.get();
    hid.setSamplingRateSink([state](bool wide) {
        if (state->samplingRate() != qint64(wide))
            qxInfo("hid") << "device voice sampling flag:" << (wide ? "16 kHz" : "8 kHz");
        state->setSamplingRate(wide ? 1 : 0);
    });
    QXBLEMouseCommandManager &ble =
        m_bleCommands.install(std::make_unique<QXBLEMouseCommandManager>(m_ble.get(), m_hid.get(), m_seams));
    QXMouseCommandManager &facade = m_facade.install(std::make_unique<QXMouseCommandManager>(&hid, &ble));
    // The device's voice goes to the speech service from the first report on.
    facade.setSendVoiceDataBlock(
        [speech = m_speech.get()](bool more, QByteArrayView audio) { speech->deviceVoice(more, audio); });
    QXBLEManager *central = m_ble.get();
    m_gadgetCommands.install(
        std::make_unique<QXBLECommandManager>([central](const QByteArray &frame) { return central->sendData(frame); }));
    BleNotificationParser &bleParser = m_bleParser.install(std::make_unique<BleNotificationParser>(ble, central));
    // State, voice source and every value of the mouse go from the central to the parser.
    m_bleDelegate = std::make_unique<BleStateDelegate>(&bleParser, &facade);
    m_ble->setDelegate(m_bleDelegate.get());
}

// The programmable keys' actions, over the desktop services, the device facade and
// the higher layers' seams.
void CompanionApp::buildKeyActions()
{
    const platform::PlatformServices &desktop = platform::services();
    m_power = std::make_unique<platform::linuxbackend::LogindPowerManager>();
    if (m_desktop)
        m_selectionCopier = std::make_unique<platform::linuxbackend::X11SelectionCopier>(*desktop.clipboard);
    else
        m_selectionCopier = std::make_unique<platform::PrimarySelectionCopier>(*desktop.clipboard);
    QXKeyPressManager::Deps deps;
    deps.state = m_state.get();
    deps.device = m_facade.get();
    deps.keyPoster = desktop.keyPoster;
    deps.clipboard = desktop.clipboard;
    deps.selectionCopier = m_selectionCopier.get();
    deps.workspace = desktop.workspace;
    deps.mouseMonitor = desktop.mouseMonitor;
    deps.power = m_power.get();
    deps.keys = m_seams.keys;
    deps.voice = m_seams.voice;
    deps.aiWindow = m_seams.aiWindow;
    deps.translate = m_seams.translate;
    deps.tips = m_seams.tips;
    deps.targets = m_targets.get();
    m_keyPress = std::make_unique<QXKeyPressManager>(deps);
}

// The selection copy monitor with its search button, and the screenshot shortcut.
void CompanionApp::buildSelectionShell()
{
    const platform::PlatformServices &desktop = platform::services();
    SelectionCopyMonitor::Deps deps;
    deps.state = m_state.get();
    deps.clipboard = desktop.clipboard;
    deps.copier = m_selectionCopier.get();
    deps.mouseMonitor = desktop.mouseMonitor;
    deps.scheduler = &Scheduler::instance();
    deps.translate = m_seams.translate;
    deps.shell = m_mainWindow.get();
    // The status item comes later; a mouse-down before it exists has no guide to close.
    deps.closeGuide = [this](QPoint at) {
        if (m_statusItem)
            m_statusItem->closePopoverForMouseDownAt(at);
    };
    m_selectionMonitor = std::make_unique<SelectionCopyMonitor>(deps);
}

// Also on every connected build of the status item: a receiver's removal breaks it.
void CompanionApp::bindSnipShortcut()
{
    ::bindSnipShortcut(*m_shortcuts, *m_state, *m_seams.translate);
    m_snipBound = true;
}

void CompanionApp::takeDownSelectionShell()
{
    if (m_snipBound)
        m_shortcuts->breakBindingWithDefaultsKey(QString::fromLatin1(kSnipShortcutKey));
    m_snipBound = false;
    m_selectionMonitor.reset();
}

void CompanionApp::buildAudio(const Options &options)
{
    platform::IMicrophone *microphone = options.microphone;
    if (!microphone) {
        m_ownedMicrophone = platform::linuxbackend::createMicrophone();
        microphone = m_ownedMicrophone.get();
    }
    m_capture = std::make_unique<QXAudioQueueCapture>(*microphone);
    m_previousCapture = QXAudioQueueCapture::setSharedInstance(m_capture.get());

    platform::ISpeechSynth *synth = options.speechSynth;
    if (!synth) {
        m_ownedSpeechSynth = std::make_unique<platform::linuxbackend::QtSpeechSynth>();
        synth = m_ownedSpeechSynth.get();
    }
    m_tts = std::make_unique<TKTTSManager>(*synth);
    m_previousTts = TKTTSManager::setSharedInstance(m_tts.get());

    platform::IUrlAudioPlayer *player = options.urlPlayer;
    if (!player) {
        m_ownedUrlPlayer = platform::linuxbackend::createUrlAudioPlayer();
        player = m_ownedUrlPlayer.get();
    }
    m_audioTool = std::make_unique<AppAudioTool>(*player);
    m_previousAudioTool = AppAudioTool::setSharedManager(m_audioTool.get());

    m_defaultInput = options.defaultInput;
    if (!m_defaultInput && options.desktopServices) {
        m_ownedDefaultInput = std::make_unique<platform::linuxbackend::PulseDefaultInputSwitcher>();
        m_defaultInput = m_ownedDefaultInput.get();
    }
}

// The service takes its device, microphone and vendor engine as installed at each use.
void CompanionApp::buildSpeechService(const QString &base)
{
    QXWebApiAsrService::Deps deps;
    deps.state = m_state.get();
    deps.languages = m_languages.get();
    deps.serviceBase = base;
    deps.pressType = [keys = &m_keys] { return keys->pressType(); };
    deps.showSpeechView = [this](const QString &text, int type) { m_popups->showSpeechView(text, type); };
    deps.dismissSpeechView = [this] { m_popups->dismissSpeechView(); };
    deps.pausePlayback = [this] {
        if (m_tts)
            m_tts->pauseSpeak(0);
        if (m_audioTool)
            m_audioTool->stop();
    };
    deps.hotWords = [hotWords = m_hotWords.get()] { return hotWords->getLocalHotWordListString(); };
    m_speech = std::make_unique<QXWebApiAsrService>(std::move(deps));
}

// The dispatcher and what it delivers through: commands, translation, paste and the
// local text endpoint.
void CompanionApp::buildVoice(const Options &options)
{
    const platform::PlatformServices &desktop = platform::services();
    m_commands = std::make_unique<QXCommandViewModel>(QXCommandViewModel::Deps{*m_http, *m_database, m_hotWords.get()});
    m_cmdService = std::make_unique<QXCmdService>(
        QXCmdService::Deps{*m_commands, *desktop.workspace, *desktop.keyPoster, *desktop.clipboard, m_targets.get()});
    m_localPost = std::make_unique<QXLocalTextPoster>();
    m_delivery = std::make_unique<QXResultDelivery>(QXResultDelivery::Deps{
        *m_state, *m_languages, *m_facade, *desktop.keyPoster, *desktop.clipboard, *m_seams.aiWindow, *m_cmdService,
        *m_popups, *m_localPost,
        [window = QPointer<MainWindow>(m_mainWindow.get())] { return window && window->isShowAIWindow(); }});
    QXResultDelivery *delivery = m_delivery.get();
    VoiceKeyState *keys = &m_keys;
    ISpeechPopup *popup = m_popups.get();
    m_translation = std::make_unique<QXSpeechTranslation>(QXSpeechTranslation::Deps{
        *m_http, *m_languages, [keys] { return keys->pressType(); }, [keys] { return keys->hadStart(); },
        [popup](const QString &text) { popup->showYiText(text); },
        [delivery](const QString &text) { delivery->copyAndPasteResult(text); }});
    HIDDevice *hid = m_hid.get();
    QXAudioMonitorService &dispatcher =
        m_dispatcher.install(std::make_unique<QXAudioMonitorService>(QXAudioMonitorService::Deps{
            *m_state, m_keys, *m_facade, m_bleCommands.get(), *desktop.keyPoster, *m_speech, *m_popups, *m_keyPress,
            *m_translation, *m_delivery, m_notifications.get(), [hid] { hid->closeHIDDevice(); }}));
    m_voiceRelay.setTarget(&dispatcher);

    platform::IAccessibilityBridge *bridge = options.accessibility;
    if (!bridge) {
        m_ownedAccessibility = std::make_unique<platform::linuxbackend::AtspiAccessibilityBridge>();
        bridge = m_ownedAccessibility.get();
    }
    QXPopupWindowTool *popups = m_popups.get();
    m_textArea = std::make_unique<QXTextAreaManager>(QXTextAreaManager::Deps{
        bridge, [] { return QCursor::pos(); }, [popups] { return popups->isLast(); }, m_notifications.get()});
}

void CompanionApp::takeDownVoice()
{
    m_speech->prepareForApplicationTermination();
    m_voiceRelay.setTarget(nullptr);
    m_textArea.reset();
    m_ownedAccessibility.reset();
    m_dispatcher.reset();
    m_translation.reset();
    m_delivery.reset();
    m_localPost.reset();
    m_cmdService.reset();
    m_commands.reset();
}

// The permissions window over the desktop's capabilities, and the login item that
// starts this program at login.
void CompanionApp::buildPermissionsAndLogin(const Options &options)
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
    m_authority = std::make_unique<QXAuthorityManagementWindowController>(deps);

    platform::ILoginItems *items = options.loginItems;
    if (!items) {
        m_ownedLoginItems = std::make_unique<platform::linuxbackend::XdgAutostartLoginItems>(QStringLiteral("Zandor"));
        items = m_ownedLoginItems.get();
    }
    m_startAtLogin = std::make_unique<StartAtLoginController>(*items);
    // The same program the installed launcher starts.
    m_startAtLogin->setBundle(QStringLiteral("com.quorvex.HelperApp"), QCoreApplication::applicationFilePath());
}

void CompanionApp::takeDownAudio()
{
    if (m_defaultInputSwitch.joinable())
        m_defaultInputSwitch.join();
    AppAudioTool::setSharedManager(m_previousAudioTool);
    m_audioTool.reset();
    TKTTSManager::setSharedInstance(m_previousTts);
    m_tts.reset();
    QXAudioQueueCapture::setSharedInstance(m_previousCapture);
    m_capture.reset();
}

// The recordings' sample rate (and the speech frames' audio format) follow the device
// in use: the family from the state, the receiver from the HID transport. The rate
// rule and the DPI tables are the device families' and are handed to the state layer.
void CompanionApp::installDeviceAudioState()
{
    m_previousWavRule = QXToolManager::setWavSampleRateRule(&wavSampleRate);
    m_previousDpiLookup = QXUserInfoData::setDpiChoiceLookup(&DpiTables::choiceFor);
    QXToolManager::setWavRateInputsProvider([state = m_state.get(), hid = m_hid.get()] {
        WavRateInputs in;
        in.bleConnect = state->bleConnect();
        in.chipPlan = int(state->chipPlan());
        in.deviceType = int(state->mouseInfoItem().deviceType());
        in.firmwareVersion = state->mouseInfoItem().firmwareVersion();
        in.samplingRate = int(state->samplingRate());
        in.currentVid = quint16(hid->currentVid());
        in.currentPid = quint16(hid->currentPid());
        return in;
    });
}

void CompanionApp::wireHidSinks()
{
    QXHidCommandManager *hidCommands = m_hidCommands.get();
    QXMouseCommandManager *facade = m_facade.get();
    HidDeviceSinks s;
    s.startTimer = [hidCommands] { hidCommands->startTimer(); };
    s.invalidateTimer = [hidCommands] { hidCommands->invalidateTimer(); };
    s.setIsStartVoice = [hidCommands](bool on) { hidCommands->setIsStartVoice(on); };
    s.sendCloseMicData = [hidCommands] { hidCommands->sendCloseMicData(); };
    s.sendTelinkLaserPenOnlineData = [hidCommands] { hidCommands->sendTelinkLaserPenOnlineData(); };
    HIDDevice *hid = m_hid.get();
    QXUserInfoData *state = m_state.get();
    s.handleVoiceData = [hid, hidCommands, state](const QByteArray &report) {
        proto::HidVoiceContext ctx;
        ctx.chipPlan = int(state->chipPlan());
        ctx.vendorId = quint16(hid->currentVid());
        ctx.productId = quint16(hid->currentPid());
        ctx.firmwareVersion = int(std::clamp<qint64>(state->mouseInfoItem().firmwareNumber(), INT_MIN, INT_MAX));
        ctx.isStartVoice = hidCommands->isStartVoice();
        hidCommands->voiceStream().handleVoiceData(ctx, report);
    };
    s.setIsFromMicData = [facade](bool on) { facade->setIsFromMicData(on); };
    s.sendGetMouseInfoData = [facade] { facade->sendGetMouseInfoData(); };
    s.sendClosePopUpWebSiteData = [facade] { facade->sendClosePopUpWebSiteData(); };
    QXBLEManager *ble = m_ble.get();
    s.cancelPeripheralConnection = [ble] { ble->cancelPeripheralConnection(); };
    m_hid->setSinks(std::move(s));
}

// Replies and events of the receivers with key setting, and the voice interface's
// reports, go through the report parser.
void CompanionApp::wireReportParser()
{
    QXHidReportParser &parser =
        m_reportParser.install(std::make_unique<QXHidReportParser>(*m_hidCommands, m_facade.get()));
    QXHidReportParser::Services services;
    QXBLEManager *ble = m_ble.get();
    HIDDevice *hid = m_hid.get();
    services.cancelPeripheralConnection = [ble] { ble->cancelPeripheralConnection(); };
    services.startScan = [ble] { ble->startScan(); };
    services.currentIds = [hid] {
        return std::pair<quint16, quint16>(quint16(hid->currentVid()), quint16(hid->currentPid()));
    };
    parser.setServices(std::move(services));
    parser.attachTo(*m_hid);
    // Key events, voice keys and the voice chip; lighting, hand and pointer replies.
    // The receivers' firmware-transfer replies go to the HID transfer.
    parser.setOtaAckHandler(&m_hidCommands->firmwareTransfer());
    m_chipTokens = std::make_unique<HttpChipTokenClient>(*m_http);
    m_hidEvents = std::make_unique<HidEventHandlers>(parser, m_chipTokens.get());
}

void CompanionApp::applicationDidFinishLaunching()
{
    m_delegate->applicationDidFinishLaunching();
}

void CompanionApp::configData()
{
    m_delegate->configData();
}

void CompanionApp::configUI()
{
    m_services->configUI();
}

void CompanionApp::reopen()
{
    m_delegate->applicationShouldHandleReopen();
}

void CompanionApp::applicationWillTerminate()
{
    m_delegate->applicationWillTerminate();
}

HookStates CompanionApp::hookStates() const
{
    HookStates out;
    m_hid->listHooks(out);
    m_hidInfoReader->listHooks(out);
    m_ble->listHooks(out);
    m_facade->listHooks(out); // and the HID and Bluetooth LE command managers
    m_reportParser->listHooks(out);
    m_hidEvents->keys().listHooks(out);
    m_bleParser->listHooks(out);
    m_gadgetCommands->listHooks(out);
    m_ota->listHooks(out);
    out.in(QStringLiteral("QXToolManager")).add("wavRateInputs", QXToolManager::hasWavRateInputsProvider());
    out.in(QStringLiteral("QXToolManager")).add("wavSampleRateRule", QXToolManager::hasWavSampleRateRule());
    out.in(QStringLiteral("QXUserInfoData")).add("dpiChoiceLookup", QXUserInfoData::dpiChoiceLookup() != nullptr);
    return out;
}

const std::vector<CompanionApp::EmptyOnPurpose> &CompanionApp::emptyOnPurpose()
{
    static const std::vector<EmptyOnPurpose> list{
        {"*.seams.laserPen", "the pointer overlay is not built yet"},
        {"*.seams.aiWindow", "the AI window is not built yet"},
        {"*.seams.translate", "the translation windows are not built yet"},
        {"QXBLECommandManager.logBlock", "the gadget's pages, which show its log, are not built yet"},
        {"QXBLECommandManager.delegate", "the gadget's pages, which take its recordings, are not built yet"},
        {"BleNotificationParser.formatSize", "empty reads the speech language's chunk size, as wanted"},
        // Not constructed at all, so not in the list of hooks:
        {"QXHidapiManager.*", "the hidapi transport, which the application never selects"},
        {"QXUsbInfoManager.*", "the USB presence watcher, which nothing starts"},
    };
    return list;
}

void CompanionApp::logCounters() const
{
    qxInfo("app") << "timers fired:" << Scheduler::instance().firedCount();
}
