#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>

class GuidePopover;
class IAIWindow;
class IAppShell;
class IStatusItem;
class IVoiceKeyDispatcher;
class QXGuideViewController;
class QXHidCommandManager;
class QXMouseCommandManager;
class QXUserInfoData;
class Scheduler;

// The status item and its two states. Connected: the normal icon and a menu to open
// the main window or quit. Not connected: the disconnected icon, whose click shows or
// hides the guide; and nothing else of the application stays on screen (main window,
// AI window, a running voice input). Where the desktop has no status area, the guide
// is an ordinary window that comes up at launch and whenever the device goes away.
class StatusItemController : public QObject {
    Q_OBJECT
public:
    struct Deps {
        QXUserInfoData *state = nullptr;
        IStatusItem *item = nullptr;
        IAppShell *shell = nullptr;
        QXMouseCommandManager *device = nullptr;
        QXHidCommandManager *hidCommands = nullptr; // the pointer receiver's offline command
        IVoiceKeyDispatcher *voice = nullptr;
        IAIWindow *aiWindow = nullptr;
        Scheduler *scheduler = nullptr; // nullptr: the application's
        // Binds the screenshot shortcut again; empty while there is none.
        std::function<void()> rebindSnipShortcut;
        // Ends the application.
        std::function<void()> terminate;
    };
    static constexpr int kFirstShowDelayMs = 1000;
    static constexpr int kMenuQuitDelayMs = 1000;

    explicit StatusItemController(Deps deps, QObject *parent = nullptr);
    ~StatusItemController() override;

    // Rebuilds the item for the connection state of this moment. Any thread: the work
    // runs on the main thread.
    void addStatusItem();
    // Shows the guide, or hides it when shown.
    void itemPopoverAction();
    // Hides the guide popover when it is shown (a click elsewhere, the application
    // losing the focus). The guide window of a desktop without a status area stays.
    void closePopover();
    // A mouse-down in another application: closes the popover, except on the item
    // itself (the panel's window), whose click follows and toggles the guide; closing
    // it first would make that click open it again.
    void closePopoverForMouseDownAt(QPoint screenPos);
    // The menu's quit: the device gets its pop-up web site back and a pointer receiver
    // hears that the host goes offline; the application ends a second later, the event
    // loop running meanwhile so the paced commands leave.
    void exitApp();
    // Another launch asked for the application: without a status area and a device,
    // the guide is the only thing to show.
    void reopen();

    bool isShow() const { return m_isShow; }
    bool isFirstShow() const { return m_isFirstShow; }
    void setIsFirstShow(bool on) { m_isFirstShow = on; }
    QXGuideViewController &guideVC();
    // nullptr until the guide was first shown.
    GuidePopover *popover() const { return m_popover.get(); }

private:
    void build();
    void buildConnected();
    void buildDisconnected();
    void showGuide();
    void hideGuide();
    Scheduler &scheduler() const;

    Deps m_deps;
    std::unique_ptr<QXGuideViewController> m_guideVC;
    std::unique_ptr<GuidePopover> m_popover;
    bool m_isShow = false;
    bool m_isFirstShow = true;
    bool m_quitting = false;
    enum class Built { None, Connected, Disconnected } m_built = Built::None;
};
