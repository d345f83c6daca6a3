#pragma once

#include "tools/WavFormat.h"

#include <QString>

// How the device's voice is encoded on its way to the speech service: what the speech
// frames declare. `rate` is empty when the frame carries no "rate".
struct VoiceStreamFormat {
    QString format; // "adpcm" or "pcm"
    QString rate;   // "8k", "16k" or ""
    bool operator==(const VoiceStreamFormat &) const = default;
};

// Read from the same device state as the recording's WAV rate (the family, the device
// type, the firmware, the sampling flag and the receiver); each rule may override the
// ones before it.
VoiceStreamFormat voiceStreamFormat(const WavRateInputs &device);
