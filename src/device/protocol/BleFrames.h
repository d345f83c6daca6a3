#pragma once

// The command frames of the Bluetooth LE mouse: 4d, the whole frame's length, the
// command code, the arguments, 4c. One layout for every device; the codes are those of
// the HID families. Pure functions; the table is in BleFrames.cpp.

#include <QByteArray>

#include <initializer_list>

namespace proto {

enum class BleCommand {
    GetReceive,
    KeyCommand,    // (keyCode1, keyCode2)
    SetBurnerInfo, // (pid, vid, icDirection, mode, mouseType, websiteType)
    GetMouseInfo,
    OpenMic,
    CloseMic,
    OpenLed,
    CloseLed,
    OpenPopUpWebSite,
    ClosePopUpWebSite,
    SetDpi, // (dpi)
    StartOTA,
    EndOTA, // (total, checksum), 32 bits each
    CancelOTA,
    OpenRGBLogoLED,
    CloseRGBLogoLED,
    GetLightingEffectsMode,
    SetLightingEffectsMode, // (value) for the five setters
    GetLightingEffectsBrightness,
    SetLightingEffectsBrightness,
    GetLightingEffectsSpeed,
    SetLightingEffectsSpeed,
    GetLightingEffectsColor,
    SetLightingEffectsColor,
    GetMouseLeftOrRightHandBehavior,
    SetMouseLeftOrRightHandBehavior,
};

// Commands go to the data characteristic (written with response); the firmware
// transfer's to the firmware characteristic (written without response).
enum class BleChannel { Data, Ota };

struct BleFrame {
    QByteArray bytes;
    BleChannel channel = BleChannel::Data;
};

// Arguments are written little-endian in the widths the table gives them (one byte,
// two for identifiers, four for firmware totals): out-of-range values are cut to those
// bytes. Missing arguments count as 0.
BleFrame bleFrame(BleCommand command, std::initializer_list<qint64> args = {});

} // namespace proto
