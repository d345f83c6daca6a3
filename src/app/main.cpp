#include "SingleInstance.h"
#include "UnixSignals.h"

#include "DataPaths.h"
#include "FirstRunLanguage.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "QXLanguageManager.h"

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

    const int rc = app.exec();
    setDefaultStore(nullptr);
    return rc;
}
