#pragma once

#include "QXBLEManager.h"
#include "services/Neighbours.h"

#include <QObject>

#include <memory>
#include <thread>

class BleStateDelegate;
class HidInfoConnection;
class HidEventHandlers;
class IChipTokenClient;
class HidInfoReader;
class HIDDevice;
class IFlyASRManager;
class KeyValueStore;
class MessageBoxAlertPresenter;
class QXKeyPressManager;
class SelectionCopyMonitor;
class QXOTAUpdateManager;
class QXLanguageManager;
class QXUserInfoData;
class QXAudioQueueCapture;
class TKTTSManager;
class AppAudioTool;
namespace platform {
class IDefaultInputSwitcher;
class IHidBackend;
class IMicrophone;
class IPowerManager;
class ISecretStore;
class ISelectionCopier;
class ISpeechSynth;
class IUrlAudioPlayer;
namespace linuxbackend {
class LinuxDesktopServices;
}
} // namespace platform

// The composition root of the device layers: creates the application's objects with
// their backends, installs them as the process-wide instances, connects the transports
// to the protocol managers and the application state, and reacts to the device
// notifications that move the connection between USB and Bluetooth LE.
//
// Everything it installs it takes back when destroyed, so a process (a test) can build
// and tear down the graph more than once. The long-lived protocol managers keep their
// identity but lose every hook into the torn-down graph.
class CompanionApp final : public QObject {
public:
    struct Options {
        // Each nullptr or empty member gets the real Linux backend.
        KeyValueStore *store = nullptr;         // else the INI file of the data root (owned)
        platform::ISecretStore *secrets = nullptr;
        platform::IHidBackend *hid = nullptr;   // else hidraw + udev
        QXBLEManager::CentralFactory bleCentral; // else BlueZ through QtBluetooth
        bool desktopServices = true;            // X11 keys, clipboard, monitors, volume
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
    // device observers, the centre-button monitor, the two command tables (queued), the four
    // selection monitors and the screenshot shortcut, the receiver's microphone as the default
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

private:
    void buildKeyActions();
    void buildSelectionShell();
    void startSelectionShell();
    void takeDownSelectionShell();
    void wireHidSinks();
    void wireProtocol();
    void wireReportParser(bool attach);
    void unwireProtocol();
    void registerObservers();
    void logDeviceState(const char *what) const;
    void buildAudio(const Options &options);
    void takeDownAudio();

    std::unique_ptr<KeyValueStore> m_ownedStore;
    KeyValueStore *m_store = nullptr;
    std::unique_ptr<platform::ISecretStore> m_ownedSecrets;
    std::unique_ptr<QXLanguageManager> m_languages;
    QXLanguageManager *m_previousLanguages = nullptr;
    std::unique_ptr<QXUserInfoData> m_state;
    QXUserInfoData *m_previousState = nullptr;
    std::unique_ptr<platform::linuxbackend::LinuxDesktopServices> m_desktop;
    std::unique_ptr<IFlyASRManager> m_asrSdk;
    IFlyASRManager *m_previousAsrSdk = nullptr;
    std::unique_ptr<platform::IPowerManager> m_power;
    std::unique_ptr<platform::ISelectionCopier> m_selectionCopier;
    std::unique_ptr<QXKeyPressManager> m_keyPress;
    std::unique_ptr<SelectionCopyMonitor> m_selectionMonitor;
    bool m_snipBound = false;
    Neighbours m_previousNeighbours;
    std::unique_ptr<platform::IHidBackend> m_ownedHidBackend;
    std::unique_ptr<HIDDevice> m_hid;
    HIDDevice *m_previousHid = nullptr;
    std::unique_ptr<HidInfoReader> m_hidInfoReader;
    std::unique_ptr<HidInfoConnection> m_hidInfo;
    std::unique_ptr<IChipTokenClient> m_chipTokens;
    std::unique_ptr<HidEventHandlers> m_hidEvents;
    std::unique_ptr<BleStateDelegate> m_bleDelegate;
    std::unique_ptr<QXBLEManager> m_ble;
    QXBLEManager *m_previousBle = nullptr;
    std::unique_ptr<MessageBoxAlertPresenter> m_alerts;
    std::unique_ptr<QXOTAUpdateManager> m_ota;
    QXOTAUpdateManager *m_previousOta = nullptr;

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
