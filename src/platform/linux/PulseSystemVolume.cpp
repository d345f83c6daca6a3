#include "PulseSystemVolume.h"

#include "PulseClient.h"

#include <algorithm>

namespace platform::linuxbackend {
namespace {

using pulse::api;

struct SinkState {
    bool found = false;
    uint32_t index = PA_INVALID_INDEX;
    pa_cvolume volume{};
    bool muted = false;
};

const QString kConsequence = QStringLiteral("the system volume reads 0 and is not set");

void readSink(pa_context *, const pa_sink_info *info, int eol, void *user)
{
    auto *st = static_cast<SinkState *>(user);
    if (eol || !info)
        return;
    st->found = true;
    st->index = info->index;
    st->volume = info->volume;
    st->muted = info->mute != 0;
}

// The default sink and the sinks by index, each through one short session.
class PulseSession : public pulse::Session {
public:
    PulseSession() : pulse::Session("Quorvex Companion volume", kConsequence) {}

    SinkState sink(const char *name)
    {
        SinkState state;
        if (ready())
            wait(api().pa_context_get_sink_info_by_name(context(), name, readSink, &state));
        return state;
    }

    SinkState sink(quint32 device)
    {
        SinkState state;
        if (ready() && device != 0)
            wait(api().pa_context_get_sink_info_by_index(context(), device - 1, readSink, &state));
        return state;
    }
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
    if (!sink.found || !api().pa_cvolume_valid(&sink.volume))
        return std::nullopt;
    return float(double(api().pa_cvolume_avg(&sink.volume)) / PA_VOLUME_NORM);
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
    if (!sink.found || !api().pa_cvolume_valid(&sink.volume))
        return false;
    pa_cvolume target = sink.volume;
    // Keeps the balance between channels, like a volume knob would.
    api().pa_cvolume_scale(&target, pa_volume_t(std::max(0.0, double(volume)) * PA_VOLUME_NORM + 0.5));
    bool success = false;
    session.wait(api().pa_context_set_sink_volume_by_index(session.context(), sink.index, &target,
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
    session.wait(api().pa_context_set_sink_mute_by_index(session.context(), sink.index, muted ? 1 : 0,
                                                         &PulseSession::successCallback, &success));
    return success;
}

} // namespace platform::linuxbackend
