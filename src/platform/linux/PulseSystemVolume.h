#pragma once

#include "platform/ISystemVolume.h"

namespace platform::linuxbackend {

// The default sink of the PulseAudio server (or PipeWire's pulse layer). Every call
// opens its own short connection, waits at most a second for the server and closes
// again, so a missing or hung server never blocks a caller for long and nothing is
// shared between threads. A device id is the sink index + 1.
class PulseSystemVolume final : public ISystemVolume {
public:
    quint32 defaultOutputDevice() override;
    std::optional<float> volume(quint32 device) override;
    bool isVolumeSettable(quint32 device) override;
    bool setVolume(quint32 device, float volume) override;
    std::optional<bool> muted(quint32 device) override;
    bool isMuteSettable(quint32 device) override;
    bool setMuted(quint32 device, bool muted) override;
};

} // namespace platform::linuxbackend
