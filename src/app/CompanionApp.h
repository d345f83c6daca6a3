#pragma once

#include "HookStates.h"
#include "InstalledInstance.h"
#include "QXBLEManager.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"
#include "VoiceKeyRelay.h"
#include "services/DeviceSeams.h"
#include "services/VoiceKeyState.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class AppAudioTool;
class AppPagePorts;
class AppDelegate;
class BleNotificationParser;
class BleStateDelegate;
class DeviceProfileController;
class HidInfoCommands;
class HidInfoConnection;
class HidEventHandlers;
class IChipTokenClient;
class HidInfoReader;
class HIDDevice;
class IFlyASRManager;
class IStatusItem;
class KeyValueStore;
class MainWindow;
class PageFactory;
struct PageContext;
class StatusItemController;
class MessageBoxAlertPresenter;
class NotificationCenter;
class QXBLECommandManager;
class QXBLEMouseCommandManager;
class QXHidCommandManager;
class QXHidReportParser;
class QXHotWordViewModel;
class QXAuthorityManagementWindowController;
class StartAtLoginController;
class TargetRecords;
class QXAudioQueueCapture;
class QXHttpRequestManager;
class QXKeyPressManager;
class QXLanguageManager;
class QXMouseCommandManager;
class QXNetSceneState;
class QXOTAUpdateManager;
class QXPopupWindowTool;
class QXToolManager;
class QXToolManagerUI;
class QXUserInfoData;
class QXAudioMonitorService;
class QXCmdService;
class QXCommandViewModel;
class QXLocalTextPoster;
class QXResultDelivery;
class QXSpeechTranslation;
class QXTextAreaManager;
class QXWebApiAsrService;
class SelectionCopyMonitor;
class TKTTSManager;
class WQSSqliteOperation;
namespace platform {
class IAccessibilityBridge;
class IDefaultInputSwitcher;
class IHidBackend;
class ILoginItems;
class IPermissionProbe;
class IMicrophone;
class IPowerManager;
class ISecretStore;
class ISelectionCopier;
class ISpeechSynth;
class IUrlAudioPlayer;
class ShortcutBinder;
namespace linuxbackend {
class LinuxDesktopServices;
}
} // namespace platform

// The composition root: picks the backends, constructs every manager with its
// dependencies and installs it as the process-wide instance (sharedInstance() returns
// what is installed here and never builds one), hands the device handlers the seams
// of the higher layers, and hands the application delegate (the launch, the device
// reactions, reopen and termination) the services over all of them.
//
// Everything it constructs it owns, and destroying it takes the whole graph down and
// puts back what was installed before, so a process (a test) can build and tear
// down the graph more than once.
class CompanionApp final : public QObject {
public:
    struct Options {
        // Each nullptr or empty member gets the real Linux backend.
        KeyValueStore *store = nullptr; // else the INI file of the data root (owned)
        platform::ISecretStore *secrets = nullptr;
        platform::IHidBackend *hid = nullptr;    // else hidraw + udev
        QXBLEManager::CentralFactory bleCentral; // else BlueZ through QtBluetooth
        bool desktopServices = true;             // X11 keys, clipboard, monitors, volume
        QString speechBase;                      // "ws://host:port"; else the configured speech service
        // Audio in and out; each nullptr gets the real backend, idle until first used.
        platform::IMicrophone *microphone = nullptr;
        platform::ISpeechSynth *speechSynth = nullptr;
        platform::IUrlAudioPlayer *urlPlayer = nullptr;
        // Else the sound server's when desktopServices is on; without one the default
        // input is left alone at launch.
        platform::IDefaultInputSwitcher *defaultInput = nullptr;
        // The accessibility bus the text-area writer reaches other applications' fields
        // through; else AT-SPI's.
        platform::IAccessibilityBridge *accessibility = nullptr;
        IStatusItem *statusItem = nullptr; // else the system tray's
        // Else the X11 probe and the XDG autostart folder.
        platform::IPermissionProbe *permissionProbe = nullptr;
        platform::ILoginItems *loginItems = nullptr;
        // Ends the application (the menu's and the guide's quit); else the event loop's quit.
        std::function<void()> quit = {};
    };

    explicit CompanionApp(const Options &options);
    CompanionApp() : CompanionApp(Options{}) {}
    ~CompanionApp() override;
    CompanionApp(const CompanionApp &) = delete;
    CompanionApp &operator=(const CompanionApp &) = delete;

    // The whole launch: configData, configUI, the permission check, the network probe.
    void applicationDidFinishLaunching();
    // Its first part: the managers started in their order and the device observers.
    void configData();
    // The main window's tabs and pages.
    void configUI();
    // Another launch asked for the application.
    void reopen();
    // The termination steps (once): at the event loop's end, or instead of it when a
    // signal came while the launch still ran.
    void applicationWillTerminate();

    // One log line with the scheduler's fired-timer count (for idle measurements).
    void logCounters() const;

    KeyValueStore &store() const { return *m_store; }
    QXUserInfoData &state() const { return *m_state; }
    HIDDevice &hid() const { return *m_hid; }
    QXBLEManager &ble() const { return *m_ble; }
    MainWindow &mainWindow() const { return *m_mainWindow; }
    StatusItemController &statusItem() const { return *m_statusItem; }
    // What every page is handed.
    PageContext pageContext() const;
    // The key and voice flags the device layers share with the voice pipeline.
    VoiceKeyState &keyState() { return m_keys; }
    QXWebApiAsrService &speech() const { return *m_speech; }
    QXAudioMonitorService &voiceKeys() const { return *m_dispatcher; }
    // What every device handler was handed of the higher layers.
    const DeviceSeams &seams() const { return m_seams; }
    // The launch shows it with checkPermission(true) when something is missing.
    QXAuthorityManagementWindowController &authorityManagementWindowController() const { return *m_authority; }
    // The software settings' start-up switch.
    StartAtLoginController &startAtLoginController() const { return *m_startAtLogin; }
    AppDelegate &delegate() const { return *m_delegate; }

    // Every hook the device layers declare, on the objects built here.
    HookStates hookStates() const;
    // The hooks left empty on purpose, by name pattern ("*" matches any text), each
    // with the reason. Every other hook of hookStates() is connected.
    struct EmptyOnPurpose {
        const char *pattern;
        const char *reason;
    };
    static const std::vector<EmptyOnPurpose> &emptyOnPurpose();

private:
    class Services;

    // One manager: owned, and installed for as long as it lives here.
    template <class T> struct Owned {
        std::unique_ptr<T> object;
        std::optional<ScopedInstall<T>> installed;
        T &install(std::unique_ptr<T> made)
        {
            object = std::move(made);
            installed.emplace(object.get());
            return *object;
        }
        void reset()
        {
            installed.reset();
            object.reset();
        }
        T *get() const { return object.get(); }
        T *operator->() const { return object.get(); }
        T &operator*() const { return *object; }
    };

    void buildDeviceProtocol();
    void buildKeyActions();
    void buildSelectionShell();
    void takeDownSelectionShell();
    void bindSnipShortcut();
    void buildAudio(const Options &options);
    void takeDownAudio();
    void buildSpeechService(const QString &base);
    void buildVoice(const Options &options);
    void takeDownVoice();
    void buildShell(const Options &options);
    void wireHidSinks();
    void installDeviceAudioState();
    void wireReportParser();
    void buildPermissionsAndLogin(const Options &options);
    void buildDeviceProfile();

    std::unique_ptr<KeyValueStore> m_ownedStore;
    KeyValueStore *m_store = nullptr;
    Owned<NotificationCenter> m_notifications;
    Owned<QXToolManager> m_tools;
    Owned<QXLanguageManager> m_languages;
    std::unique_ptr<platform::ISecretStore> m_ownedSecrets;
    Owned<QXUserInfoData> m_state;
    Owned<WQSSqliteOperation> m_database;
    Owned<QXHotWordViewModel> m_hotWords;
    std::unique_ptr<TargetRecords> m_targets;
    Owned<QXHttpRequestManager> m_http;
    Owned<QXNetSceneState> m_sceneState;
    std::unique_ptr<platform::linuxbackend::LinuxDesktopServices> m_desktop;
    std::unique_ptr<IFlyASRManager> m_asrSdk;
    IFlyASRManager *m_previousAsrSdk = nullptr;
    // The shell the alerts are shown on: made before them, gone before the pages' services.
    std::unique_ptr<MainWindow> m_mainWindow;
    Owned<QXToolManagerUI> m_toolUi;
    std::unique_ptr<platform::ShortcutBinder> m_shortcuts;
    std::optional<ScopedInstall<platform::ShortcutBinder>> m_installedShortcuts;

    Owned<QXPopupWindowTool> m_popups;

    // The higher layers as the device layers reach them: the shared key flags, the relay
    // to the voice-key dispatcher, the speech service and the tips; until the pointer
    // overlay and the assistant windows exist, stand-ins that log once in their place.
    VoiceKeyState m_keys;
    VoiceKeyRelay m_voiceRelay;
    DeviceSeams m_seams;

    std::unique_ptr<platform::IHidBackend> m_ownedHidBackend;
    Owned<HIDDevice> m_hid;
    Owned<QXBLEManager> m_ble;
    Owned<QXHidCommandManager> m_hidCommands;
    Owned<QXBLEMouseCommandManager> m_bleCommands;
    Owned<QXMouseCommandManager> m_facade;
    Owned<QXBLECommandManager> m_gadgetCommands;
    Owned<BleNotificationParser> m_bleParser;
    std::unique_ptr<BleStateDelegate> m_bleDelegate;
    Owned<QXHidReportParser> m_reportParser;
    std::unique_ptr<IChipTokenClient> m_chipTokens;
    std::unique_ptr<HidEventHandlers> m_hidEvents;
    std::unique_ptr<HidInfoCommands> m_hidInfoCommands;
    std::unique_ptr<HidInfoReader> m_hidInfoReader;
    std::unique_ptr<HidInfoConnection> m_hidInfo;
    std::unique_ptr<MessageBoxAlertPresenter> m_alerts;
    Owned<QXOTAUpdateManager> m_ota;

    std::unique_ptr<platform::IPowerManager> m_power;
    std::unique_ptr<platform::ISelectionCopier> m_selectionCopier;
    std::unique_ptr<QXKeyPressManager> m_keyPress;
    std::unique_ptr<SelectionCopyMonitor> m_selectionMonitor;
    bool m_snipBound = false;

    // The voice pipeline: the speech service (before the device layers, whose decoders
    // record into it), the commands and translation the voice keys use, and the
    // dispatcher the device layers' relay passes key events to.
    std::unique_ptr<QXWebApiAsrService> m_speech;
    std::unique_ptr<QXCommandViewModel> m_commands;
    std::unique_ptr<QXCmdService> m_cmdService;
    std::unique_ptr<QXLocalTextPoster> m_localPost;
    std::unique_ptr<QXResultDelivery> m_delivery;
    std::unique_ptr<QXSpeechTranslation> m_translation;
    Owned<QXAudioMonitorService> m_dispatcher;
    // Writing into the field under the pointer over the accessibility bus: built and
    // ready, but not registered for recognitions (paste is the delivery that runs).
    std::unique_ptr<platform::IAccessibilityBridge> m_ownedAccessibility;
    std::unique_ptr<QXTextAreaManager> m_textArea;

    std::unique_ptr<platform::IMicrophone> m_ownedMicrophone;
    std::unique_ptr<platform::ISpeechSynth> m_ownedSpeechSynth;
    std::unique_ptr<platform::IUrlAudioPlayer> m_ownedUrlPlayer;
    std::unique_ptr<platform::IDefaultInputSwitcher> m_ownedDefaultInput;
    platform::IDefaultInputSwitcher *m_defaultInput = nullptr;
    std::thread m_defaultInputSwitch;
    std::unique_ptr<QXAudioQueueCapture> m_capture;
    QXAudioQueueCapture *m_previousCapture = nullptr;
    // The family rules handed to the state layer, and what they replaced.
    QXToolManager::WavSampleRateRule m_previousWavRule;
    QXUserInfoData::DpiChoiceLookup m_previousDpiLookup = nullptr;
    std::unique_ptr<TKTTSManager> m_tts;
    TKTTSManager *m_previousTts = nullptr;
    std::unique_ptr<AppAudioTool> m_audioTool;
    AppAudioTool *m_previousAudioTool = nullptr;

    std::unique_ptr<IStatusItem> m_ownedStatusItem;
    // The pages: their ports over the managers above, and the factory that makes each
    // page over the context of pageContext().
    std::unique_ptr<AppPagePorts> m_pagePorts;
    std::unique_ptr<PageFactory> m_pageFactory;
    std::unique_ptr<StatusItemController> m_statusItem;
    std::unique_ptr<platform::IPermissionProbe> m_ownedPermissionProbe;
    std::unique_ptr<QXAuthorityManagementWindowController> m_authority;
    std::unique_ptr<platform::ILoginItems> m_ownedLoginItems;
    std::unique_ptr<StartAtLoginController> m_startAtLogin;

    std::unique_ptr<Services> m_services;
    std::unique_ptr<AppDelegate> m_delegate;

    // The device profile, until the device settings page owns it: loaded on every
    // device information.
    std::unique_ptr<DeviceProfileController> m_deviceProfile;
};
