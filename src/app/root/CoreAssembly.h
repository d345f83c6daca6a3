#pragma once

#include "KeyValueStore.h"
#include "Owned.h"
#include "overlay/OverlayServices.h"

#include <functional>

#include <memory>
#include <optional>

class EscapeArbiter;
class KeyValueStore;
class NotificationCenter;
class QXHotWordViewModel;
class QXHttpRequestManager;
class QXImageLoader;
class QXLanguageManager;
class QXNetSceneState;
class QXToolManager;
class QXUserInfoData;
class TargetRecords;
class WQSSqliteOperation;
namespace platform {
class IScreenGrabber;
class ISecretStore;
class ShortcutBinder;
namespace linuxbackend {
class LinuxDesktopServices;
}
} // namespace platform

// What every other area stands on: the preferences, the notification centre, the
// languages, the application state, the database with the hot words, the picked
// targets, the HTTP client with the image loader, the desktop services and the global
// shortcuts. Each is installed as the process-wide instance
// while it lives here; members go in the reverse of their order.
class CoreAssembly {
public:
    struct Options {
        KeyValueStore *store = nullptr;                    // else the INI file of the data root (owned)
        platform::ISecretStore *secrets = nullptr;         // else the desktop's keychain
        bool desktopServices = true;                       // X11 keys, clipboard, monitors, volume
        platform::IScreenGrabber *screenGrabber = nullptr; // else the X server's root window
        std::function<bool()> compositor;                  // else the X11 compositing check
    };

    explicit CoreAssembly(const Options &options);
    ~CoreAssembly();
    CoreAssembly(const CoreAssembly &) = delete;
    CoreAssembly &operator=(const CoreAssembly &) = delete;

    KeyValueStore &store() const { return *m_store; }
    void endStartWrites() { m_startWrites.reset(); }
    NotificationCenter &notifications() const { return *m_notifications; }
    QXLanguageManager &languages() const { return *m_languages; }
    QXUserInfoData &state() const { return *m_state; }
    WQSSqliteOperation &database() const { return *m_database; }
    QXHotWordViewModel &hotWords() const { return *m_hotWords; }
    TargetRecords &targets() const { return *m_targets; }
    QXHttpRequestManager &http() const { return *m_http; }
    QXImageLoader &images() const { return *m_images; }
    platform::ShortcutBinder &shortcuts() const { return *m_shortcuts; }
    // The screen pictures, the compositor check and the escape key the full-screen
    // effects (capture, pointer overlays) share.
    OverlayServices overlays() const;
    // The desktop services are the real X11 ones (else a test installs fakes).
    bool hasDesktop() const { return bool(m_desktop); }

private:
    std::unique_ptr<KeyValueStore> m_ownedStore;
    KeyValueStore *m_store = nullptr;
    AtTeardown m_defaultStore;
    // What the managers write while the application is put together goes to the file
    // once, when the root ends it.
    std::optional<KeyValueStore::Batch> m_startWrites;
    Owned<NotificationCenter> m_notifications;
    Owned<QXToolManager> m_tools;
    Owned<QXLanguageManager> m_languages;
    AtTeardown m_languageHooks;
    std::unique_ptr<platform::ISecretStore> m_ownedSecrets;
    Owned<QXUserInfoData> m_state;
    Owned<WQSSqliteOperation> m_database;
    Owned<QXHotWordViewModel> m_hotWords;
    std::unique_ptr<TargetRecords> m_targets;
    Owned<QXHttpRequestManager> m_http;
    std::unique_ptr<QXImageLoader> m_images; // on the API client's network
    Owned<QXNetSceneState> m_sceneState;
    std::unique_ptr<platform::linuxbackend::LinuxDesktopServices> m_desktop;
    Owned<platform::ShortcutBinder> m_shortcuts;
    std::unique_ptr<platform::IScreenGrabber> m_ownedGrabber;
    platform::IScreenGrabber *m_grabber = nullptr;
    std::function<bool()> m_compositor;
    std::unique_ptr<EscapeArbiter> m_escape; // before the binder it grabs through
};
