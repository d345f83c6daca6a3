#include "WebEngineBackend.h"

#include "MultimediaBackends.h"
#include "PZLog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibrary>
#include <QOpenGLContext>
#include <QStringList>

#include <unistd.h>

QT_BEGIN_NAMESPACE
// Qt's own, exported by Qt GUI: the context every later one shares with.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace platform::linuxbackend {
namespace {

using CreateHost = IAiWebHost *(*)(const AiWebHostOptions *);
using LiveHosts = int (*)();

struct Module {
    CreateHost create = nullptr;
    LiveHosts live = nullptr;
};
bool g_loaded = false;

// Chromium refuses to start its sandbox as root; a normal user keeps it.
void allowRootWithoutSandbox()
{
    if (::geteuid() != 0 || qEnvironmentVariable("QTWEBENGINE_DISABLE_SANDBOX") == QLatin1String("1"))
        return;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qxLogOnce(QStringLiteral("webengine:root"),
              QStringLiteral("running as root: the web engine's sandbox is turned off"));
}

// The engine draws through a context shared with the application's. It is made here,
// when the engine first loads, not by Qt::AA_ShareOpenGLContexts before the
// application exists: that would load OpenGL, its driver and the driver's threads into
// every launch. The engine finds it as it would have found the application's.
void provideShareContext()
{
    if (QOpenGLContext::globalShareContext() || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    if (!context->create()) {
        delete context;
        qxLogOnce(QStringLiteral("webengine:gl"),
                  QStringLiteral("no OpenGL context to share: the web engine draws without one"));
        return;
    }
    qt_gl_set_global_share_context(context);
    // Contexts made from now on share with it, as the engine's widgets expect. Qt warns
    // that the attribute belongs before the application; here it is meant, so that one
    // warning is kept out of the log.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(previous);
}

const Module &module()
{
    static const Module loaded = []() -> Module {
        g_loaded = true;
        allowRootWithoutSandbox();
        provideShareContext();
        QStringList errors;
        for (const QString &dir : multimediaModuleDirs(QCoreApplication::applicationDirPath())) {
            // Never unloaded: the engine keeps threads and state until exit.
            QLibrary lib(dir + QStringLiteral("/libqx_webengine.so"));
            if (!lib.load()) {
                errors << lib.errorString();
                continue;
            }
            Module m{reinterpret_cast<CreateHost>(lib.resolve("qxCreateAiWebHost")),
                     reinterpret_cast<LiveHosts>(lib.resolve("qxLiveAiWebHosts"))};
            if (m.create && m.live)
                return m;
            errors << lib.errorString();
        }
        qxLogOnce(QStringLiteral("webengine:module"),
                  QStringLiteral("the web engine module cannot be loaded (%1); the AI window shows no page")
                      .arg(errors.join(QStringLiteral("; "))));
        return {};
    }();
    return loaded;
}

} // namespace

std::unique_ptr<IAiWebHost> createAiWebHost(const AiWebHostOptions &options)
{
    const Module &m = module();
    return m.create ? std::unique_ptr<IAiWebHost>(m.create(&options)) : nullptr;
}

int liveAiWebHosts()
{
    // Asking never loads the engine.
    return g_loaded && module().live ? module().live() : 0;
}

} // namespace platform::linuxbackend
