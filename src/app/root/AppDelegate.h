#pragma once

#include "AppSteps.h"
#include "Scheduler.h"
#include "TPRDelayInvocation.h"

#include <QObject>

class IPopupTips;
class NotificationCenter;
class QXUserInfoData;

// The application's life: the launch steps in their order, the reactions to a
// receiver plugged in or removed, to a mouse connected or lost over Bluetooth LE and to
// its battery, a second launch asking for the window, and the termination steps.
// Everything it does goes through the steps the composition root hands it. Main
// thread.
class AppDelegate final : public QObject {
public:
    struct Deps {
        AppSteps steps;
        QXUserInfoData *state = nullptr;
        IPopupTips *tips = nullptr;
        NotificationCenter *notifications = nullptr; // nullptr: the default centre
        Scheduler *scheduler = nullptr;              // nullptr: the application's
    };
    // Connections over Bluetooth LE that repeat within this time ask the mouse once.
    static constexpr double kBleInfoDelaySeconds = 3.0;
    // After a low-battery tip, no other for this long.
    static constexpr int kLowElectricQuietMs = 60000;

    explicit AppDelegate(Deps deps, QObject *parent = nullptr);
    ~AppDelegate() override;

    // configData, the main window's interface, the permission check, the network
    // probe and the companion application, in that order.
    void applicationDidFinishLaunching();
    void configData();

    // Observer handlers.
    void usbDeviceConnectNotification();
    void usbDeviceRemoveNotification();
    void bleMouseConnect();
    void bleMouseDisConnect();
    void updateElectricInfo();

    // Another launch asked for the application: without a device, a tip says why no
    // window comes.
    void applicationShouldHandleReopen();
    // The speech service closes, the speech SDK shuts down, the log is written out.
    // Runs once, however the process ends (quit, signal, logout).
    void applicationWillTerminate();

    bool showLowElectric() const { return m_showLowElectric; }

private:
    void registerObservers();
    void createCommandTables();
    void receiverAppeared();
    void followConnection(); // the pointer is watched while a device is connected
    void logDeviceState(const char *what) const;
    Scheduler &scheduler() const;
    NotificationCenter &notifications() const;

    Deps m_deps;
    // Shared by every connection of this delegate, and by nothing else (a delegate made
    // after this one starts afresh).
    GroupKey m_bleInfoKey;
    bool m_showLowElectric = false;
    bool m_terminated = false;
    bool m_tablesMade = false;
};
