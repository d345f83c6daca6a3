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
#include "HidInfoConnection.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "HRVLocalizedString.h"
#include "services/LanguageHooks.h"
#include "platform/linux/LinuxDesktopServices.h"
#include "QXToolManager.h"
#include "crash/CrashSignalHandler.h"
#include "crash/QXApplication.h"
#include "crash/QXUncaughtExceptionHandler.h"
#include "log/PZManagerForLog.h"
#include "HidEventHandlers.h"

#include <QCryptographicHash>

#include <memory>

namespace {
// Whatever path main() leaves by, queued log lines reach their files.
struct FlushLogsAtExit {
    ~FlushLogsAtExit()
    {
        QXToolManager::waitForPendingLogsBeforeTermination();
        PZManagerForLog::shutdown();
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("quorvex-companion"));
    QApplication::setOrganizationName(QStringLiteral("Quorvex"));
    QApplication::setApplicationVersion(QStringLiteral(QX_APP_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    // Logging and crash reports before anything else can log or fail.
    PZManagerForLog::load();
    FlushLogsAtExit flushLogs;
    CrashSignalHandler::install();
    QXUncaughtExceptionHandler::setDefaultHandler();

    QXApplication app(argc, argv);

    // A separate data root (QX_DATA_DIR) is a separate instance, so tests never meet a running app.
    QString instanceName = SingleInstance::defaultName();
    if (!qEnvironmentVariableIsEmpty("QX_DATA_DIR"))
        instanceName += u'-' + QString::fromLatin1(QCryptographicHash::hash(DataPaths::dataRoot().toUtf8(),
                                                                          QCryptographicHash::Sha1)
                                                       .toHex()
                                                       .left(12));
    SingleInstance instance(instanceName);
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

    // Keys, clipboard, mouse monitors, volume and the opener of files and web addresses.
    platform::linuxbackend::LinuxDesktopServices desktopServices;

    // The USB receivers: one transport for the process, watching from launch on.
    platform::linuxbackend::LinuxHidBackend hidBackend;
    HIDDevice hidDevice(&hidBackend);
    HIDDevice::setSharedInstance(&hidDevice);
    // Device-information reports and the voice-assistant hot keys (F1/F2/F3).
    HidInfoReader hidInfoReader(HidInfoConnection::pressTypeDeps(hidDevice));
    auto hidInfo = std::make_unique<HidInfoConnection>(hidDevice, hidInfoReader);
    // Everything the receiver says goes through the report parser; its answers and
    // acknowledgements go out through the command manager.
    QXHidCommandManager::sharedInstance().setHidSink(&hidDevice);
    QXHidReportParser::sharedInstance().attachTo(hidDevice);
    hidDevice.startMonitor();

    // Key events, voice keys and the voice chip; lighting, hand and pointer replies.
    // The chip vendor's token client comes with the HTTP client's token request.
    HidEventHandlers hidEventHandlers(QXHidReportParser::sharedInstance());

    // A quit asked for while start-up still ran (in a nested event loop) would be lost
    // once exec() starts.
    const int rc = unixSignals.terminateWasRequested() ? 0 : app.exec();
    hidInfo.reset();
    HIDDevice::setSharedInstance(nullptr);
    QXUserInfoData::setSharedInstance(nullptr);
    userInfo.reset();
    setDefaultStore(nullptr);
    return rc;
}
