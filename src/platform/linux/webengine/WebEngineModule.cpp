// The entry points of the web engine module (see WebEngineBackend.h one folder up).
#include "QtAiWebHost.h"

extern "C" Q_DECL_EXPORT platform::IAiWebHost *qxCreateAiWebHost(const platform::AiWebHostOptions *options)
{
    return new platform::linuxbackend::QtAiWebHost(*options);
}

extern "C" Q_DECL_EXPORT int qxLiveAiWebHosts()
{
    return platform::linuxbackend::QtAiWebHost::liveHosts();
}
