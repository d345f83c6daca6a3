#include "WebEngineBackend.h"

#include "MultimediaBackends.h"
#include "PZLog.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

#include <unistd.h>

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

const Module &module()
{
    static const Module loaded = []() -> Module {
        g_loaded = true;
        allowRootWithoutSandbox();
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
