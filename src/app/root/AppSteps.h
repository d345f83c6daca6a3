#pragma once

#include <QString>

#include <utility>

// What the application's launch, device reactions and termination reach of the
// managers and windows, one call per step, grouped by the area that carries it out.
// Each area's assembly implements its own steps over the objects it owns; the
// delegate's tests record them in order. Main thread.
class DeviceSteps {
public:
    virtual ~DeviceSteps() = default;
    virtual void setIsFromMicData(bool on) = 0;           // the command facade's voice source
    virtual void startMonitor() = 0;                      // the HID watch
    virtual std::pair<quint16, quint16> currentIds() = 0; // the receiver's vendor and product id
    virtual void startScan() = 0;                         // Bluetooth LE
    virtual void cancelPeripheralConnection() = 0;
    virtual void sendGetMouseInfoData() = 0;
    virtual void sendClosePopUpWebSiteData() = 0;
    virtual void invalidateTimer() = 0; // the HID command manager's connection poll
    virtual void closeHIDDevice() = 0;
    virtual void openHIDDevice() = 0;
};

class VoiceSteps {
public:
    virtual ~VoiceSteps() = default;
    virtual void setAsrLanguageType(int type) = 0;
    virtual void startCenterMouseMonitor() = 0;
    virtual void createTable(const QString &name) = 0; // a voice-command table
    virtual void setDefaultInput(const QString &deviceName) = 0;
    virtual void prepareForApplicationTermination() = 0; // the speech service closes its socket
    virtual void shutdownSparkChainBeforeTermination() = 0;
};

class ShellSteps {
public:
    virtual ~ShellSteps() = default;
    virtual void applyLightAppearance() = 0;
    virtual void setIsFirstShow(bool on) = 0; // the first connection opens the window once
    virtual void checkAppVersion() = 0;       // once per launch
    virtual void openApp() = 0;               // the main window, gone again without a device
    virtual void installExceptionWriter() = 0;
    virtual void addStatusItem() = 0;
    virtual void startSelectionMonitors() = 0;           // the four global mouse monitors
    virtual void watchPointer(bool deviceConnected) = 0; // the desktop's pointer, with a device only
    virtual void bindSnipShortcut() = 0;                 // with its default and the Option-only rule
    virtual void configUI() = 0;                         // the main window's tabs and pages
    virtual void checkPermission(bool show) = 0;
    virtual void probeReachability() = 0;
    virtual void openCompanionApp() = 0;
    virtual void setLowElectricShown(bool shown) = 0; // the image at the bottom of the tab column
    virtual void reopenStatusItem() = 0;              // the guide, where no status area exists
    virtual void waitForPendingLogsBeforeTermination() = 0;
};

// The steps of every area, as the application delegate is handed them.
struct AppSteps {
    DeviceSteps *device = nullptr;
    VoiceSteps *voice = nullptr;
    ShellSteps *shell = nullptr;
};
