#include "launch/DisplayGuard.h"
#include "launch/SingleInstance.h"
#include "launch/UnixSignals.h"
#include "root/CompanionApp.h"

#include "DataPaths.h"
#include "MainThread.h"
#include "PZLog.h"
#include "QXToolManager.h"
#include "crash/CrashSignalHandler.h"
#include "crash/QXApplication.h"
#include "crash/QXUncaughtExceptionHandler.h"
#include "log/PZManagerForLog.h"
#include "platform/linux/RemoteAiWebHost.h"

#include <QCryptographicHash>

#include <cstdio>
#include <cstdlib>

namespace {

void flushLogs()
{
    QXToolManager::waitForPendingLogsBeforeTermination();
    PZManagerForLog::shutdown();
}

// Whatever path main() leaves by, queued log lines reach their files. Destroyed after
// the application object: the line says its teardown ran, which a native Wayland session
// must never reach.
struct FlushLogsAtExit {
    ~FlushLogsAtExit()
    {
        qxInfo("app") << "application torn down";
        flushLogs();
    }
};

// Everything that needs the application object, all of it gone again on return: the
// exit status.
int runCompanion(QXApplication &app)
{
    // From here a terminating signal waits in a pipe until the event loop runs, so the
    // launch completes and the termination steps still run.
    UnixSignals unixSignals;
    QObject::connect(&unixSignals, &UnixSignals::terminateRequested, &app, [](int sig) {
        qxInfo("app") << "signal" << sig << "- quitting";
        QCoreApplication::quit();
    });

    // A separate data root (QX_DATA_DIR) is a separate instance, so tests never meet a running app.
    QString instanceName = SingleInstance::defaultName();
    if (!qEnvironmentVariableIsEmpty("QX_DATA_DIR"))
        instanceName +=
            u'-'
            + QString::fromLatin1(
                QCryptographicHash::hash(DataPaths::dataRoot().toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
    SingleInstance instance(instanceName);
    if (!instance.claim())
        return 0;

    qxInfo("app") << "data in" << DataPaths::dataRoot() << "preferences in" << DataPaths::preferenceFile();
    CompanionApp companion;
    QObject::connect(&unixSignals, &UnixSignals::statusRequested, &companion,
                     [&companion] { companion.logCounters(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &companion,
                     [&companion] { companion.applicationWillTerminate(); });
    companion.applicationDidFinishLaunching();
    instance.setActivationHandler([&companion] {
        qxInfo("app") << "another launch asked for the window";
        companion.reopen();
    });
    postToMainThread([] { qxInfo("app") << "event loop running"; });

    // A quit asked for while the launch still ran (in a nested event loop) would be lost
    // once exec() starts, and exec() would not end with the termination steps.
    if (unixSignals.terminateWasRequested()) {
        companion.applicationWillTerminate();
        return 0;
    }
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    DataPaths::ensureHome();
    QApplication::setApplicationName(QStringLiteral("quorvex-companion"));
    QApplication::setOrganizationName(QStringLiteral("Quorvex"));
    QApplication::setApplicationVersion(QStringLiteral(QX_APP_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // No Qt::AA_ShareOpenGLContexts here: it would load OpenGL at every launch. The AI
    // window's web engine module makes the shared context when it first loads.

    // Logging and crash reports before anything else can log or fail.
    PZManagerForLog::load();
    FlushLogsAtExit logsAtExit;
    CrashSignalHandler::install();
    QXUncaughtExceptionHandler::setDefaultHandler();

    DisplayGuard displayGuard(argc, argv);
    QXApplication app(argc, argv);
    displayGuard.release();

    const int status = runCompanion(app);
    // The AI page's helper, if its window was open, is on its way out.
    platform::linuxbackend::RemoteAiWebHost::endHelpers();

    // Qt's Wayland platform (6.4) can hang for good while it closes the display
    // connection: it stops its main event thread with a read still prepared for it, and
    // its frame-queue thread then waits in wl_display_read_events for that read forever.
    // Nothing of ours is left to tear down here, and the compositor forgets a client whose
    // connection closes, so the process ends without destroying the application object.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        qxInfo("app") << "exiting without closing the Wayland display connection";
        flushLogs();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
