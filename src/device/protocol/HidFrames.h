#pragma once

// The output commands of the HID device families, as pure functions of the command,
// its arguments and the connected device. Each family (chipPlan) frames a command its
// own way; the layouts live in one table in HidFrames.cpp.
//
// A result is the list of reports to hand to the HID device, in order. Each entry holds
// the bytes a builder writes from byte 0 of the zero-filled command buffer; an empty
// entry is the zero report (the untouched buffer), which the families without a frame
// for a command have always received. An empty list means nothing is sent.

#include "HidCommandSink.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <initializer_list>
#include <vector>

namespace proto {

enum class HidCommand {
    // device information and connection
    GetMouseInfo,
    SearchMouseConnectStatus,
    GetReceive,
    GetMouseSN,
    GetDeviceFireware,
    GetDongleInfo,
    // microphone
    OpenMic,
    CloseMic,
    // settings
    OpenLed,
    CloseLed,
    OpenPopUpWebSite,
    ClosePopUpWebSite,
    SetDpi,           // (index); plan 3 takes DpiTables::rawFromIndex()
    ModifyReturnRate, // (rate)
    KeyCommand,       // (keyCode1, keyCode2)
    ResetKeyStatus,
    OpenRGBLogoLED,
    CloseRGBLogoLED,
    OpenRGB,
    CloseRGB,
    GetLightingEffectsMode,
    GetLightingEffectsBrightness,
    GetLightingEffectsSpeed,
    GetLightingEffectsColor,
    GetMouseLeftOrRightHandBehavior,
    SetLightingEffectsMode, // (value) for the five setters
    SetLightingEffectsBrightness,
    SetLightingEffectsSpeed,
    SetLightingEffectsColor,
    SetMouseLeftOrRightHandBehavior,
    SetProductMode,               // (mode, 16 bits)
    SetBurnerInfo,                // (pid, vid, icDirection, mode, mouseType, websiteType); websiteType is not sent
    SetTelinkBurnerInfoMouseType, // (value) for the four Telink burner commands
    SetTelinkBurnerInfoWebsiteType,
    SetTelinkBurnerInfoAudioRate,
    SetTelinkBurnerInfoIcDirection,
    // laser pen and pointer
    GetTelinkLaserPenInfo,
    TelinkLaserPenEnterMouseStatus,
    TelinkLaserPenQuitMouseStatus,
    TelinkLaserPenOpenMic,
    TelinkLaserPenCloseMic,
    TelinkLaserPenOpenHardLaser,
    TelinkLaserPenCloseHardLaser,
    TelinkLaserPenOnline,
    TelinkLaserPenOffLine,
    TelinkLaserPenCountdown, // (seconds, 16 bits)
    LaserPenDpi,             // (value)
    LaserPenShakeEffect,     // (tenths of a second, 16 bits); see laserpen::shakeTenths()
    LaserPenMode,            // (value)
    LaserPenEnterMouseStatus,
    LaserPenQuitMouseStatus,
    // voice chip
    GetXunFeiChipDeviceInfo,
    CommandOperation,
};

// What the builders read of the connected device.
struct HidContext {
    int chipPlan = 0;
    int deviceType = 1; // 1 mouse, 2 laser pen, 3 hot-key receiver, 4 remote control, 5 pointer
    bool mouseIsConnect = false;
    quint64 icType = 1;
};

// Reports in sending order: bytes from byte 0, empty = zero report; no entry = nothing.
using HidFrameList = std::vector<QByteArray>;

// The frames of a table command. Arguments are integers; each is written as the bytes
// the layout gives it (low byte, or low and high byte), so out-of-range values are cut
// to those bytes. Missing arguments count as 0.
HidFrameList hidFrames(HidCommand command, const HidContext &ctx, std::initializer_list<qint64> args = {});

// Serial-number frames. The text is refused (nothing sent, with the reason in *error)
// when it would not fit the family's frame: plan 2 up to 58 characters (a 64-byte
// report), plan 4 up to 18, plan 7 exactly 18 whose last 16 are hexadecimal; only
// ASCII characters. Other plans: the zero report.
HidFrameList hidSetSnFrames(const HidContext &ctx, const QString &sn, QString *error = nullptr);
// The Telink burner serial number (plan 6 only, else nothing): 0c 4d 12 6a, then the
// text's hexadecimal pairs and 4c after them; refused unless it is hexadecimal, of even
// length and at most 16 bytes (what a 21-byte report holds).
HidFrameList hidSetTelinkSnFrames(const HidContext &ctx, const QString &sn, QString *error = nullptr);

// Clock frames from the device-local calendar time (its date and time as given).
// Time sync: report 1c on any plan, closed by kTimeSyncClosingByte.
inline constexpr uint8_t kTimeSyncClosingByte = 0x4d;
QByteArray hidCurrentTimeFrame(const QDateTime &localTime);
QByteArray hidTelinkCurrentTimeFrame(const QDateTime &localTime);
// The voice-chip authorisation request for a time in seconds since 1970.
QByteArray hidXunFeiChipAuthFrame(quint64 unixSeconds);

// A frame written into a zero-filled command buffer (bytes past 256 are dropped).
HidCommandBuffer hidCommandBuffer(const QByteArray &frame);

} // namespace proto
