#pragma once

// Recognises one input report of a receiver's (or wired mouse's) command interface:
// which frame family it belongs to, what kind of report it is, its command, status and
// payload, and whether the family acknowledges it. Pure: no state, no timers, no
// singletons, so it is tested and fuzzed on its own; QXHidReportParser acts on it.
//
// Families follow the device's frame layout (chipPlan) and device type:
//   framed    plan 2 or device type 5: "0d5a4d", "0d6a4d", "4d" replies
//   plan 7    "a6" replies, "a5" voice
//   plan 6    "0c4d"/"1c4d" replies, "1b" voice, "0c4e" voice chip
//   plan 4    "0c10"+command, "0c11"+key, "0c00" gone, "1b" voice
//   plan 3    every report is one status record
// Reports shorter than what their kind reads are classified TooShort: they are
// neither acknowledged nor handled (the devices send full-length reports; a short one
// comes from a truncated read and would otherwise be read past its end).

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace proto {

enum class HidReportFamily { None, Framed, Plan7, Plan6, Plan4, Plan3 };

enum class HidReportKind {
    Ignored,            // unknown plan, prefix or command: nothing to do (after any acknowledgement)
    TooShort,           // recognised, but shorter than its reads need: dropped
    Reply,              // a command reply of the framed, plan-7 or plan-6 families (see route)
    Voice,              // device voice: "0d5a3f02", "a5", "1b"
    ReceiverFirmware,   // framed "0dabc0", "0dabc1", "0dabc2"
    RemoteFirmware,     // framed "0d81abc06400", "0d81abc1", "0d81abc2"
    ReceiverConnection, // framed "0d5243"
    VoiceChip,          // plan 6 "0c4e"
    Plan4Key,           // "0c1133", "0c1140", ... (the eight key prefixes)
    Plan4Info,          // "0c102f"
    Plan4InfoRequest,   // "0c1026", "0c1022", "0c1027": the device asks to be read again
    Plan4Serial,        // "0c1038"
    Plan4SerialWritten, // "0c1030"
    Plan4Firmware,      // "0c102e"
    Plan4Other,         // any other plan-4 report ("0c1081", "0c00", unknown): presence only
    Plan3Status,        // the plan-3 status record
};

// What a reply's command means in its family, and so which handler takes it.
enum class HidReplyRoute {
    None,             // no handler (unknown command, or plan-7 commands above 0xc3)
    InfoRequest,      // the device asks for sendGetMouseInfoData
    DeviceInfo,       // 0x61
    ConnectionStatus, // 0x69
    Unplugged,        // framed 0x60
    Gone,             // plans 6/7 0x00
    PopUpPresent,     // plans 6/7 0x70: close the pop-up web site, device present
    PresentOnly,      // plan 6: any other command only runs the present action
    Key,              // key, voice-key, voice start/end, AI and mode events
    Lighting,         // framed lighting, hand and pointer replies
    Firmware,         // framed firmware-transfer replies 0x70-0x74
};

struct HidReportContext {
    int chipPlan = 0;
    int deviceType = 1;
    uint16_t vendorId = 0;       // currentVid of the open receiver
    uint16_t productId = 0;      // currentPid
    bool productCode113 = false; // productCode is "113": plan-6 replies are acknowledged
};

struct HidReport {
    HidReportFamily family = HidReportFamily::None;
    HidReportKind kind = HidReportKind::Ignored;
    HidReplyRoute route = HidReplyRoute::None;
    // The report after the plan-4 re-framing (ReceiverTable kReframedReports); every offset
    // below refers to it.
    QByteArray bytes;
    int byte1 = -1;        // byte 1 of the report as it arrived (-1: absent); the plan-4 voice needs it
    bool reframed = false; // byte 1 was removed
    int command = -1;      // unsigned command byte, -1 when the kind has none
    int status = 0;        // status byte as a signed 8-bit value (0 when the kind has none)
    bool hasStatus = false;
    int payloadOffset = 0;
    int payloadLength = 0;
    bool timeReply = false;       // plan 6 "1c4d"
    bool acknowledge = false;     // the family acknowledges it (sendGetReceiveData before anything else)
    bool callsCompletion = false; // framed replies end with the completion call
    int requiredLength = 0;       // bytes its reads need (set for TooShort too)

    QByteArrayView payload() const { return QByteArrayView(bytes).sliced(payloadOffset, payloadLength); }
    int size() const { return int(bytes.size()); }
    // Byte i of the report, or nullopt past its end.
    std::optional<uint8_t> at(int i) const
    {
        if (i < 0 || i >= bytes.size())
            return std::nullopt;
        return uint8_t(bytes[i]);
    }
    // Byte i, or `fallback` past the end (for reads already covered by requiredLength).
    uint8_t byteOr(int i, uint8_t fallback = 0) const { return at(i).value_or(fallback); }
};

HidReport classifyHidReport(QByteArrayView report, const HidReportContext &ctx);

// The command table: what a reply's command means in a family (Framed, Plan7, Plan6).
HidReplyRoute hidReplyRoute(HidReportFamily family, int command);

// Bytes a reply of this family and command must have for its handler's reads.
int hidReplyRequiredLength(HidReportFamily family, int command, const HidReportContext &ctx);

// Lower-case hex text of the bytes, as device serials and versions are written.
QString hidHexText(QByteArrayView bytes);
// Device text as the application keeps it: Latin-1, NUL bytes dropped. Never fails.
QString hidDeviceText(QByteArrayView bytes);

const char *hidReportKindName(HidReportKind kind);

} // namespace proto
