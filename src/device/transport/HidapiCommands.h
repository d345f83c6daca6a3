#pragma once

#include <QByteArray>

// The older-style commands of the hidapi transport (report 0x0d). Receivers of chip
// plan 2 take the "0d a5" form; a few commands have no meaning on the other plans
// and go out as an all-zero report there.
namespace hidapicmd {

enum class Command {
    Led,        // value: 1 on, 0 off
    Dpi,        // value: DPI index
    KeyCommand, // value: key; plan 2 follows it with KeyCommandRelease
    KeyCommandRelease,
    ResetKey,
    OpenWebsite, // value: 1 on, 0 off
    OpenMic,     // value: 1 on, 0 off
    GetMouseInfo,
    LaserPenMode,        // value: mode
    LaserPenDpi,         // value: DPI
    LaserPenOpenWebsite, // value: 1 on, 0 off
    LaserPenOpenMic,     // value: 1 on, 0 off
    LaserPenOpenLed,     // value: 1 on, 0 off
    LaserPenMotor,       // value: motor strength
    LaserPenResetKeyStatus,
    LaserPenShakeDuration,  // value: tenths of a second, 16 bits little-endian
    LaserPenSendKeyCommand, // value: key
};

// Size of the command buffer; the transport writes its first 17 (plan 2) or 16 bytes.
inline constexpr int kBufferSize = 64;

// The zero-filled command buffer for a command on a plan. Values are taken as bytes
// (only the shake duration uses two).
QByteArray build(Command command, bool plan2, int value = 0);

} // namespace hidapicmd
