#include "CoreAssembly.h"

#include "DataPaths.h"
#include "HRVLocalizedString.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "PZLog.h"
#include "QXHttpRequestManager.h"
#include "QXImageLoader.h"
#include "QXLanguageManager.h"
#include "QXNetSceneState.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"
#include "TargetRecords.h"
#include "commands/QXHotWordViewModel.h"
#include "launch/FirstRunLanguage.h"
#include "overlay/EscapeArbiter.h"
#include "platform/ShortcutBinder.h"
#include "platform/linux/KeychainSecretStore.h"
#include "platform/linux/LinuxDesktopServices.h"
#include "platform/linux/X11Compositing.h"
#include "platform/linux/X11ScreenGrabber.h"
#include "services/LanguageHooks.h"
#include "sqlite/WQSSqliteOperation.h"

#include <QCoreApplication>

CoreAssembly::CoreAssembly(const Options &options)
{
    // Preferences first: everything below reads them.
    if (options.store) {
        m_store = options.store;
    } else {
        // The user log lives in that folder too, so this goes to the console log.
        if (!DataPaths::ensureDir(DataPaths::dataRoot()))
            qxWarning("app") << "cannot create the data folder" << DataPaths::dataRoot()
                             << "- preferences and logs are not kept";
        m_ownedStore = std::make_unique<IniKeyValueStore>(DataPaths::preferenceFile());
        m_store = m_ownedStore.get();
    }
    setDefaultStore(m_store);
    m_defaultStore.set([] { setDefaultStore(nullptr); });
    m_startWrites.emplace(*m_store);
    m_notifications.install(std::make_unique<NotificationCenter>());
    m_tools.install(std::make_unique<QXToolManager>());

    QXLanguageManager &languages = m_languages.install(std::make_unique<QXLanguageManager>(*m_store));
    applyFirstRunInterfaceLanguage(*m_store, languages);
    installLanguageHooks({[&languages] { return languages.readUILanguageCode(); },
                          [&languages] { return languages.readAudioLanguageCode(); },
                          [](const QString &source) { return hrvAppLocalizedString(source); }});
    m_languageHooks.set([] { installLanguageHooks({}); });

    // The first use of the application state loads every preference and runs its migrations.
    platform::ISecretStore *secrets = options.secrets;
    if (!secrets) {
        m_ownedSecrets =
            std::make_unique<platform::linuxbackend::KeychainSecretStore>(QCoreApplication::applicationName());
        secrets = m_ownedSecrets.get();
    }
    m_state.install(std::make_unique<QXUserInfoData>(*m_store, secrets));
    // The command tables and the transcription jobs, in the data root's database file.
    m_database.install(std::make_unique<WQSSqliteOperation>());
    // The hot words every recognition frame carries, kept in step by the command model,
    // and the files and folders the user picked (only those are ever opened).
    m_hotWords.install(std::make_unique<QXHotWordViewModel>(*m_database));
    m_targets = std::make_unique<TargetRecords>(*m_store);
    m_http.install(std::make_unique<QXHttpRequestManager>());
    m_images = std::make_unique<QXImageLoader>(*m_http->urlSessionManager());
    // What the requests read of the state and the language tables installed above.
    m_sceneState.install(std::make_unique<QXAppSceneState>());

    // Keys, clipboard, mouse monitors, volume and the opener of files and web addresses.
    if (options.desktopServices)
        m_desktop = std::make_unique<platform::linuxbackend::LinuxDesktopServices>();
    // The global shortcuts the user and the receivers bind, kept in the preferences.
    m_shortcuts.install(std::make_unique<platform::ShortcutBinder>(*m_store));
    // The full-screen effects' desktop: nothing is grabbed or shown before one starts.
    m_grabber = options.screenGrabber;
    if (!m_grabber) {
        m_ownedGrabber = std::make_unique<platform::linuxbackend::X11ScreenGrabber>();
        m_grabber = m_ownedGrabber.get();
    }
    m_compositor =
        options.compositor ? options.compositor : [] { return platform::linuxbackend::windowsCanBeTranslucent(); };
    m_escape = std::make_unique<EscapeArbiter>(*m_shortcuts);
}

OverlayServices CoreAssembly::overlays() const
{
    return {m_grabber, m_compositor, m_escape.get()};
}

CoreAssembly::~CoreAssembly() = default;
