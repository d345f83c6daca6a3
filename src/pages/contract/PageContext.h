#pragma once

#include <functional>

class AlertPresenter;
class IAccountHeaders;
class FilePicker;
class IAddCommandDialogs;
class ICommandModel;
class IAIWindow;
class IAppShell;
class IErrorAlert;
class IFirmwareUpdates;
class IHotWordEntries;
class IHidOnlyCommands;
class IImageLoader;
class IMakerApi;
class IMouseCommands;
class IPermissionsWindow;
class IPopupTips;
class IReceiverIds;
class IStartAtLogin;
class ITranslateManager;
class KeyValueStore;
class NotificationCenter;
class QWidget;
class QXBaseView;
class QXLanguageManager;
class QXUserInfoData;
class Scheduler;
namespace platform {
class IWorkspace;
class ShortcutBinder;
} // namespace platform

// Everything a page of the main window may reach, handed to it when it is made: the
// contract of the page area. Every member is a reference, so a context is complete or
// it does not compile. The composition root fills it with the application's objects
// (CompanionApp::pageContext()), a page test and a screen scene with PageWorld's
// recorders over an in-memory store. A page reaches nothing else: no shared instance,
// no device class. A page that needs one more service adds a member here (a narrow
// interface of PagePorts.h or of foundation/services), and the root and PageWorld fill it.
struct PageContext {
    QXUserInfoData &state;
    KeyValueStore &store;
    QXLanguageManager &languages;
    NotificationCenter &notifications;
    Scheduler &scheduler;

    IMouseCommands &device;        // commands to the connected device, on its transport
    IHidOnlyCommands &hidCommands; // lighting, report rate, the voice chip
    IFirmwareUpdates &firmware;    // firmware images and their transfer
    IReceiverIds &receiver;        // the open receiver's ids
    IMakerApi &api;                // the maker's API
    IImageLoader &images;          // pictures by web address

    IAIWindow &aiWindow;
    ITranslateManager &translate;
    IPopupTips &tips;
    AlertPresenter &alerts;
    IErrorAlert &errorAlert;               // a message with its detail text and one closing button
    IPermissionsWindow &permissionsWindow; // the permissions window, checked and raised
    IAppShell &shell;                      // the main window: host of sheets and file panels
    IStartAtLogin &startAtLogin;           // the start-up switch
    platform::ShortcutBinder &shortcuts;   // the global shortcuts
    platform::IWorkspace &workspace;       // opens files and web addresses

    ICommandModel &commands;            // the user's custom voice commands
    IAddCommandDialogs &commandDialogs; // the add and edit command dialog
    FilePicker &files;                  // asks for a file or folder
    IAccountHeaders &accountHeaders;    // the account header of the account page
    IHotWordEntries &hotWords;          // the hot-word entries the hot-word list shows

    // Makes the audio-file transcription page (a page of the commands area) for a page
    // of another area to host.
    std::function<QXBaseView *(QWidget *parent)> makeTransferAudioView;
};
