#pragma once

#include "HeadlessSpeechPopup.h"
#include "InstalledInstance.h"
#include "QXBLEManager.h"
#include "services/VoiceKeyState.h"
#include "services/DeviceSeams.h"
#include "VoiceKeyRelay.h"

#include <QObject>

#include <memory>
#include <optional>
#include <thread>

class AppAudioTool;
class BleNotificationParser;
class BleStateDelegate;
class HidInfoConnection;
class HidEventHandlers;
class IChipTokenClient;
class HidInfoReader;
class HIDDevice;
class IFlyASRManager;
class KeyValueStore;
class MessageBoxAlertPresenter;
class NotificationCenter;
class QXBLECommandManager;
class QXBLEMouseCommandManager;
class QXHidCommandManager;
class QXHidReportParser;
class QXAudioQueueCapture;
class QXHttpRequestManager;
class QXKeyPressManager;
class QXLanguageManager;
class QXMouseCommandManager;
class QXOTAUpdateManager;
class QXToolManager;
class QXToolManagerUI;
class QXUserInfoData;
class QXAudioMonitorService;
class QXCmdService;
class QXCommandViewModel;
class QXLocalTextPoster;
class QXResultDelivery;
class QXSpeechTranslation;
class QXWebApiAsrService;
class TKTTSManager;
class WQSSqliteOperation;
namespace platform {
class IDefaultInputSwitcher;
class IHidBackend;
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
// of the higher layers, and reacts to the device notifications that move the
// connection between USB and Bluetooth LE.
//
// Everything it constructs it owns, and destroying it takes the whole graph down and
// puts back what was installed before, so a process (a test) can build and tear
// down the graph more than once.
class CompanionApp final : public QObject {
public:
    struct Options {
        // Each nullptr or empty member gets the real Linux backend.
        KeyValueStore *store = nullptr;         // else the INI file of the data root (owned)
        platform::ISecretStore *secrets = nullptr;
        platform::IHidBackend *hid = nullptr;   // else hidraw + udev
        QXBLEManager::CentralFactory bleCentral; // else BlueZ through QtBluetooth
        bool desktopServices = true;            // X11 keys, clipboard, monitors, volume
        QString speechBase;                     // "ws://host:port"; else the configured speech service
        // Audio in and out; each nullptr gets the real backend, idle until first used.
        platform::IMicrophone *microphone = nullptr;
        platform::ISpeechSynth *speechSynth = nullptr;
        platform::IUrlAudioPlayer *urlPlayer = nullptr;
        // Else the sound server's when desktopServices is on; without one the default
        // input is left alone at launch.
        platform::IDefaultInputSwitcher *defaultInput = nullptr;
    };

    explicit CompanionApp(const Options &options);
    CompanionApp() : CompanionApp(Options{}) {}
    ~CompanionApp() override;
    CompanionApp(const CompanionApp &) = delete;
    CompanionApp &operator=(const CompanionApp &) = delete;

    // The launch steps of the device layers, in their order: voice from the device,
    // the HID watch, the application-version check (once per launch), the speech-language table, the
    // device observers, the two command tables (queued), the receiver's microphone as the default
    // input (on a thread of its own: the sound server may be slow), the Bluetooth LE scan.
    void configData();

    // Reactions to the device notifications.
    void usbDeviceConnectNotification();
    void usbDeviceRemoveNotification();
    void bleMouseConnect();
    void bleMouseDisConnect();

    // One log line with the scheduler's fired-timer count (for idle measurements).
    void logCounters() const;

    KeyValueStore &store() const { return *m_store; }
    QXUserInfoData &state() const { return *m_state; }
    HIDDevice &hid() const { return *m_hid; }
    QXBLEManager &ble() const { return *m_ble; }
    // The key and voice flags the device layers share with the voice pipeline.
    VoiceKeyState &keyState() { return m_keys; }
    QXWebApiAsrService &speech() const { return *m_speech; }
    QXAudioMonitorService &voiceKeys() const { return *m_dispatcher; }
    // What every device handler was handed of the higher layers.
    const DeviceSeams &seams() const { return m_seams; }

private:
    // One manager: owned, and installed for as long as it lives here.
    template <class T>
    struct Owned {
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
    void buildAudio(const Options &options);
    void takeDownAudio();
    void buildSpeechService(const QString &base);
    void buildVoice();
    void takeDownVoice();
    void wireHidSinks();
    void installDeviceAudioState();
    void wireReportParser();
    void registerObservers();
    void logDeviceState(const char *what) const;

    std::unique_ptr<KeyValueStore> m_ownedStore;
    KeyValueStore *m_store = nullptr;
    Owned<NotificationCenter> m_notifications;
    Owned<QXToolManager> m_tools;
    Owned<QXLanguageManager> m_languages;
    std::unique_ptr<platform::ISecretStore> m_ownedSecrets;
    Owned<QXUserInfoData> m_state;
    Owned<WQSSqliteOperation> m_database;
    Owned<QXHttpRequestManager> m_http;
    std::unique_ptr<platform::linuxbackend::LinuxDesktopServices> m_desktop;
    std::unique_ptr<IFlyASRManager> m_asrSdk;
    IFlyASRManager *m_previousAsrSdk = nullptr;
    Owned<QXToolManagerUI> m_toolUi;
    std::unique_ptr<platform::ShortcutBinder> m_shortcuts;
    std::optional<ScopedInstall<platform::ShortcutBinder>> m_installedShortcuts;

    // The higher layers as the device layers reach them. Until the voice pipeline, the
    // pointer overlay and the assistant windows exist, stand-ins that log once.
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
    std::unique_ptr<HidInfoReader> m_hidInfoReader;
    std::unique_ptr<HidInfoConnection> m_hidInfo;
    std::unique_ptr<MessageBoxAlertPresenter> m_alerts;
    Owned<QXOTAUpdateManager> m_ota;

    std::unique_ptr<platform::IPowerManager> m_power;
    std::unique_ptr<platform::ISelectionCopier> m_selectionCopier;
    std::unique_ptr<QXKeyPressManager> m_keyPress;

    // The voice pipeline: the speech service (before the device layers, whose decoders
    // record into it), the commands and translation the voice keys use, and the
    // dispatcher the device layers' relay passes key events to.
    HeadlessSpeechPopup m_popupStandIn;
    ISpeechPopup *m_popup = &m_popupStandIn;
    std::unique_ptr<QXWebApiAsrService> m_speech;
    std::unique_ptr<QXCommandViewModel> m_commands;
    std::unique_ptr<QXCmdService> m_cmdService;
    std::unique_ptr<QXLocalTextPoster> m_localPost;
    std::unique_ptr<QXResultDelivery> m_delivery;
    std::unique_ptr<QXSpeechTranslation> m_translation;
    Owned<QXAudioMonitorService> m_dispatcher;

    std::unique_ptr<platform::IMicrophone> m_ownedMicrophone;
    std::unique_ptr<platform::ISpeechSynth> m_ownedSpeechSynth;
    std::unique_ptr<platform::IUrlAudioPlayer> m_ownedUrlPlayer;
    std::unique_ptr<platform::IDefaultInputSwitcher> m_ownedDefaultInput;
    platform::IDefaultInputSwitcher *m_defaultInput = nullptr;
    std::thread m_defaultInputSwitch;
    std::unique_ptr<QXAudioQueueCapture> m_capture;
    QXAudioQueueCapture *m_previousCapture = nullptr;
    std::unique_ptr<TKTTSManager> m_tts;
    TKTTSManager *m_previousTts = nullptr;
    std::unique_ptr<AppAudioTool> m_audioTool;
    AppAudioTool *m_previousAudioTool = nullptr;
};
