#include "PulseSystemVolume.h"

#include "PZLog.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <functional>

namespace platform::linuxbackend {
namespace {

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
        m_loop = pa_mainloop_new();
        if (!m_loop)
            return;
        m_context = pa_context_new(pa_mainloop_get_api(m_loop), "Quorvex Companion volume");
        if (!m_context)
            return;
        // Never start a server of our own: no server means "no output device".
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            logUnavailable();
            return;
        }
        const bool ready = runUntil([this] {
            const pa_context_state_t s = pa_context_get_state(m_context);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        });
        m_ready = ready && pa_context_get_state(m_context) == PA_CONTEXT_READY;
        if (!m_ready)
            logUnavailable();
    }

    ~PulseSession()
    {
        if (m_context) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
        if (m_loop)
            pa_mainloop_free(m_loop);
    }

    bool ready() const { return m_ready; }
    pa_context *context() const { return m_context; }

    // Waits for an operation; false on failure or time-out.
    bool wait(pa_operation *op)
    {
        if (!op)
            return false;
        const bool done = runUntil([op] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; });
        const bool ok = done && pa_operation_get_state(op) == PA_OPERATION_DONE;
        if (!done)
            pa_operation_cancel(op);
        pa_operation_unref(op);
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
            wait(pa_context_get_sink_info_by_name(m_context, name, cb, &state));
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
            wait(pa_context_get_sink_info_by_index(m_context, device - 1, cb, &state));
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
            if (pa_mainloop_prepare(m_loop, int(left.count())) < 0 || pa_mainloop_poll(m_loop) < 0
                || pa_mainloop_dispatch(m_loop) < 0)
                return false;
        }
        return true;
    }

    void logUnavailable()
    {
        qxLogOnce("pulse:unavailable", QStringLiteral("no sound server answers (%1); the system volume reads 0 and is not set")
                                           .arg(QString::fromUtf8(pa_strerror(pa_context_errno(m_context)))));
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
    if (!sink.found || !pa_cvolume_valid(&sink.volume))
        return std::nullopt;
    return float(double(pa_cvolume_avg(&sink.volume)) / PA_VOLUME_NORM);
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
    if (!sink.found || !pa_cvolume_valid(&sink.volume))
        return false;
    pa_cvolume target = sink.volume;
    // Keeps the balance between channels, like a volume knob would.
    pa_cvolume_scale(&target, pa_volume_t(std::max(0.0, double(volume)) * PA_VOLUME_NORM + 0.5));
    bool success = false;
    session.wait(pa_context_set_sink_volume_by_index(session.context(), sink.index, &target,
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
    session.wait(pa_context_set_sink_mute_by_index(session.context(), sink.index, muted ? 1 : 0,
                                                   &PulseSession::successCallback, &success));
    return success;
}

} // namespace platform::linuxbackend
