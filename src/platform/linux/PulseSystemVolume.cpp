#include "PulseSystemVolume.h"

#include "PZLog.h"

#include <pulse/pulseaudio.h>

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <functional>

namespace platform::linuxbackend {
namespace {

// libpulse is opened on the first volume call rather than linked: linked, it and the
// codec libraries it pulls in (libsndfile, FLAC, Vorbis, Opus, MP3) cost every
// process about a megabyte of resident pages although volume is rarely touched.
#define QX_PULSE_FUNCTIONS(X) \
    X(pa_context_connect) \
    X(pa_context_disconnect) \
    X(pa_context_errno) \
    X(pa_context_get_sink_info_by_index) \
    X(pa_context_get_sink_info_by_name) \
    X(pa_context_get_state) \
    X(pa_context_new) \
    X(pa_context_set_sink_mute_by_index) \
    X(pa_context_set_sink_volume_by_index) \
    X(pa_context_unref) \
    X(pa_cvolume_avg) \
    X(pa_cvolume_scale) \
    X(pa_cvolume_valid) \
    X(pa_mainloop_dispatch) \
    X(pa_mainloop_free) \
    X(pa_mainloop_get_api) \
    X(pa_mainloop_new) \
    X(pa_mainloop_poll) \
    X(pa_mainloop_prepare) \
    X(pa_operation_cancel) \
    X(pa_operation_get_state) \
    X(pa_operation_unref) \
    X(pa_strerror)

struct PulseApi {
    bool loaded = false;
#define QX_PULSE_MEMBER(f) decltype(&::f) f = nullptr;
    QX_PULSE_FUNCTIONS(QX_PULSE_MEMBER)
#undef QX_PULSE_MEMBER
};

// Loaded once, kept for the process's life; thread-safe through the static's initialisation.
const PulseApi &pa()
{
    static const PulseApi api = [] {
        PulseApi a;
        void *lib = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            qxLogOnce("pulse:library", QStringLiteral("the PulseAudio client library cannot be loaded (%1); "
                                                      "the system volume reads 0 and is not set")
                                           .arg(QString::fromLocal8Bit(dlerror())));
            return a;
        }
        bool all = true;
#define QX_PULSE_RESOLVE(f)                                                                                    \
    a.f = reinterpret_cast<decltype(a.f)>(dlsym(lib, #f));                                                     \
    all = all && a.f;
        QX_PULSE_FUNCTIONS(QX_PULSE_RESOLVE)
#undef QX_PULSE_RESOLVE
        if (!all)
            qxLogOnce("pulse:library", QStringLiteral("the PulseAudio client library lacks functions we use; "
                                                      "the system volume reads 0 and is not set"));
        a.loaded = all;
        return a;
    }();
    return api;
}

constexpr auto kTimeout = std::chrono::milliseconds(1000);

struct SinkState {
    bool found = false;
    uint32_t index = PA_INVALID_INDEX;
    pa_cvolume volume{};
    bool muted = false;
};

// One connection to the server, driven by a private main loop on the calling thread.
class PulseSession {
public:
    PulseSession()
    {
        if (!pa().loaded)
            return;
        m_loop = pa().pa_mainloop_new();
        if (!m_loop)
            return;
        m_context = pa().pa_context_new(pa().pa_mainloop_get_api(m_loop), "Quorvex Companion volume");
        if (!m_context)
            return;
        // Never start a server of our own: no server means "no output device".
        if (pa().pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            logUnavailable();
            return;
        }
        const bool ready = runUntil([this] {
            const pa_context_state_t s = pa().pa_context_get_state(m_context);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        });
        m_ready = ready && pa().pa_context_get_state(m_context) == PA_CONTEXT_READY;
        if (!m_ready)
            logUnavailable();
    }

    ~PulseSession()
    {
        if (m_context) {
            pa().pa_context_disconnect(m_context);
            pa().pa_context_unref(m_context);
        }
        if (m_loop)
            pa().pa_mainloop_free(m_loop);
    }

    bool ready() const { return m_ready; }
    pa_context *context() const { return m_context; }

    // Waits for an operation; false on failure or time-out.
    bool wait(pa_operation *op)
    {
        if (!op)
            return false;
        const bool done = runUntil([op] { return pa().pa_operation_get_state(op) != PA_OPERATION_RUNNING; });
        const bool ok = done && pa().pa_operation_get_state(op) == PA_OPERATION_DONE;
        if (!done)
            pa().pa_operation_cancel(op);
        pa().pa_operation_unref(op);
        return ok;
    }

    SinkState sink(const char *name)
    {
        SinkState state;
        auto cb = [](pa_context *, const pa_sink_info *info, int eol, void *user) {
            auto *st = static_cast<SinkState *>(user);
            if (eol || !info)
                return;
            st->found = true;
            st->index = info->index;
            st->volume = info->volume;
            st->muted = info->mute != 0;
        };
        if (m_ready)
            wait(pa().pa_context_get_sink_info_by_name(m_context, name, cb, &state));
        return state;
    }

    SinkState sink(quint32 device)
    {
        SinkState state;
        auto cb = [](pa_context *, const pa_sink_info *info, int eol, void *user) {
            auto *st = static_cast<SinkState *>(user);
            if (eol || !info)
                return;
            st->found = true;
            st->index = info->index;
            st->volume = info->volume;
            st->muted = info->mute != 0;
        };
        if (m_ready && device != 0)
            wait(pa().pa_context_get_sink_info_by_index(m_context, device - 1, cb, &state));
        return state;
    }

    static void successCallback(pa_context *, int success, void *user) { *static_cast<bool *>(user) = success != 0; }

private:
    bool runUntil(const std::function<bool()> &done)
    {
        const auto deadline = std::chrono::steady_clock::now() + kTimeout;
        while (!done()) {
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            if (pa().pa_mainloop_prepare(m_loop, int(left.count())) < 0 || pa().pa_mainloop_poll(m_loop) < 0
                || pa().pa_mainloop_dispatch(m_loop) < 0)
                return false;
        }
        return true;
    }

    void logUnavailable()
    {
        qxLogOnce("pulse:unavailable", QStringLiteral("no sound server answers (%1); the system volume reads 0 and is not set")
                                           .arg(QString::fromUtf8(pa().pa_strerror(pa().pa_context_errno(m_context)))));
    }

    pa_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    bool m_ready = false;
};

} // namespace

quint32 PulseSystemVolume::defaultOutputDevice()
{
    PulseSession session;
    const SinkState sink = session.sink("@DEFAULT_SINK@");
    return sink.found ? sink.index + 1 : 0;
}

std::optional<float> PulseSystemVolume::volume(quint32 device)
{
    PulseSession session;
    const SinkState sink = session.sink(device);
    if (!sink.found || !pa().pa_cvolume_valid(&sink.volume))
        return std::nullopt;
    return float(double(pa().pa_cvolume_avg(&sink.volume)) / PA_VOLUME_NORM);
}

bool PulseSystemVolume::isVolumeSettable(quint32 device)
{
    PulseSession session;
    return session.sink(device).found;
}

bool PulseSystemVolume::setVolume(quint32 device, float volume)
{
    PulseSession session;
    const SinkState sink = session.sink(device);
    if (!sink.found || !pa().pa_cvolume_valid(&sink.volume))
        return false;
    pa_cvolume target = sink.volume;
    // Keeps the balance between channels, like a volume knob would.
    pa().pa_cvolume_scale(&target, pa_volume_t(std::max(0.0, double(volume)) * PA_VOLUME_NORM + 0.5));
    bool success = false;
    session.wait(pa().pa_context_set_sink_volume_by_index(session.context(), sink.index, &target,
                                                     &PulseSession::successCallback, &success));
    return success;
}

std::optional<bool> PulseSystemVolume::muted(quint32 device)
{
    PulseSession session;
    const SinkState sink = session.sink(device);
    if (!sink.found)
        return std::nullopt;
    return sink.muted;
}

bool PulseSystemVolume::isMuteSettable(quint32 device)
{
    PulseSession session;
    return session.sink(device).found;
}

bool PulseSystemVolume::setMuted(quint32 device, bool muted)
{
    PulseSession session;
    const SinkState sink = session.sink(device);
    if (!sink.found)
        return false;
    bool success = false;
    session.wait(pa().pa_context_set_sink_mute_by_index(session.context(), sink.index, muted ? 1 : 0,
                                                   &PulseSession::successCallback, &success));
    return success;
}

} // namespace platform::linuxbackend
