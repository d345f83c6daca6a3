#include "SingleInstance.h"
#include "UnixSignals.h"
#include "platform/linux/KeychainSecretStore.h"
#include "platform/linux/LinuxHidBackend.h"

#include "DataPaths.h"
#include "FirstRunLanguage.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "HIDDevice.h"
#include "HRVLocalizedString.h"
#include "services/LanguageHooks.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("quorvex-companion"));
    QApplication::setOrganizationName(QStringLiteral("Quorvex"));
    QApplication::setApplicationVersion(QStringLiteral(QX_APP_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication app(argc, argv);

    SingleInstance instance(SingleInstance::defaultName());
    if (!instance.claim())
        return 0;

    UnixSignals unixSignals;
    QObject::connect(&unixSignals, &UnixSignals::terminateRequested, &app, [](int sig) {
        qxInfo("app") << "signal" << sig << "- quitting";
        QCoreApplication::quit();
    });

    DataPaths::ensureDir(DataPaths::dataRoot());
    auto store = std::make_unique<IniKeyValueStore>(DataPaths::preferenceFile());
    setDefaultStore(store.get());
    qxInfo("app") << "data in" << DataPaths::dataRoot() << "preferences in" << DataPaths::preferenceFile();
    applyFirstRunInterfaceLanguage(*store, QXLanguageManager::sharedInstance());
    installLanguageHooks({[] { return QXLanguageManager::sharedInstance().readUILanguageCode(); },
                          [] { return QXLanguageManager::sharedInstance().readAudioLanguageCode(); },
                          [](const QString &source) { return hrvAppLocalizedString(source); }});

    // The application state loads every preference (and runs its migrations) here, once.
    KeychainSecretStore secrets(QApplication::applicationName());
    auto userInfo = std::make_unique<QXUserInfoData>(*store, &secrets);
    QXUserInfoData::setSharedInstance(userInfo.get());

    // The USB receivers: one transport for the process, watching from launch on.
    platform::linuxbackend::LinuxHidBackend hidBackend;
    HIDDevice hidDevice(&hidBackend);
    HIDDevice::setSharedInstance(&hidDevice);
    hidDevice.startMonitor();

    // A quit asked for while start-up still ran (in a nested event loop) would be lost
    // once exec() starts.
    const int rc = unixSignals.terminateWasRequested() ? 0 : app.exec();
    HIDDevice::setSharedInstance(nullptr);
    QXUserInfoData::setSharedInstance(nullptr);
    userInfo.reset();
    setDefaultStore(nullptr);
    return rc;
}
