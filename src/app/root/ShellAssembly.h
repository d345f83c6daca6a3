#pragma once

#include "AppSteps.h"
#include "HookStates.h"
#include "Owned.h"

#include <QObject>

#include <functional>
#include <memory>

class AccountHeaders;
class AddCommandDialogs;
class AppPagePorts;
class DialogFilePicker;
class CoreAssembly;
class DeviceAssembly;
class IStatusItem;
class MainWindow;
class MessageBoxAlertPresenter;
class PageFactory;
class QXAuthorityManagementWindowController;
class QXOTAUpdateManager;
class QXToolManagerUI;
class QtOwnTexts;
class SelectionCopyMonitor;
class StartAtLoginController;
class StatusItemController;
class VoiceAssembly;
struct PageContext;
namespace platform {
class IFileRevealer;
class ILoginItems;
class IPermissionProbe;
} // namespace platform

// The shell: the main window with its pages, the alerts shown over it, the firmware
// and application updates, the status item, the selection copy monitor with the
// screenshot shortcut, the permissions window and the login item. Built last, over
// the ports of the other areas; members go in the reverse of their order, the status
// item and the main window (whose pages reach every service) first.
class ShellAssembly final : public ShellSteps {
public:
    struct Options {
        IStatusItem *statusItem = nullptr; // else the system tray's
        // Else the X11 probe and the XDG autostart folder.
        platform::IPermissionProbe *permissionProbe = nullptr;
        platform::ILoginItems *loginItems = nullptr;
        // Ends the application (the menu's and the guide's quit); else the event loop's quit.
        std::function<void()> quit = {};
    };

    ShellAssembly(CoreAssembly &core, DeviceAssembly &device, VoiceAssembly &voice, const Options &options);
    ~ShellAssembly() override;
    ShellAssembly(const ShellAssembly &) = delete;
    ShellAssembly &operator=(const ShellAssembly &) = delete;

    MainWindow &mainWindow() const { return *m_mainWindow; }
    StatusItemController &statusItem() const { return *m_statusItem; }
    QXAuthorityManagementWindowController &authority() const { return *m_authority; }
    StartAtLoginController &startAtLogin() const { return *m_startAtLogin; }
    // What every page is handed.
    PageContext pageContext() const;
    // What makes the main window's pages.
    PageFactory &pageFactory() const { return *m_pageFactory; }
    // The page and window seams, a stand-in counting as empty.
    void listHooks(HookStates &out) const;

    // --- ShellSteps
    void applyLightAppearance() override;
    void setIsFirstShow(bool on) override;
    void checkAppVersion() override;
    void openApp() override;
    void installExceptionWriter() override;
    void addStatusItem() override;
    void startSelectionMonitors() override;
    void watchPointer(bool deviceConnected) override;
    void bindSnipShortcut() override;
    void configUI() override;
    void checkPermission(bool show) override;
    void probeReachability() override;
    void openCompanionApp() override;
    void setLowElectricShown(bool shown) override;
    void reopenStatusItem() override;
    void waitForPendingLogsBeforeTermination() override;

private:
    void buildUpdates();
    void buildSelectionShell();
    void buildPermissionsAndLogin(const Options &options);
    void buildStatusItem(const Options &options);
    void followCommandLists();

    CoreAssembly &m_core;
    DeviceAssembly &m_device;
    VoiceAssembly &m_voice;

    // Qt's own texts (standard buttons, file dialogs) in the interface language.
    std::unique_ptr<QtOwnTexts> m_qtTexts;
    Owned<QXToolManagerUI> m_toolUi;
    // Firmware and application updates; their questions are message boxes on the main window.
    std::unique_ptr<MessageBoxAlertPresenter> m_alerts;
    Owned<QXOTAUpdateManager> m_ota;
    AtTeardown m_firmwareImagePaths;
    std::unique_ptr<SelectionCopyMonitor> m_selectionMonitor;
    AtTeardown m_snipBinding;
    std::unique_ptr<platform::IPermissionProbe> m_ownedPermissionProbe;
    std::unique_ptr<QXAuthorityManagementWindowController> m_authority;
    std::unique_ptr<platform::ILoginItems> m_ownedLoginItems;
    std::unique_ptr<StartAtLoginController> m_startAtLogin;
    std::unique_ptr<IStatusItem> m_ownedStatusItem;
    // The file dialogs, the add and edit command dialog and the account header the pages open.
    std::unique_ptr<DialogFilePicker> m_files;
    std::unique_ptr<AddCommandDialogs> m_commandDialogs;
    std::unique_ptr<AccountHeaders> m_accountHeaders;
    // Shows a transcript in the file manager (the transcription page's open buttons).
    std::unique_ptr<platform::IFileRevealer> m_revealer;
    // The pages: their ports over the managers of the areas, and the factory that
    // makes each page over the context of pageContext().
    std::unique_ptr<AppPagePorts> m_pagePorts;
    std::unique_ptr<PageFactory> m_pageFactory;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<StatusItemController> m_statusItem;
    // Holds the launch's watch of the command lists (followCommandLists).
    std::unique_ptr<QObject> m_commandListsObserver;
    // The AI window holder (device area) shows over the main window and its dialogs.
    AtTeardown m_aiWindowPorts;
};
