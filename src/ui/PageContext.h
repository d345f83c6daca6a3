#pragma once

#include <functional>

class AlertPresenter;
class HIDDevice;
class IAIWindow;
class IAppShell;
class IErrorAlert;
class IPopupTips;
class ITranslateManager;
class KeyValueStore;
class NotificationCenter;
class QXHttpRequestManager;
class QXHidCommandManager;
class QXLanguageManager;
class QXMouseCommandManager;
class QXOTAUpdateManager;
class QXUserInfoData;
class Scheduler;
namespace platform {
class IWorkspace;
class ShortcutBinder;
} // namespace platform

// Everything a page of the main window may reach, handed to it when it is made. The
// composition root fills it with the application's objects, a page test with fakes
// over an in-memory store; a page reaches nothing else. A page that needs a service
// not listed here adds a member, and the root fills it.
struct PageContext {
    QXUserInfoData *state = nullptr;
    KeyValueStore *store = nullptr;
    QXLanguageManager *languages = nullptr;
    NotificationCenter *notifications = nullptr;
    Scheduler *scheduler = nullptr;

    QXHttpRequestManager *http = nullptr;       // the maker's API
    QXMouseCommandManager *device = nullptr;    // commands to the connected device
    QXHidCommandManager *hidCommands = nullptr; // the HID-only commands (lighting, report rate)
    QXOTAUpdateManager *ota = nullptr;          // firmware and application updates
    HIDDevice *hid = nullptr;                   // the open receiver's ids

    IAIWindow *aiWindow = nullptr;
    ITranslateManager *translate = nullptr;
    IPopupTips *tips = nullptr;
    AlertPresenter *alerts = nullptr;
    IErrorAlert *errorAlert = nullptr;             // a message with its detail text and one closing button
    std::function<void()> showPermissions;         // the permissions window, raised (empty: not available)
    IAppShell *shell = nullptr;                    // the main window: host of sheets and file panels
    platform::ShortcutBinder *shortcuts = nullptr; // the global shortcuts
    platform::IWorkspace *workspace = nullptr;     // opens files and web addresses
};
