#pragma once

#include "CoreAssembly.h"
#include "DeviceAssembly.h"
#include "HookStates.h"
#include "ShellAssembly.h"
#include "VoiceAssembly.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class AppDelegate;
class IStatusItem;
class MainWindow;
class QXAudioMonitorService;
class QXAuthorityManagementWindowController;
class QXUserInfoData;
class QXWebApiAsrService;
class StartAtLoginController;
class StatusItemController;
struct PageContext;

// The composition root: picks the backends and builds the application area by area,
// each area an assembly that constructs its managers with their dependencies, installs
// them as the process-wide instances (sharedInstance() returns what is installed here
// and never builds one) and exposes the ports the next area takes: the core (state,
// preferences, network, desktop services), the device layers, the voice pipeline and
// the shell. The application delegate (the launch, the device reactions, reopen and
// termination) is handed the steps of all of them.
//
// The areas are members in the order they are built, so they go in the reverse one:
// destroying the root takes the whole graph down and puts back what was installed
// before, so a process (a test) can build and tear down the graph more than once.
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
        // The full-screen effects' screen pictures, else the X server's root window, and
        // the compositing check, else X11's.
        platform::IScreenGrabber *screenGrabber = nullptr;
        std::function<bool()> compositor = {};
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

    KeyValueStore &store() const { return m_core.store(); }
    QXUserInfoData &state() const { return m_core.state(); }
    HIDDevice &hid() const { return m_device.hid(); }
    QXBLEManager &ble() const { return m_device.ble(); }
    MainWindow &mainWindow() const { return m_shell.mainWindow(); }
    StatusItemController &statusItem() const { return m_shell.statusItem(); }
    // What every page is handed.
    PageContext pageContext() const;
    // What makes the main window's pages over that context.
    PageFactory &pageFactory() const { return m_shell.pageFactory(); }
    // The key and voice flags the device layers share with the voice pipeline.
    VoiceKeyState &keyState() { return m_device.keys(); }
    QXWebApiAsrService &speech() const { return m_voice.speech(); }
    QXAudioMonitorService &voiceKeys() const { return m_voice.dispatcher(); }
    // What every device handler was handed of the higher layers.
    const DeviceSeams &seams() const { return m_device.seams(); }
    // The launch shows it with checkPermission(true) when something is missing.
    QXAuthorityManagementWindowController &authorityManagementWindowController() const { return m_shell.authority(); }
    // The software settings' start-up switch.
    StartAtLoginController &startAtLoginController() const { return m_shell.startAtLogin(); }
    AppDelegate &delegate() const { return *m_delegate; }

    // Every hook the device layers declare on the objects built here, the ports between
    // the areas, and the seams of the pages and windows.
    HookStates hookStates() const;
    // The hooks left empty on purpose, by name pattern ("*" matches any text), each
    // with the reason. Every other hook of hookStates() is connected.
    struct EmptyOnPurpose {
        const char *pattern;
        const char *reason;
    };
    static const std::vector<EmptyOnPurpose> &emptyOnPurpose();

private:
    CoreAssembly m_core;
    DeviceAssembly m_device;
    // The device and voice areas' port to the shell's main window, which is built after them.
    QPointer<MainWindow> m_window;
    VoiceAssembly m_voice;
    ShellAssembly m_shell;
    std::unique_ptr<AppDelegate> m_delegate;
};
