#pragma once

#include "platform/ISystemVolume.h"

#include <QtGlobal>

// The computer's output volume and mute, as the mouse's volume keys change them.
// Keeps nothing between calls; any thread may call. Each method uses the given
// backend, or the installed one when none is given.
class AUSoundAdditions {
public:
    static quint32 defaultOutputDevice(platform::ISystemVolume *backend = nullptr);

    // 0.0 to 1.0. Below 0.099 reads as 0.0 (the device's lowest steps are silence);
    // 0.0 without a device.
    static float systemVolume(platform::ISystemVolume *backend = nullptr);

    // Clamps to 0.0 ... 1.0. Below 0.005 mutes and leaves the volume as it was;
    // otherwise sets the volume and unmutes. A device that refuses is skipped.
    static void setSystemVolume(float volume, platform::ISystemVolume *backend = nullptr);
    static void increaseSystemVolumeBy(float amount, platform::ISystemVolume *backend = nullptr);
    static void decreaseSystemVolumeBy(float amount, platform::ISystemVolume *backend = nullptr);

    static void applyMute(bool mute, platform::ISystemVolume *backend = nullptr);
    static bool isMuted(platform::ISystemVolume *backend = nullptr);
};
