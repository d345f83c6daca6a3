#include "AUSoundAdditions.h"

#include "platform/PlatformServices.h"

#include <algorithm>
#include <cmath>

namespace {

platform::ISystemVolume &backendOr(platform::ISystemVolume *backend)
{
    return backend ? *backend : *platform::services().volume;
}

} // namespace

quint32 AUSoundAdditions::defaultOutputDevice(platform::ISystemVolume *backend)
{
    return backendOr(backend).defaultOutputDevice();
}

float AUSoundAdditions::systemVolume(platform::ISystemVolume *backend)
{
    platform::ISystemVolume &b = backendOr(backend);
    const quint32 device = b.defaultOutputDevice();
    if (device == 0)
        return 0.0f;
    const std::optional<float> volume = b.volume(device);
    if (!volume)
        return 0.0f;
    // Compared in double precision: float(0.099) lies just below 0.099.
    const double v = *volume;
    if (v < 0.099)
        return 0.0f;
    if (v > 1.0)
        return 1.0f;
    return *volume;
}

void AUSoundAdditions::setSystemVolume(float volume, platform::ISystemVolume *backend)
{
    platform::ISystemVolume &b = backendOr(backend);
    if (std::isnan(volume))
        return;
    const quint32 device = b.defaultOutputDevice();
    if (device == 0)
        return;
    const float v = std::clamp(volume, 0.0f, 1.0f);
    if (double(v) < 0.005) {
        if (b.isMuteSettable(device))
            b.setMuted(device, true);
        return;
    }
    if (!b.isVolumeSettable(device))
        return;
    b.setVolume(device, v);
    // Setting a volume always unmutes; a device without a mute switch refuses, which is fine.
    b.setMuted(device, false);
}

void AUSoundAdditions::increaseSystemVolumeBy(float amount, platform::ISystemVolume *backend)
{
    setSystemVolume(systemVolume(backend) + amount, backend);
}

void AUSoundAdditions::decreaseSystemVolumeBy(float amount, platform::ISystemVolume *backend)
{
    setSystemVolume(systemVolume(backend) - amount, backend);
}

void AUSoundAdditions::applyMute(bool mute, platform::ISystemVolume *backend)
{
    platform::ISystemVolume &b = backendOr(backend);
    const quint32 device = b.defaultOutputDevice();
    if (device != 0 && b.isMuteSettable(device))
        b.setMuted(device, mute);
}

bool AUSoundAdditions::isMuted(platform::ISystemVolume *backend)
{
    platform::ISystemVolume &b = backendOr(backend);
    const quint32 device = b.defaultOutputDevice();
    if (device == 0 || !b.isMuteSettable(device))
        return false;
    return b.muted(device).value_or(false);
}
