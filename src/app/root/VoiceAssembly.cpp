#include "VoiceAssembly.h"

#include "CoreAssembly.h"
#include "DeviceAssembly.h"
#include "HIDDevice.h"
#include "PZLog.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "QXSemanticManager.h"
#include "QXSnip.h"
#include "QXTranslateManager.h"
#include "QXTranslateWindow.h"
#include "QXUserInfoData.h"
#include "TargetRecords.h"
#include "asr/IFlyASRManager.h"
#include "asr/QXAudioMonitorService.h"
#include "asr/QXWebApiAsrService.h"
#include "audio/AppAudioTool.h"
#include "audio/DefaultInputDevice.h"
#include "audio/QXAudioQueueCapture.h"
#include "audio/TKTTSManager.h"
#include "commands/QXCmdService.h"
#include "commands/QXCommandViewModel.h"
#include "commands/QXHotWordViewModel.h"
#include "commands/QXKeyPressManager.h"
#include "delivery/QXLocalTextPoster.h"
#include "delivery/QXResultDelivery.h"
#include "delivery/TextInsertionService.h"
#include "desktop/FilePicker.h"
#include "platform/PlatformServices.h"
#include "platform/PrimarySelectionCopier.h"
#include "platform/linux/AtspiAccessibilityBridge.h"
#include "platform/linux/LogindPowerManager.h"
#include "platform/linux/MultimediaBackends.h"
#include "platform/linux/PulseDefaultInputSwitcher.h"
#include "platform/linux/QtSpeechSynth.h"
#include "platform/linux/X11Compositing.h"
#include "platform/linux/X11SelectionCopier.h"
#include "popup/QXPopupWindowTool.h"
#include "sqlite/QXVoiceCommandItem.h"
#include "sqlite/WQSSqliteOperation.h"
#include "translation/QXSpeechTranslation.h"
#include "windows/MainWindow.h"

#include <QCursor>

VoiceAssembly::VoiceAssembly(CoreAssembly &core, DeviceAssembly &device, const Options &options, WindowPort window)
    : m_core(core), m_device(device)
{
    // Linux has no engine for the vendor speech SDK, so the settings never select it
    // and speech goes to the websocket service.
    if (platform::IAsrSdkEngine *sdk = platform::services().asrSdkEngine) {
        m_asrSdk = std::make_unique<IFlyASRManager>(*sdk);
        IFlyASRManager *previous = IFlyASRManager::setSharedInstance(m_asrSdk.get());
        m_asrSdkInstalled.set([this, previous] {
            m_asrSdk->shutdownSparkChainBeforeTermination();
            IFlyASRManager::setSharedInstance(previous);
        });
    }
    buildAudio(options);
    buildPopupsAndSpeech(options, window);
    buildKeyActions(options);
    buildDispatcher(window);
    buildTranslation(window);
    m_device.upperPorts().plug(m_dispatcher.get(), m_speech.get(), m_popups.get(), m_translateManager.get());
    m_unplug.set([this] {
        m_speech->prepareForApplicationTermination();
        m_device.upperPorts().plug(nullptr, nullptr, nullptr, nullptr);
        m_popups->setTranslationWindow(nullptr);
    });
}

VoiceAssembly::~VoiceAssembly() = default;

void VoiceAssembly::buildAudio(const Options &options)
{
    platform::IMicrophone *microphone = options.microphone;
    if (!microphone) {
        m_ownedMicrophone = platform::linuxbackend::createMicrophone();
        microphone = m_ownedMicrophone.get();
    }
    platform::ISpeechSynth *synth = options.speechSynth;
    if (!synth) {
        m_ownedSpeechSynth = std::make_unique<platform::linuxbackend::QtSpeechSynth>();
        synth = m_ownedSpeechSynth.get();
    }
    platform::IUrlAudioPlayer *player = options.urlPlayer;
    if (!player) {
        m_ownedUrlPlayer = platform::linuxbackend::createUrlAudioPlayer();
        player = m_ownedUrlPlayer.get();
    }
    m_defaultInput = options.defaultInput;
    if (!m_defaultInput && options.desktopServices) {
        m_ownedDefaultInput = std::make_unique<platform::linuxbackend::PulseDefaultInputSwitcher>();
        m_defaultInput = m_ownedDefaultInput.get();
    }
    m_joinDefaultInputSwitch.set([this] {
        if (m_defaultInputSwitch.joinable())
            m_defaultInputSwitch.join();
    });

    m_capture = std::make_unique<QXAudioQueueCapture>(*microphone);
    QXAudioQueueCapture *previousCapture = QXAudioQueueCapture::setSharedInstance(m_capture.get());
    m_captureInstalled.set([previousCapture] { QXAudioQueueCapture::setSharedInstance(previousCapture); });
    m_tts = std::make_unique<TKTTSManager>(*synth);
    TKTTSManager *previousTts = TKTTSManager::setSharedInstance(m_tts.get());
    m_ttsInstalled.set([previousTts] { TKTTSManager::setSharedInstance(previousTts); });
    m_audioTool = std::make_unique<AppAudioTool>(*player);
    AppAudioTool *previousAudioTool = AppAudioTool::setSharedManager(m_audioTool.get());
    m_audioToolInstalled.set([previousAudioTool] { AppAudioTool::setSharedManager(previousAudioTool); });
    m_semantic.install(std::make_unique<QXSemanticManager>(QXSemanticManager::Deps{m_tts.get(), m_audioTool.get()}));
}

// Selection and screenshot translation, through the pop-up tool that hands recognised
// text to the window; translations go through the speech pipeline's translator.
void VoiceAssembly::buildTranslation(const WindowPort &mainWindow)
{
    QXTranslateWindow::Deps window;
    window.state = &m_core.state();
    window.languages = &m_core.languages();
    window.isScreenshotsOCR = [popups = m_popups.get()] { return popups->isScreenshotsOCR(); };
    window.translateText = [this](const QString &text) { m_translateManager->translateText(text); };
    window.clipboard = platform::services().clipboard;
    window.tips = m_popups.get();
    window.translucent = platform::linuxbackend::windowsCanBeTranslucent();
    window.notifications = &m_core.notifications();
    m_translateWindow = std::make_unique<QXTranslateWindow>(std::move(window));
    m_popups->setTranslationWindow(m_translateWindow.get());
    QXTranslateManager::Deps translate;
    translate.state = &m_core.state();
    translate.languages = &m_core.languages();
    translate.popups = m_popups.get();
    translate.http = &m_core.http();
    translate.translator = [this]() -> ISpeechTranslator * { return m_translation.get(); };
    translate.startSnip = [this] { m_snip->startSnip(); };
    m_translateManager.install(std::make_unique<QXTranslateManager>(std::move(translate)));

    QXSnip::Deps snip;
    snip.state = &m_core.state();
    snip.translation = m_translateWindow.get();
    snip.setIsScreenshotsOCR = [popups = m_popups.get()](bool on) { popups->setIsScreenshotsOCR(on); };
    snip.translateImage = [manager = m_translateManager.get()](const QImage &image) { manager->translateImage(image); };
    snip.tips = m_popups.get();
    snip.clipboard = platform::services().clipboard;
    snip.files = [this, mainWindow]() -> FilePicker * {
        m_snipFiles = std::make_unique<DialogFilePicker>(mainWindow());
        return m_snipFiles.get();
    };
    snip.mainWindow = [mainWindow]() -> QWidget * { return mainWindow(); };
    snip.overlays = m_core.overlays();
    snip.scheduler = &Scheduler::instance();
    m_snip.install(std::make_unique<QXSnip>(std::move(snip)));
}

// The speech pop-up and the tip bubbles, translucent only where a compositor can show
// them; the speech service over the device's facade, the microphone and the vendor
// engine. The device's voice goes to the speech service from the first report on.
void VoiceAssembly::buildPopupsAndSpeech(const Options &options, const WindowPort &window)
{
    QXPopupWindowTool::Deps popupDeps;
    popupDeps.state = &m_core.state();
    popupDeps.keys = &m_device.keys();
    // The dispatcher is built after the pop-ups; the close button reaches it through
    // the device area's port, which it plugs into.
    popupDeps.voice = &m_device.upperPorts();
    popupDeps.mainWindow = [window]() -> QWidget * { return window(); };
    popupDeps.translucent = platform::linuxbackend::windowsCanBeTranslucent();
    QXPopupWindowTool &popups = m_popups.install(std::make_unique<QXPopupWindowTool>(popupDeps));

    QXWebApiAsrService::Deps deps;
    deps.state = &m_core.state();
    deps.languages = &m_core.languages();
    deps.device = &m_device.facade();
    deps.keys = &m_device.keys();
    deps.microphone = m_capture.get();
    deps.sdk = m_asrSdk.get();
    deps.serviceBase = options.speechBase;
    deps.pressType = [keys = &m_device.keys()] { return keys->pressType(); };
    deps.showSpeechView = [&popups](const QString &text, int type) { popups.showSpeechView(text, type); };
    deps.dismissSpeechView = [&popups] { popups.dismissSpeechView(); };
    deps.pausePlayback = [tts = m_tts.get(), audioTool = m_audioTool.get()] {
        tts->pauseSpeak(0);
        audioTool->stop();
    };
    deps.hotWords = [hotWords = &m_core.hotWords()] { return hotWords->getLocalHotWordListString(); };
    deps.semanticAnswer = [semantic = m_semantic.get()](const QJsonValue &dm) {
        semantic->analysisData(dm.toObject());
    };
    m_speech = std::make_unique<QXWebApiAsrService>(std::move(deps));
    QXWebApiAsrService *speech = m_speech.get();
    QXMouseCommandManager &facade = m_device.facade();
    facade.setSendVoiceDataBlock([speech](bool more, QByteArrayView audio) { speech->deviceVoice(more, audio); });
    m_deviceVoiceBlock.set([&facade] { facade.setSendVoiceDataBlock({}); });
}

// The text insertion and the programmable keys' actions, over the desktop services,
// the device facade and the higher layers' seams.
void VoiceAssembly::buildKeyActions(const Options &options)
{
    const platform::PlatformServices &desktop = platform::services();
    // Every paste, chord and field write into other applications goes through one
    // service.
    platform::IAccessibilityBridge *bridge = options.accessibility;
    if (!bridge) {
        m_ownedAccessibility = std::make_unique<platform::linuxbackend::AtspiAccessibilityBridge>();
        bridge = m_ownedAccessibility.get();
    }
    m_textInsertion = std::make_unique<TextInsertionService>(
        TextInsertionService::Deps{*desktop.clipboard, *desktop.keyPoster, &m_core.state(), &m_device.facade(), bridge,
                                   [] { return QCursor::pos(); }});
    m_power = std::make_unique<platform::linuxbackend::LogindPowerManager>();
    if (m_core.hasDesktop())
        m_selectionCopier = std::make_unique<platform::linuxbackend::X11SelectionCopier>(*desktop.clipboard);
    else
        m_selectionCopier = std::make_unique<platform::PrimarySelectionCopier>(*desktop.clipboard);
    const DeviceSeams &seams = m_device.seams();
    QXKeyPressManager::Deps deps;
    deps.state = &m_core.state();
    deps.device = &m_device.facade();
    deps.clipboard = desktop.clipboard;
    deps.text = m_textInsertion.get();
    deps.selectionCopier = m_selectionCopier.get();
    deps.workspace = desktop.workspace;
    deps.mouseMonitor = desktop.mouseMonitor;
    deps.power = m_power.get();
    deps.keys = seams.keys;
    deps.voice = seams.voice;
    deps.aiWindow = seams.aiWindow;
    deps.translate = seams.translate;
    deps.tips = seams.tips;
    deps.targets = &m_core.targets();
    m_keyPress = std::make_unique<QXKeyPressManager>(deps);
}

// The dispatcher and what it delivers through: commands, translation, paste and the
// local text endpoint.
void VoiceAssembly::buildDispatcher(const WindowPort &window)
{
    const platform::PlatformServices &desktop = platform::services();
    const DeviceSeams &seams = m_device.seams();
    m_commands = std::make_unique<QXCommandViewModel>(
        QXCommandViewModel::Deps{m_core.http(), m_core.database(), &m_core.hotWords()});
    m_cmdService = std::make_unique<QXCmdService>(
        QXCmdService::Deps{*m_commands, *desktop.workspace, *m_textInsertion, &m_core.targets()});
    m_localPost = std::make_unique<QXLocalTextPoster>();
    m_delivery = std::make_unique<QXResultDelivery>(
        QXResultDelivery::Deps{m_core.state(), m_core.languages(), *m_textInsertion, *seams.aiWindow, *m_cmdService,
                               *m_popups, *m_localPost, [window] {
                                   MainWindow *shown = window();
                                   return shown && shown->isShowAIWindow();
                               }});
    QXResultDelivery *delivery = m_delivery.get();
    VoiceKeyState *keys = &m_device.keys();
    ISpeechPopup *popup = m_popups.get();
    m_translation = std::make_unique<QXSpeechTranslation>(QXSpeechTranslation::Deps{
        m_core.http(), m_core.languages(), [keys] { return keys->pressType(); }, [keys] { return keys->hadStart(); },
        [popup](const QString &text) { popup->showYiText(text); },
        [delivery](const QString &text) { delivery->copyAndPasteResult(text); }});
    HIDDevice *hid = &m_device.hid();
    m_dispatcher.install(std::make_unique<QXAudioMonitorService>(QXAudioMonitorService::Deps{
        m_core.state(), *keys, m_device.facade(), *desktop.keyPoster, *m_speech, *m_popups, *m_keyPress, *m_translation,
        *m_delivery, &m_core.notifications(), [hid] { hid->closeHIDDevice(); }}));
}

// --- steps ---------------------------------------------------------------------------------

void VoiceAssembly::setAsrLanguageType(int type)
{
    m_core.languages().setAsrLanguageType(type);
}

void VoiceAssembly::startCenterMouseMonitor()
{
    m_keyPress->startCenterMouseMonitor();
}

void VoiceAssembly::createTable(const QString &name)
{
    WQSSqliteOperation &db = m_core.database();
    QString error;
    if (!db.createTableWithtableName(name, QXVoiceCommandItem(), &error))
        qxWarning("app") << "cannot create the table" << name << "in" << db.filePath() << ":" << error
                         << "- voice commands cannot be kept; check that the file and its folder can be written";
}

void VoiceAssembly::setDefaultInput(const QString &deviceName)
{
    // On a thread of its own: the sound server may be slow to answer, or not at all.
    if (!m_defaultInput || m_defaultInputSwitch.joinable())
        return;
    m_defaultInputSwitch = std::thread(
        [switcher = m_defaultInput, deviceName] { set_default_input_device_by_name(*switcher, deviceName); });
}

void VoiceAssembly::prepareForApplicationTermination()
{
    m_speech->prepareForApplicationTermination();
}

void VoiceAssembly::shutdownSparkChainBeforeTermination()
{
    // Only where a speech SDK engine exists.
    if (m_asrSdk)
        m_asrSdk->shutdownSparkChainBeforeTermination();
}
