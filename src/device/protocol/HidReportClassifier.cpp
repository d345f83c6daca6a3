#include "HidReportClassifier.h"

#include "FamilyTraits.h"
#include "ReceiverTable.h"

#include <QString>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace proto {

namespace {

using F = HidReportFamily;
using R = HidReplyRoute;

// One run of command codes and what they mean in each family (None: not handled there).
struct RouteRow {
    int first;
    int last;
    R framed;
    R plan7;
    R plan6;
};

// clang-format off
constexpr std::array<RouteRow, 33> kRoutes{{
    {0x00, 0x00, R::Key,         R::Gone,             R::Gone},
    {0x21, 0x21, R::InfoRequest, R::None,             R::None},
    {0x31, 0x49, R::Key,         R::Key,              R::Key},
    {0x50, 0x53, R::None,        R::Key,              R::Key},
    {0x5a, 0x5a, R::Key,         R::None,             R::None},
    {0x60, 0x60, R::Unplugged,   R::None,             R::None},
    {0x61, 0x61, R::DeviceInfo,  R::DeviceInfo,       R::DeviceInfo},
    {0x62, 0x63, R::None,        R::Key,              R::Key},
    {0x68, 0x68, R::InfoRequest, R::InfoRequest,      R::InfoRequest},
    {0x69, 0x69, R::ConnectionStatus, R::ConnectionStatus, R::ConnectionStatus},
    {0x6a, 0x6e, R::None,        R::InfoRequest,      R::InfoRequest},
    {0x70, 0x70, R::Firmware,    R::PopUpPresent,     R::PopUpPresent},
    {0x71, 0x72, R::Firmware,    R::None,             R::None},
    {0x74, 0x74, R::Firmware,    R::None,             R::None},
    {0x80, 0x80, R::None,        R::Key,              R::Key},
    {0x81, 0x82, R::InfoRequest, R::None,             R::None},
    {0x83, 0x83, R::Lighting,    R::Key,              R::Key},
    {0x84, 0x84, R::Lighting,    R::Key,              R::Key},
    {0x85, 0x85, R::Lighting,    R::None,             R::None},
    {0x86, 0x8c, R::Lighting,    R::Key,              R::Key},
    {0x8d, 0x8f, R::None,        R::Key,              R::Key},
    {0x90, 0x90, R::Lighting,    R::Key,              R::Key},
    {0x91, 0x91, R::None,        R::Key,              R::Key},
    {0x92, 0x93, R::Lighting,    R::Key,              R::Key},
    {0x94, 0x99, R::None,        R::Key,              R::Key},
    {0x9a, 0x9d, R::Key,         R::Key,              R::Key},
    {0x9e, 0xaf, R::None,        R::Key,              R::Key},
    {0xb0, 0xbb, R::None,        R::Key,              R::Key},
    {0xbc, 0xbc, R::None,        R::Key,              R::Key},
    {0xbe, 0xbe, R::None,        R::Key,              R::Key},
    {0xc0, 0xc3, R::None,        R::Key,              R::Key},
    {0xe3, 0xe4, R::None,        R::None,             R::Key},
    {0xf0, 0xf3, R::None,        R::None,             R::Key},
}};
// clang-format on

bool startsWith(QByteArrayView b, std::initializer_list<uint8_t> prefix)
{
    if (b.size() < qsizetype(prefix.size()))
        return false;
    qsizetype i = 0;
    for (uint8_t p : prefix)
        if (uint8_t(b[i++]) != p)
            return false;
    return true;
}

int byteAt(QByteArrayView b, qsizetype i)
{
    return i >= 0 && i < b.size() ? int(uint8_t(b[i])) : -1;
}

// Marks a report too short for its reads; a dropped report is never acknowledged.
void require(HidReport &r, int length)
{
    r.requiredLength = std::max(r.requiredLength, length);
    if (r.size() < r.requiredLength) {
        r.kind = HidReportKind::TooShort;
        r.acknowledge = false;
        r.callsCompletion = false;
        r.route = R::None;
    }
}

void readCommand(HidReport &r, int commandAt, int statusAt)
{
    r.command = byteAt(r.bytes, commandAt);
    const int s = byteAt(r.bytes, statusAt);
    r.hasStatus = s >= 0;
    r.status = s >= 0 ? int(int8_t(uint8_t(s))) : 0;
}

void classifyFramed(HidReport &r, const HidReportContext &ctx)
{
    const QByteArrayView b(r.bytes);
    if (!startsWith(b, {0x0d, 0x5a, 0x4d}) && !startsWith(b, {0x0d, 0x6a, 0x4d}) && !startsWith(b, {0x4d})) {
        struct Other {
            std::initializer_list<uint8_t> prefix;
            HidReportKind kind;
            int commandAt; // the byte that tells the reply apart, -1: none
            int length;
        };
        // Tested in this order; the first match wins.
        const Other others[] = {
            {{0x0d, 0x5a, 0x3f, 0x02}, HidReportKind::Voice, -1, 4},
            {{0x0d, 0xab, 0xc0}, HidReportKind::ReceiverFirmware, 2, 3},
            {{0x0d, 0xab, 0xc1}, HidReportKind::ReceiverFirmware, 2, 5},
            {{0x0d, 0xab, 0xc2}, HidReportKind::ReceiverFirmware, 2, 3},
            {{0x0d, 0x52, 0x43}, HidReportKind::ReceiverConnection, -1, 4},
            {{0x0d, 0x81, 0xab, 0xc0, 0x64, 0x00}, HidReportKind::RemoteFirmware, 3, 6},
            {{0x0d, 0x81, 0xab, 0xc1}, HidReportKind::RemoteFirmware, 3, 6},
            {{0x0d, 0x81, 0xab, 0xc2}, HidReportKind::RemoteFirmware, 3, 7},
        };
        for (const Other &o : others) {
            if (startsWith(b, o.prefix)) {
                r.kind = o.kind;
                r.command = o.commandAt >= 0 ? byteAt(b, o.commandAt) : -1;
                require(r, o.length);
                return;
            }
        }
        return; // Ignored
    }

    const bool type5 = ctx.deviceType == 5;
    r.kind = HidReportKind::Reply;
    readCommand(r, type5 ? 2 : 3, type5 ? 3 : 4);
    r.payloadOffset = type5 ? 3 : 5;
    const int payloadEnd = type5 ? r.size() : r.size() - 1; // the closing byte is not payload
    r.payloadLength = std::max(0, payloadEnd - r.payloadOffset);
    r.payloadOffset = std::min(r.payloadOffset, r.size());
    r.route = r.command >= 0 ? hidReplyRoute(F::Framed, r.command) : R::None;
    r.acknowledge = r.command != 0x69;
    r.callsCompletion = true;
    require(r, type5 ? 4 : 5);
    if (r.kind == HidReportKind::Reply)
        require(r, hidReplyRequiredLength(F::Framed, r.command, ctx));
}

void classifyPlan7(HidReport &r, const HidReportContext &ctx)
{
    const QByteArrayView b(r.bytes);
    // The acknowledgement depends on byte 3 alone, before the prefix is looked at.
    require(r, 4);
    if (r.kind == HidReportKind::TooShort)
        return;
    readCommand(r, 3, 4);
    r.acknowledge = r.command != 0;
    if (startsWith(b, {0xa6})) {
        r.kind = HidReportKind::Reply;
        r.payloadOffset = std::min(5, r.size());
        r.payloadLength = std::max(0, r.size() - 5);
        r.route = r.command > 0xc3 ? R::None : hidReplyRoute(F::Plan7, r.command);
        require(r, 5);
        if (r.kind == HidReportKind::Reply)
            require(r, hidReplyRequiredLength(F::Plan7, r.command, ctx));
    } else if (startsWith(b, {0xa5})) {
        r.kind = HidReportKind::Voice;
    }
}

void classifyPlan6(HidReport &r, const HidReportContext &ctx)
{
    const QByteArrayView b(r.bytes);
    if (startsWith(b, {0x0c, 0x4d}) || startsWith(b, {0x1c, 0x4d})) {
        r.kind = HidReportKind::Reply;
        r.timeReply = uint8_t(b[0]) == 0x1c;
        readCommand(r, 3, 4);
        r.payloadOffset = std::min(5, r.size());
        r.payloadLength = std::max(0, r.size() - 5);
        if (r.command >= 0) {
            const R route = hidReplyRoute(F::Plan6, r.command);
            r.route = route == R::None ? R::PresentOnly : route;
        }
        r.acknowledge = ctx.productCode113 && r.command != 0 && r.command != 0x61 && r.command != 0x69;
        require(r, 5);
        if (r.kind == HidReportKind::Reply)
            require(r, hidReplyRequiredLength(F::Plan6, r.command, ctx));
    } else if (startsWith(b, {0x1b})) {
        r.kind = HidReportKind::Voice;
    } else if (startsWith(b, {0x0c, 0x4e})) {
        r.kind = HidReportKind::VoiceChip;
        r.command = byteAt(b, 2);
        r.payloadOffset = std::min(3, r.size());
        r.payloadLength = std::max(0, r.size() - 3);
        require(r, 4); // sub-command and its length byte
    }
}

void classifyPlan4(HidReport &r)
{
    const QByteArrayView b(r.bytes);
    static constexpr uint8_t kKeys[] = {0x33, 0x40, 0x37, 0x38, 0x35, 0x41, 0x31, 0x32};
    r.kind = HidReportKind::Plan4Other;
    if (startsWith(b, {0x0c, 0x11})) {
        for (uint8_t k : kKeys) {
            if (byteAt(b, 2) == k) {
                r.kind = HidReportKind::Plan4Key;
                r.command = k;
                r.acknowledge = true;
                return;
            }
        }
        return;
    }
    if (startsWith(b, {0x1b})) {
        r.kind = HidReportKind::Voice;
        return;
    }
    if (!startsWith(b, {0x0c, 0x10}) || b.size() < 3)
        return;
    r.command = byteAt(b, 2);
    r.payloadOffset = 3;
    r.payloadLength = r.size() - 3;
    switch (r.command) {
    case 0x2f:
        r.kind = HidReportKind::Plan4Info;
        require(r, 8);
        break;
    case 0x26:
    case 0x22:
    case 0x27:
        r.kind = HidReportKind::Plan4InfoRequest;
        break;
    case 0x38:
        r.kind = HidReportKind::Plan4Serial;
        require(r, 9);
        break;
    case 0x30:
        r.kind = HidReportKind::Plan4SerialWritten;
        break;
    case 0x2e:
        r.kind = HidReportKind::Plan4Firmware;
        require(r, 4);
        break;
    default:
        break;
    }
}

} // namespace

HidReplyRoute hidReplyRoute(HidReportFamily family, int command)
{
    for (const RouteRow &row : kRoutes) {
        if (command < row.first || command > row.last)
            continue;
        switch (family) {
        case F::Framed:
            return row.framed;
        case F::Plan7:
            return row.plan7;
        case F::Plan6:
            return row.plan6;
        default:
            return R::None;
        }
    }
    return R::None;
}

int hidReplyRequiredLength(HidReportFamily family, int command, const HidReportContext &ctx)
{
    const R route = hidReplyRoute(family, command);
    switch (family) {
    case F::Framed:
        if (route == R::DeviceInfo) {
            // payload offsets up to 39 (type 3: 36, type 5: 15), plus the closing byte
            if (ctx.deviceType == 5)
                return 3 + 16;
            return 5 + (ctx.deviceType == 3 ? 37 : 40) + 1;
        }
        if (route == R::Lighting)
            return 6; // the value is byte 5
        return ctx.deviceType == 5 ? 4 : 5;
    case F::Plan7:
    case F::Plan6:
        if (route == R::DeviceInfo)
            return 21; // bytes 4 to 20; a missing byte 21 reads as "not 0x4c"
        if (route == R::ConnectionStatus)
            return family == F::Plan6 ? 9 : 8;
        return 5;
    default:
        return 0;
    }
}

HidReport classifyHidReport(QByteArrayView report, const HidReportContext &ctx)
{
    HidReport r;
    r.byte1 = byteAt(report, 1);
    r.bytes = report.toByteArray();
    // One plan-4 receiver puts an extra byte after the report id.
    const HidReportFamily family = familyTraits(ctx.chipPlan).replies;
    if (family == F::Plan4 && r.bytes.size() >= 2
        && qx::receivers::receiverHas(ctx.vendorId, ctx.productId, qx::receivers::kReframedReports)) {
        r.bytes.remove(1, 1);
        r.reframed = true;
    }
    if (r.bytes.isEmpty())
        return r;

    // Telink pointers (device type 5) answer in the framed layout whatever the plan.
    if (family == F::Framed || ctx.deviceType == 5) {
        r.family = F::Framed;
        classifyFramed(r, ctx);
        return r;
    }
    r.family = family;
    switch (family) {
    case F::Plan3:
        r.kind = HidReportKind::Plan3Status;
        require(r, 21);
        break;
    case F::Plan4:
        classifyPlan4(r);
        break;
    case F::Plan6:
        classifyPlan6(r, ctx);
        break;
    case F::Plan7:
        classifyPlan7(r, ctx);
        break;
    case F::Framed:
    case F::None:
        break;
    }
    return r;
}

QString hidHexText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex());
}

QString hidDeviceText(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes)
        if (c != '\0')
            text.append(QChar(uint8_t(c)));
    return text;
}

const char *hidReportKindName(HidReportKind kind)
{
    switch (kind) {
    case HidReportKind::Ignored:
        return "ignored";
    case HidReportKind::TooShort:
        return "too short";
    case HidReportKind::Reply:
        return "reply";
    case HidReportKind::Voice:
        return "voice";
    case HidReportKind::ReceiverFirmware:
        return "receiver firmware";
    case HidReportKind::RemoteFirmware:
        return "remote firmware";
    case HidReportKind::ReceiverConnection:
        return "receiver connection";
    case HidReportKind::VoiceChip:
        return "voice chip";
    case HidReportKind::Plan4Key:
        return "plan-4 key";
    case HidReportKind::Plan4Info:
        return "plan-4 information";
    case HidReportKind::Plan4InfoRequest:
        return "plan-4 information request";
    case HidReportKind::Plan4Serial:
        return "plan-4 serial";
    case HidReportKind::Plan4SerialWritten:
        return "plan-4 serial written";
    case HidReportKind::Plan4Firmware:
        return "plan-4 firmware";
    case HidReportKind::Plan4Other:
        return "plan-4 other";
    case HidReportKind::Plan3Status:
        return "plan-3 status";
    }
    return "?";
}

} // namespace proto
