#pragma once

// What each device family (chip plan) is, one row per plan: how its replies are
// framed, how it streams voice and at which rate, the settings it offers, its key map
// and how the connection poll asks after the mouse. Code that would ask "which plan
// is this" reads the row instead, so a family is described in one place (its DPI
// steps are in DpiTables). Plain data and lookups, no state.
//
// What the transport below needs per family stays in its own tables and is read
// from here: the output report length (HidReportRules) and the per-receiver quirks
// (ReceiverTable).

#include "HidReportClassifier.h"
#include "tools/WavFormat.h"

#include <array>
#include <cstdint>
#include <span>

namespace proto {

// How the device's voice reaches the main interface.
enum class VoiceLayout : std::uint8_t {
    None,
    FramedAdpcm,    // "0d5a3f02" + sequence + 50 ADPCM bytes
    VoiceInterface, // a separate voice interface; the main one carries none
    Plan4Units,     // "1b" with per-receiver unit layouts
    TelinkBlocks,   // "1b", one ADPCM block per report
    Plan7Units,     // "a5" with a sampling flag and high-first ADPCM
};

// How the stream's rate is decided beyond the family's own rate.
enum class VoiceRateRule : std::uint8_t {
    Fixed,        // the family's rate
    FlagFromFw11, // from firmware 11 on, the device's sampling flag (16 kHz when set)
    Flag,         // always the device's sampling flag
};

// Which key table turns the family's key events into actions.
enum class KeyMap : std::uint8_t { None, Framed, Plan3, Plan4, Plan6, Plan7 };

// What the connection poll sends each tick.
enum class ConnectionPoll : std::uint8_t { None, StatusQuery, SerialQuery };

// The connection poll's intervals: plan 4 answers its serial query slowly.
inline constexpr int kConnectionPollMs = 3000;
inline constexpr int kConnectionPollPlan4Ms = 5000;

enum FamilySetting : std::uint32_t {
    // 1 << 0 was the device profile's DPI list: DpiTables says which plans prefer it
    kHidFirmwareUpdate = 1 << 1, // firmware is updated over the HID command interface
    kMicOwnsVoiceFlag = 1 << 2,  // opening the microphone empties the voice buffer and closing it
                                 // ends the voice input (elsewhere the device's voice end does)
    kFlushOnMicClose = 1 << 3,   // closing the microphone hands over what the buffer holds
    kKeepsMicChoice = 1 << 4,    // without key setting the stored voice source still counts
                                 // (elsewhere the voice then always comes from the device)
    kDpiAsRawValue = 1 << 5,     // the DPI command carries the sensor's raw value, not the index
};

struct FamilyTraits {
    int chipPlan;
    HidReportFamily replies; // None: the family sends nothing the parser reads
    VoiceLayout voice;
    int voiceRate; // 8000 or 16000, before the device's own flags
    VoiceRateRule rateRule;
    bool pcmVoice; // the speech service is told "pcm" (else "adpcm"); the Flag
                   // rule says "pcm" as well, unless a wide-band receiver overrides it
    std::uint32_t settings;
    KeyMap keys;
    ConnectionPoll poll;
    int pollIntervalMs;

    bool has(FamilySetting s) const { return (settings & s) != 0; }
    // The output report length for the connected device type (the transport's rule).
    int reportLength(std::uint64_t deviceType, bool length33) const;
};

// The row of a chip plan; a plan without a row of its own (unknown or negative)
// behaves as plan 0.
const FamilyTraits &familyTraits(std::int64_t chipPlan);

// Every row, plans 0 to 7.
std::span<const FamilyTraits> familyTable();

} // namespace proto

// 8000 or 16000: the rate of the device's voice, and so of a recording written as WAV.
// Each rule may override the one before it: Bluetooth LE and the family's own rate,
// the device types that always stream wide band, the family's rate rule, and last the
// receivers that stream wide band whatever their family says.
int wavSampleRate(const WavRateInputs &in);
