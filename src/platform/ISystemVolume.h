#pragma once

#include <QtGlobal>

#include <optional>

namespace platform {

// The sound server's output device properties, asked afresh on every call (nothing
// is cached, so any thread may call). Device ids are opaque; 0 means "none".
class ISystemVolume {
public:
    virtual ~ISystemVolume() = default;

    // The default output device; 0 when there is none or no sound server answers.
    virtual quint32 defaultOutputDevice() = 0;

    // Volume 0.0 (silent) to 1.0 (nominal full); nothing when the device lacks a
    // volume or the read fails. May exceed 1.0 where the server amplifies.
    virtual std::optional<float> volume(quint32 device) = 0;
    virtual bool isVolumeSettable(quint32 device) = 0;
    virtual bool setVolume(quint32 device, float volume) = 0;

    // Nothing when the device has no mute switch or the read fails.
    virtual std::optional<bool> muted(quint32 device) = 0;
    virtual bool isMuteSettable(quint32 device) = 0;
    virtual bool setMuted(quint32 device, bool muted) = 0;
};

} // namespace platform
