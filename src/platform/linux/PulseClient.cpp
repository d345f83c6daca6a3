#include "PulseClient.h"

#include "PZLog.h"

#include <dlfcn.h>

#include <chrono>

namespace platform::linuxbackend::pulse {

const Api &api()
{
    static const Api loadedApi = [] {
        Api a;
        void *lib = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            qxLogOnce("pulse:library", QStringLiteral("the PulseAudio client library cannot be loaded (%1); the system "
                                                      "volume reads 0 and the default input is not changed")
                                           .arg(QString::fromLocal8Bit(dlerror())));
            return a;
        }
        bool all = true;
#define QX_PULSE_RESOLVE(f)                                                                                            \
    a.f = reinterpret_cast<decltype(a.f)>(dlsym(lib, #f));                                                             \
    all = all && a.f;
        QX_PULSE_FUNCTIONS(QX_PULSE_RESOLVE)
#undef QX_PULSE_RESOLVE
        if (!all)
            qxLogOnce("pulse:library", QStringLiteral("the PulseAudio client library lacks functions we use; the "
                                                      "system volume reads 0 and the default input is not changed"));
        a.loaded = all;
        return a;
    }();
    return loadedApi;
}

namespace {
constexpr auto kTimeout = std::chrono::milliseconds(1000);
}

Session::Session(const char *clientName, const QString &consequence)
{
    if (!api().loaded)
        return;
    m_loop = api().pa_mainloop_new();
    if (!m_loop)
        return;
    m_context = api().pa_context_new(api().pa_mainloop_get_api(m_loop), clientName);
    if (!m_context)
        return;
    // Never start a server of our own: no server means "no device".
    if (api().pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        const bool settled = runUntil([this] {
            const pa_context_state_t s = api().pa_context_get_state(m_context);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        });
        m_ready = settled && api().pa_context_get_state(m_context) == PA_CONTEXT_READY;
    }
    if (!m_ready)
        qxLogOnce(QStringLiteral("pulse:unavailable:") + consequence,
                  QStringLiteral("no sound server answers (%1); %2")
                      .arg(QString::fromUtf8(api().pa_strerror(api().pa_context_errno(m_context))), consequence));
}

Session::~Session()
{
    if (m_context) {
        api().pa_context_disconnect(m_context);
        api().pa_context_unref(m_context);
    }
    if (m_loop)
        api().pa_mainloop_free(m_loop);
}

bool Session::wait(pa_operation *op)
{
    if (!op)
        return false;
    const bool done = runUntil([op] { return api().pa_operation_get_state(op) != PA_OPERATION_RUNNING; });
    const bool ok = done && api().pa_operation_get_state(op) == PA_OPERATION_DONE;
    if (!done)
        api().pa_operation_cancel(op);
    api().pa_operation_unref(op);
    return ok;
}

bool Session::runUntil(const std::function<bool()> &done)
{
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (!done()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        if (api().pa_mainloop_prepare(m_loop, int(left.count())) < 0 || api().pa_mainloop_poll(m_loop) < 0
            || api().pa_mainloop_dispatch(m_loop) < 0)
            return false;
    }
    return true;
}

} // namespace platform::linuxbackend::pulse
