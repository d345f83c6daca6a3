#pragma once

#include "AppSteps.h"
#include "Owned.h"

#include <functional>
#include <memory>
#include <thread>

class QXSemanticManager;
class DialogFilePicker;
class QXSnip;
class QXTranslateManager;
class QXTranslateWindow;
class AppAudioTool;
class CoreAssembly;
class DeviceAssembly;
class IFlyASRManager;
class MainWindow;
class QWidget;
class QXAudioMonitorService;
class QXAudioQueueCapture;
class QXCmdService;
class QXCommandViewModel;
class QXKeyPressManager;
class QXLocalTextPoster;
class QXPopupWindowTool;
class QXResultDelivery;
class QXSpeechTranslation;
class QXWebApiAsrService;
class TKTTSManager;
class TextInsertionService;
namespace platform {
class IAccessibilityBridge;
class IDefaultInputSwitcher;
class IMicrophone;
class IPowerManager;
class ISelectionCopier;
class ISpeechSynth;
class IUrlAudioPlayer;
} // namespace platform

// The voice area: audio in and out, the speech pop-up and tips, the speech service,
// the text insertion into other applications, the programmable keys' actions, and the voice-key dispatcher with the
// commands, translation and deliveries it uses. It is built over the device area's facade and plugs into the device
// area's ports; it unplugs (and the speech service closes) before anything here goes. Members go in the reverse of
// their order.
class VoiceAssembly final : public VoiceSteps {
public:
    struct Options {
        // Audio in and out; each nullptr gets the real backend, idle until first used.
        platform::IMicrophone *microphone = nullptr;
        platform::ISpeechSynth *speechSynth = nullptr;
        platform::IUrlAudioPlayer *urlPlayer = nullptr;
        // Else the sound server's when desktopServices is on; without one the default
        // input is left alone at launch.
        platform::IDefaultInputSwitcher *defaultInput = nullptr;
        bool desktopServices = true;
        // The accessibility bus the text insertion reaches other applications' fields
        // through; else AT-SPI's.
        platform::IAccessibilityBridge *accessibility = nullptr;
        QString speechBase; // "ws://host:port"; else the configured speech service
    };
    // What the voice area takes of the shell, which is built after it: the main window
    // while one exists (nullptr before and after).
    using WindowPort = std::function<MainWindow *()>;

    VoiceAssembly(CoreAssembly &core, DeviceAssembly &device, const Options &options, WindowPort window);
    ~VoiceAssembly() override;
    VoiceAssembly(const VoiceAssembly &) = delete;
    VoiceAssembly &operator=(const VoiceAssembly &) = delete;

    // --- the ports the shell takes
    QXWebApiAsrService &speech() const { return *m_speech; }
    QXAudioMonitorService &dispatcher() const { return *m_dispatcher; }
    QXPopupWindowTool &popups() const { return *m_popups; }
    platform::ISelectionCopier &selectionCopier() const { return *m_selectionCopier; }
    TextInsertionService &textInsertion() const { return *m_textInsertion; }
    QXTranslateWindow &translateWindow() const { return *m_translateWindow; }
    QXCommandViewModel &commands() const { return *m_commands; }

    // --- VoiceSteps
    void setAsrLanguageType(int type) override;
    void startCenterMouseMonitor() override;
    void createTable(const QString &name) override;
    void setDefaultInput(const QString &deviceName) override;
    void prepareForApplicationTermination() override;
    void shutdownSparkChainBeforeTermination() override;

private:
    void buildAudio(const Options &options);
    void buildPopupsAndSpeech(const Options &options, const WindowPort &window);
    void buildKeyActions(const Options &options);
    void buildDispatcher(const WindowPort &window);
    void buildTranslation(const WindowPort &mainWindow);

    CoreAssembly &m_core;
    DeviceAssembly &m_device;

    // The vendor speech SDK's recogniser, only where an engine for it is registered.
    std::unique_ptr<IFlyASRManager> m_asrSdk;
    AtTeardown m_asrSdkInstalled;
    std::unique_ptr<platform::IMicrophone> m_ownedMicrophone;
    std::unique_ptr<platform::ISpeechSynth> m_ownedSpeechSynth;
    std::unique_ptr<platform::IUrlAudioPlayer> m_ownedUrlPlayer;
    std::unique_ptr<platform::IDefaultInputSwitcher> m_ownedDefaultInput;
    platform::IDefaultInputSwitcher *m_defaultInput = nullptr;
    std::thread m_defaultInputSwitch;
    AtTeardown m_joinDefaultInputSwitch;
    std::unique_ptr<QXAudioQueueCapture> m_capture;
    AtTeardown m_captureInstalled;
    std::unique_ptr<TKTTSManager> m_tts;
    AtTeardown m_ttsInstalled;
    std::unique_ptr<AppAudioTool> m_audioTool;
    AtTeardown m_audioToolInstalled;
    // Reads the speech service's semantic answers aloud (only while the in-memory
    // semantic switch is on, which nothing turns on).
    Owned<QXSemanticManager> m_semantic;

    // The speech pop-up and the tip bubbles, which the device layers' tips go to too.
    Owned<QXPopupWindowTool> m_popups;
    std::unique_ptr<QXWebApiAsrService> m_speech;
    AtTeardown m_deviceVoiceBlock;

    std::unique_ptr<platform::IPowerManager> m_power;
    std::unique_ptr<platform::ISelectionCopier> m_selectionCopier;
    // Pastes, chords and field writes into other applications (the field writes over
    // the accessibility bus are ready but not used for recognitions: paste runs).
    std::unique_ptr<platform::IAccessibilityBridge> m_ownedAccessibility;
    std::unique_ptr<TextInsertionService> m_textInsertion;
    std::unique_ptr<QXKeyPressManager> m_keyPress;

    std::unique_ptr<QXCommandViewModel> m_commands;
    std::unique_ptr<QXCmdService> m_cmdService;
    std::unique_ptr<QXLocalTextPoster> m_localPost;
    std::unique_ptr<QXResultDelivery> m_delivery;
    std::unique_ptr<QXSpeechTranslation> m_translation;
    Owned<QXAudioMonitorService> m_dispatcher;
    // Selection and screenshot translation: the window (its widgets made when it first
    // shows) and the manager the device layers, the shell and the pages call.
    std::unique_ptr<QXTranslateWindow> m_translateWindow;
    Owned<QXTranslateManager> m_translateManager;
    // The screen capture that screenshot translation starts, and its save panel on
    // whichever main window exists when it asks.
    std::unique_ptr<DialogFilePicker> m_snipFiles;
    Owned<QXSnip> m_snip;
    // First of all at teardown: the speech service closes and the device area's
    // events stop coming here.
    AtTeardown m_unplug;
};
