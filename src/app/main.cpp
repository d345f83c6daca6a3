#include "SingleInstance.h"
#include "UnixSignals.h"
#include "platform/linux/KeychainSecretStore.h"

#include "DataPaths.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "QXUserInfoData.h"

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

    // The application state loads every preference (and runs its migrations) here, once.
    KeychainSecretStore secrets(QApplication::applicationName());
    auto userInfo = std::make_unique<QXUserInfoData>(*store, &secrets);
    QXUserInfoData::setSharedInstance(userInfo.get());

    const int rc = app.exec();
    QXUserInfoData::setSharedInstance(nullptr);
    userInfo.reset();
    setDefaultStore(nullptr);
    return rc;
}
