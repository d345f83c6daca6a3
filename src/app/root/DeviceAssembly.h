#pragma once

#include "AppSteps.h"
#include "HookStates.h"
#include "Owned.h"
#include "QXBLEManager.h"
#include "services/DeviceSeams.h"
#include "services/VoiceKeyState.h"

#include <atomic>
#include <functional>
#include <memory>

class BleNotificationParser;
class BleStateDelegate;
class CoreAssembly;
class HIDDevice;
class HidEventHandlers;
class HidInfoCommands;
class HidInfoConnection;
class HidInfoReader;
class IChipTokenClient;
class QXBLECommandManager;
class QXBLEMouseCommandManager;
class QXHidCommandManager;
class QXHidReportParser;
class LaserPenOverlays;
class QXLaserPenManager;
class QXAIWindowTool;
class QXMouseCommandManager;
class QWidget;
namespace platform {
class IHidBackend;
}

// The device area: the USB receivers' transport, the Bluetooth LE central, the
// command managers and their facade, the parsers and the device-information reader.
// It owns the key and voice flags it shares with the voice area (VoiceKeyState) and
// the ports its events go up through; the voice area plugs into those ports once it
// is built (it needs the facade first) and unplugs before it goes. Members go in the
// reverse of their order: the transports first (they still call into the protocol
// managers while closing), then the managers and handlers they call.
class DeviceAssembly final : public DeviceSteps {
public:
    struct Options {
        platform::IHidBackend *hid = nullptr;    // else hidraw + udev
        QXBLEManager::CentralFactory bleCentral; // else BlueZ through QtBluetooth
        // The main window (built after this area, so asked for when needed): the
        // pointer's loupe puts it away when it opens.
        std::function<QWidget *()> mainWindow = {};
    };

    // What the device layers' events reach of the voice area: the voice-key
    // dispatcher, the speech service's recording file, the tip bubbles and the
    // translation manager. Until the voice area plugs in, and after it left, events
    // are dropped (logged once).
    class UpperPorts final : public IVoiceKeyDispatcher,
                             public ISpeechService,
                             public IPopupTips,
                             public ITranslateManager {
    public:
        void plug(IVoiceKeyDispatcher *voice, ISpeechService *speech, IPopupTips *tips, ITranslateManager *translate);
        void listHooks(HookStates &out) const;

        void hidCallbackType(int type) override;
        void cancelAsr() override;
        void endIMouseMonitor() override;
        QIODevice *fileHandle() override;
        void prepareForApplicationTermination() override;
        void showTipMessage(const QString &text, const QString &imageName) override;
        void snipTranslate() override;
        void hyperTranslate() override;

    private:
        // Events may come from any thread.
        std::atomic<IVoiceKeyDispatcher *> m_voice{nullptr};
        std::atomic<ISpeechService *> m_speech{nullptr};
        std::atomic<IPopupTips *> m_tips{nullptr};
        std::atomic<ITranslateManager *> m_translate{nullptr};
    };

    DeviceAssembly(CoreAssembly &core, const Options &options);
    ~DeviceAssembly() override;
    DeviceAssembly(const DeviceAssembly &) = delete;
    DeviceAssembly &operator=(const DeviceAssembly &) = delete;

    // --- the ports the voice and shell areas take
    VoiceKeyState &keys() { return m_keys; }
    UpperPorts &upperPorts() { return m_ports; }
    const DeviceSeams &seams() const { return m_seams; }
    QXAIWindowTool &aiWindow() const { return *m_aiWindow; }
    HIDDevice &hid() const { return *m_hid; }
    QXBLEManager &ble() const { return *m_ble; }
    QXHidCommandManager &hidCommands() const { return *m_hidCommands; }
    QXMouseCommandManager &facade() const { return *m_facade; }
    QXLaserPenManager &laserPen() const { return *m_laserPen; }

    // Every hook the device layers declare, on the objects built here.
    void listHooks(HookStates &out) const;

    // --- DeviceSteps
    void setIsFromMicData(bool on) override;
    void startMonitor() override;
    std::pair<quint16, quint16> currentIds() override;
    void startScan() override;
    void cancelPeripheralConnection() override;
    void sendGetMouseInfoData() override;
    void sendClosePopUpWebSiteData() override;
    void invalidateTimer() override;
    void closeHIDDevice() override;
    void openHIDDevice() override;

private:
    void buildProtocol(CoreAssembly &core);
    void installDeviceAudioState(CoreAssembly &core);
    void buildInfoReader(CoreAssembly &core);
    void buildReportParser(CoreAssembly &core);
    void wireHidSinks();

    VoiceKeyState m_keys;
    UpperPorts m_ports;
    std::unique_ptr<LaserPenOverlays> m_laserPenOverlays;
    Owned<QXLaserPenManager> m_laserPen; // outlives the transports that call it
    // The AI window holder, which the device layers' AI keys reach; it goes after them.
    Owned<QXAIWindowTool> m_aiWindow;
    DeviceSeams m_seams;
    Owned<QXHidCommandManager> m_hidCommands;
    Owned<QXBLEMouseCommandManager> m_bleCommands;
    Owned<QXMouseCommandManager> m_facade;
    Owned<QXBLECommandManager> m_gadgetCommands;
    Owned<BleNotificationParser> m_bleParser;
    std::unique_ptr<BleStateDelegate> m_bleDelegate;
    Owned<QXHidReportParser> m_reportParser;
    std::unique_ptr<IChipTokenClient> m_chipTokens;
    std::unique_ptr<HidEventHandlers> m_hidEvents;
    std::unique_ptr<platform::IHidBackend> m_ownedHidBackend;
    Owned<HIDDevice> m_hid;
    // The family rules handed to the state layer go back before the transport.
    AtTeardown m_deviceAudioState;
    std::unique_ptr<HidInfoCommands> m_hidInfoCommands;
    std::unique_ptr<HidInfoReader> m_hidInfoReader;
    std::unique_ptr<HidInfoConnection> m_hidInfo;
    // Emptied before what they call goes: the transport calls them while closing.
    AtTeardown m_hidSinks;
    Owned<QXBLEManager> m_ble;
    AtTeardown m_bleDelegateOff;
};
