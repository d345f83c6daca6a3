#include "HidFrames.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace proto {
namespace {

// A layout byte: 0..255 is a literal; the negative values stand for argument bytes.
using Slot = int16_t;
constexpr Slot argLow(int i)
{
    return Slot(-1 - i);
} // low byte of argument i
constexpr Slot argHigh(int i)
{
    return Slot(-11 - i);
} // second byte of argument i
constexpr Slot argPlusOne(int i)
{
    return Slot(-21 - i);
} // low byte of argument i + 1

constexpr Slot A0 = argLow(0), A1 = argLow(1), A2 = argLow(2), A3 = argLow(3), A4 = argLow(4);
constexpr Slot A0H = argHigh(0), A1H = argHigh(1);
constexpr Slot A0P1 = argPlusOne(0);

constexpr int kAnyPlan = -1;
constexpr int kAnyDevice = 0;

struct Row {
    HidCommand command;
    int plan;       // kAnyPlan: the same frame on every plan
    int deviceType; // kAnyDevice, or only for this device type (listed before the general row)
    std::array<Slot, 16> bytes{};
    int size = 0;
    bool thenZeroReport = false; // a zero report follows the frame

    constexpr Row(HidCommand c, int p, int d, std::initializer_list<Slot> b, bool thenZero = false)
        : command(c), plan(p), deviceType(d), thenZeroReport(thenZero)
    {
        for (Slot s : b)
            bytes[size_t(size++)] = s;
    }
};

using C = HidCommand;

// Every framed command of every family. The length bytes are what the devices expect,
// irregular ones included (plan 5 DPI 03 and key 05, plan 7 key and RGB 04, the Telink
// burner 12, burner information 0c for 11 bytes): do not "correct" them.
constexpr Row kRows[] = {
    // device information and connection
    {C::GetMouseInfo, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x61, 0x4c}},
    {C::GetMouseInfo, 4, kAnyDevice, {0x0c, 0x05, 0x2f}},
    {C::GetMouseInfo, 5, kAnyDevice, {0x4d, 0x04, 0x61, 0x4c}},
    {C::GetMouseInfo, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x61, 0x4c}},
    {C::GetMouseInfo, 7, kAnyDevice, {0xa6, 0x03, 0x4d, 0x61, 0x4c}},
    {C::SearchMouseConnectStatus, 2, 4, {0x0d, 0x53, 0x43, 0x00, 0x45}},
    {C::SearchMouseConnectStatus, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x69, 0x4c}},
    {C::SearchMouseConnectStatus, 5, kAnyDevice, {0x4d, 0x04, 0x69, 0x4c}},
    {C::SearchMouseConnectStatus, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x69, 0x4c}},
    {C::SearchMouseConnectStatus, 7, kAnyDevice, {0xa6, 0x03, 0x4d, 0x61, 0x4c}}, // plan 7 asks for information
    {C::GetReceive, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x10, 0x4c}},
    {C::GetReceive, 4, kAnyDevice, {0x0c, 0x05, 0x29}},
    {C::GetReceive, 5, kAnyDevice, {0x4d, 0x04, 0x10, 0x4c}},
    {C::GetReceive, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x10, 0x4c}},
    {C::GetReceive, 7, kAnyDevice, {0xa6, 0x03, 0x4d, 0x10, 0x4c}},
    {C::GetMouseSN, 4, kAnyDevice, {0x0c, 0x05, 0x38}},
    {C::GetDeviceFireware, 4, kAnyDevice, {0x0c, 0x05, 0x2e}},
    {C::GetDongleInfo, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x23, 0x4c}},

    // microphone (plan 3 and 4 frames start with other report IDs)
    {C::OpenMic, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x62, 0x4c}},
    {C::OpenMic, 3, kAnyDevice, {0x00, 0x02, 0x01}},
    {C::OpenMic, 4, kAnyDevice, {0x1b, 0xa5, 0xf1}},
    {C::OpenMic, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x62, 0x4c}},
    {C::OpenMic, 7, kAnyDevice, {0xa6, 0x03, 0x4d, 0x62, 0x4c}},
    {C::CloseMic, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x63, 0x4c}},
    {C::CloseMic, 3, kAnyDevice, {0x00, 0x02, 0x00}},
    {C::CloseMic, 4, kAnyDevice, {0x1b, 0xa5, 0xf2}},
    {C::CloseMic, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x63, 0x4c}},
    {C::CloseMic, 7, kAnyDevice, {0xa6, 0x03, 0x4d, 0x63, 0x4c}},

    // LED and pop-up site (plans 3 and 4: 00 opens, 55 closes)
    {C::OpenLed, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x64, 0x4c}},
    {C::OpenLed, 3, kAnyDevice, {0x0f, 0x05, 0x11, 0x01}},
    {C::OpenLed, 4, kAnyDevice, {0x0d, 0x11, 0x01}},
    {C::CloseLed, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x65, 0x4c}},
    {C::CloseLed, 3, kAnyDevice, {0x0f, 0x05, 0x11, 0x00}},
    {C::CloseLed, 4, kAnyDevice, {0x0d, 0x11, 0x00}},
    {C::OpenPopUpWebSite, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x66, 0x4c}},
    {C::OpenPopUpWebSite, 3, kAnyDevice, {0x0f, 0x05, 0x16, 0x00}},
    {C::OpenPopUpWebSite, 4, kAnyDevice, {0x0c, 0x05, 0x26, 0x00}},
    {C::OpenPopUpWebSite, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x66, 0x4c}},
    {C::OpenPopUpWebSite, 7, kAnyDevice, {0xa6, 0x03, 0x4d, 0x66, 0x4c}},
    {C::ClosePopUpWebSite, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x67, 0x4c}},
    {C::ClosePopUpWebSite, 3, kAnyDevice, {0x0f, 0x05, 0x16, 0x55}},
    {C::ClosePopUpWebSite, 4, kAnyDevice, {0x0c, 0x05, 0x26, 0x55}},
    {C::ClosePopUpWebSite, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x67, 0x4c}},
    {C::ClosePopUpWebSite, 7, kAnyDevice, {0xa6, 0x03, 0x4d, 0x67, 0x4c}},

    // DPI (plans 6 and 7 count from 1), report rate, key command
    {C::SetDpi, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x05, 0x68, A0, 0x4c}},
    {C::SetDpi, 3, kAnyDevice, {0x0f, 0x05, 0x12, A0}},
    {C::SetDpi, 4, kAnyDevice, {0x0c, 0x05, 0x22, A0}},
    {C::SetDpi, 5, kAnyDevice, {0x4d, 0x03, 0x68, A0, 0x4c}},
    {C::SetDpi, 6, kAnyDevice, {0x0c, 0x4d, 0x05, 0x68, A0P1, 0x4c}},
    {C::SetDpi, 7, kAnyDevice, {0xa6, 0x04, 0x4d, 0x68, A0P1, 0x4c}},
    {C::ModifyReturnRate, 6, kAnyDevice, {0x0c, 0x4d, 0x05, 0x13, A0, 0x4c}},
    {C::ModifyReturnRate, 7, kAnyDevice, {0xa6, 0x04, 0x4d, 0x13, A0, 0x4c}},
    {C::KeyCommand, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x06, 0x20, A0, A1, 0x4c}},
    {C::KeyCommand, 3, kAnyDevice, {0x0c, 0x05, 0x20, A0, A1}},
    {C::KeyCommand, 4, kAnyDevice, {0x0c, 0x05, 0x20, A0, A1}},
    {C::KeyCommand, 5, kAnyDevice, {0x4d, 0x05, 0x20, A0, A1, 0x4c}},
    {C::KeyCommand, 6, kAnyDevice, {0x0c, 0x4d, 0x06, 0x20, A0, A1, 0x4c}},
    {C::KeyCommand, 7, kAnyDevice, {0xa6, 0x04, 0x4d, 0x20, A0, A1, 0x4c}},
    {C::ResetKeyStatus, 1, kAnyDevice, {0x0d, 0x14}},
    {C::ResetKeyStatus, 2, 2, {0x0d, 0xa5, 0xa1, 0x00}},
    {C::ResetKeyStatus, 2, kAnyDevice, {0x0d, 0xa5, 0x01, 0x00}},

    // lighting and hand
    {C::OpenRGBLogoLED, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x81, 0x4c}},
    {C::CloseRGBLogoLED, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x82, 0x4c}},
    {C::OpenRGB, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x83, 0x4c}},
    {C::OpenRGB, 7, kAnyDevice, {0xa6, 0x04, 0x4d, 0x83, 0x4c}},
    {C::CloseRGB, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0x84, 0x4c}},
    {C::CloseRGB, 7, kAnyDevice, {0xa6, 0x04, 0x4d, 0x84, 0x4c}},
    {C::GetLightingEffectsMode, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x83, 0x4c}},
    {C::GetLightingEffectsBrightness, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x85, 0x4c}},
    {C::GetLightingEffectsSpeed, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x87, 0x4c}},
    {C::GetLightingEffectsColor, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x89, 0x4c}},
    {C::GetMouseLeftOrRightHandBehavior, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0x8b, 0x4c}},
    {C::SetLightingEffectsMode, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x05, 0x84, A0, 0x4c}},
    {C::SetLightingEffectsBrightness, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x05, 0x86, A0, 0x4c}},
    {C::SetLightingEffectsSpeed, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x05, 0x88, A0, 0x4c}},
    {C::SetLightingEffectsColor, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x05, 0x8a, A0, 0x4c}},
    {C::SetMouseLeftOrRightHandBehavior, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x05, 0x8c, A0, 0x4c}},

    // production
    {C::SetProductMode, 7, kAnyDevice, {0xa6, 0x05, 0x4d, 0x6b, A0, A0H, 0x4c}},
    {C::SetProductMode, 4, kAnyDevice, {0x0c, 0x05, 0x27, A0}},
    {C::SetBurnerInfo, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x0c, 0x21, A0, A0H, A1, A1H, A2, A3, A4, 0x4c}},
    {C::SetTelinkBurnerInfoMouseType, 6, kAnyDevice, {0x0c, 0x4d, 0x12, 0x6b, A0, 0x4c}},
    {C::SetTelinkBurnerInfoWebsiteType, 6, kAnyDevice, {0x0c, 0x4d, 0x12, 0x6c, A0, 0x4c}},
    {C::SetTelinkBurnerInfoAudioRate, 6, kAnyDevice, {0x0c, 0x4d, 0x12, 0x6d, A0, 0x4c}},
    {C::SetTelinkBurnerInfoIcDirection, 6, kAnyDevice, {0x0c, 0x4d, 0x12, 0x6e, A0, 0x4c}},

    // laser pen and pointer: Telink frames on any plan
    {C::GetTelinkLaserPenInfo, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0x90, 0x4c}},
    {C::TelinkLaserPenEnterMouseStatus, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb0, 0x4c}},
    {C::TelinkLaserPenQuitMouseStatus, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb1, 0x4c}},
    {C::TelinkLaserPenOpenMic, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb2, 0x4c}},
    {C::TelinkLaserPenCloseMic, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb3, 0x4c}},
    {C::TelinkLaserPenOpenHardLaser, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb4, 0x4c}},
    {C::TelinkLaserPenCloseHardLaser, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb5, 0x4c}},
    {C::TelinkLaserPenOnline, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb6, 0x4c}},
    {C::TelinkLaserPenOffLine, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb7, 0x4c}},
    {C::TelinkLaserPenCountdown, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x06, 0xff, A0H, A0, 0x4c}}, // big-endian
    {C::LaserPenDpi, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x05, 0xa8, A0, 0x4c}},
    {C::LaserPenShakeEffect, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x06, 0xa9, A0, A0H, 0x4c}},
    {C::LaserPenMode, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x05, 0xaa, A0, 0x4c}},
    {C::LaserPenEnterMouseStatus, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0xab, 0x4c}},
    {C::LaserPenEnterMouseStatus, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb0, 0x4c}, true},
    {C::LaserPenQuitMouseStatus, 2, kAnyDevice, {0x0d, 0xa5, 0x4d, 0x04, 0xac, 0x4c}},
    {C::LaserPenQuitMouseStatus, 6, kAnyDevice, {0x0c, 0x4d, 0x04, 0xb1, 0x4c}, true},

    // voice chip
    {C::GetXunFeiChipDeviceInfo, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0x71, 0x4c}},
    {C::CommandOperation, kAnyPlan, kAnyDevice, {0x0c, 0x4d, 0x04, 0x10, 0x4c}},
};

// Commands that send nothing at all (rather than the zero report) on a plan without a frame.
bool nothingWithoutLayout(HidCommand c)
{
    return c == C::SetTelinkBurnerInfoMouseType || c == C::SetTelinkBurnerInfoWebsiteType
           || c == C::SetTelinkBurnerInfoAudioRate || c == C::SetTelinkBurnerInfoIcDirection;
}

uint8_t slotByte(Slot s, std::span<const qint64> args)
{
    if (s >= 0)
        return uint8_t(s);
    auto arg = [&](int i) -> quint64 { return i < int(args.size()) ? quint64(args[size_t(i)]) : 0; };
    if (s >= -10)
        return uint8_t(arg(-1 - s) & 0xff);
    if (s >= -20)
        return uint8_t((arg(-11 - s) >> 8) & 0xff);
    return uint8_t((arg(-21 - s) + 1) & 0xff);
}

QByteArray fill(const Row &row, std::span<const qint64> args)
{
    QByteArray out;
    out.reserve(row.size);
    for (int i = 0; i < row.size; ++i)
        out.append(char(slotByte(row.bytes[size_t(i)], args)));
    return out;
}

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isAscii(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() > 0x7f)
            return false;
    return true;
}

bool refuse(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

HidFrameList hidFrames(HidCommand command, const HidContext &ctx, std::initializer_list<qint64> args)
{
    // Before asking a receiver for information, ask whether its mouse answers at all
    // (hot-key receivers have no mouse; plan 7 answers the information request anyway).
    if (command == C::GetMouseInfo) {
        if (!ctx.mouseIsConnect && ctx.deviceType != 3 && ctx.chipPlan != 7)
            return hidFrames(C::SearchMouseConnectStatus, ctx);
        if (ctx.deviceType == 2)
            return hidFrames(C::GetTelinkLaserPenInfo, ctx);
    }
    const std::span<const qint64> a(args.begin(), args.size());
    for (const Row &row : kRows) {
        if (row.command != command)
            continue;
        if (row.plan != kAnyPlan && row.plan != ctx.chipPlan)
            continue;
        if (row.deviceType != kAnyDevice && row.deviceType != ctx.deviceType)
            continue;
        HidFrameList out{fill(row, a)};
        if (row.thenZeroReport)
            out.emplace_back();
        return out;
    }
    if (nothingWithoutLayout(command))
        return {};
    return {QByteArray()};
}

HidFrameList hidSetSnFrames(const HidContext &ctx, const QString &sn, QString *error)
{
    if (!isAscii(sn)) {
        refuse(error, QStringLiteral("serial number is not ASCII"));
        return {};
    }
    const QByteArray text = sn.toLatin1();
    switch (ctx.chipPlan) {
    case 2: {
        // 0d a5 4d L 22 text 4c must fit one 64-byte report.
        constexpr qsizetype kMax = 64 - 6;
        if (text.size() > kMax) {
            refuse(error, QStringLiteral("serial number longer than %1 characters").arg(kMax));
            return {};
        }
        QByteArray f = QByteArray::fromHex("0da54d");
        f.append(char(text.size() + 4)).append(char(0x22)).append(text).append(char(0x4c));
        return {f};
    }
    case 4: {
        constexpr qsizetype kMax = 21 - 3;
        if (text.size() > kMax) {
            refuse(error, QStringLiteral("serial number longer than %1 characters").arg(kMax));
            return {};
        }
        return {QByteArray::fromHex("0c0530") + text};
    }
    case 7: {
        // Two characters as they are, then eight bytes written as hexadecimal text.
        if (text.size() != 18) {
            refuse(error, QStringLiteral("serial number must have 18 characters"));
            return {};
        }
        for (qsizetype i = 2; i < text.size(); ++i)
            if (!isHex(QLatin1Char(text[i]))) {
                refuse(error, QStringLiteral("serial number is not hexadecimal after its first two characters"));
                return {};
            }
        QByteArray f = QByteArray::fromHex("a60d4d6a");
        f.append(text.left(2)).append(QByteArray::fromHex(text.mid(2))).append(char(0x4c));
        return {f};
    }
    default:
        return {QByteArray()};
    }
}

HidFrameList hidSetTelinkSnFrames(const HidContext &ctx, const QString &sn, QString *error)
{
    if (ctx.chipPlan != 6)
        return {};
    constexpr qsizetype kMaxBytes = 16;
    if (sn.size() % 2 != 0 || sn.size() / 2 > kMaxBytes || !std::all_of(sn.begin(), sn.end(), isHex)) {
        refuse(error, QStringLiteral("serial number must be up to %1 hexadecimal pairs").arg(kMaxBytes));
        return {};
    }
    QByteArray f = QByteArray::fromHex("0c4d126a");
    f.append(QByteArray::fromHex(sn.toLatin1())).append(char(0x4c));
    return {f};
}

QByteArray hidCurrentTimeFrame(const QDateTime &localTime)
{
    const QDate d = localTime.date();
    const QTime t = localTime.time();
    const QString year = QString::number(d.year());
    // The century byte says whether the year is 20xx; the next one holds its last two digits.
    const uint8_t century = year.left(2).contains(QStringLiteral("20")) ? 0 : 1;
    const uint8_t yy = uint8_t(year.mid(2, 2).toInt());
    const uint8_t weekday = uint8_t(d.dayOfWeek() % 7); // Sunday 0
    QByteArray f = QByteArray::fromHex("1c4d0c8001");
    for (int v : {int(century), int(yy), d.month(), d.day(), int(weekday), t.hour(), t.minute(), t.second()})
        f.append(char(uint8_t(v)));
    f.append(char(kTimeSyncClosingByte));
    return f;
}

QByteArray hidTelinkCurrentTimeFrame(const QDateTime &localTime)
{
    const QDate d = localTime.date();
    const QTime t = localTime.time();
    const int weekday = d.dayOfWeek() % 7 + 1; // Sunday 1
    // From 2036 on the year no longer fits its four bits; the devices keep the low byte.
    const uint8_t b2 = uint8_t(d.month() | ((d.year() % 2020) << 4));
    const uint8_t b3 = uint8_t(d.day() | (weekday << 5));
    QByteArray f = QByteArray::fromHex("0c4f");
    for (int v : {int(b2), int(b3), t.hour(), t.minute(), t.second()})
        f.append(char(uint8_t(v)));
    return f;
}

QByteArray hidXunFeiChipAuthFrame(quint64 unixSeconds)
{
    QString hex = QString::number(unixSeconds, 16);
    if (hex.size() % 2)
        hex.prepend(u'0');
    // Pieces of the hexadecimal text by position; one the text is too short for is 0.
    auto piece = [&](int at) -> char {
        return at + 2 <= hex.size() ? char(hex.mid(at, 2).toUInt(nullptr, 16)) : char(0);
    };
    QByteArray f(8, 0);
    f[0] = char(0x0c);
    f[1] = char(0x4d);
    f[2] = piece(6); // a time byte where other frames carry their length
    f[3] = char(0x72);
    f[4] = piece(4);
    f[5] = piece(2);
    f[6] = piece(0);
    f[7] = char(0x4c);
    return f;
}

HidCommandBuffer hidCommandBuffer(const QByteArray &frame)
{
    HidCommandBuffer buf{};
    const qsizetype n = std::min<qsizetype>(frame.size(), qsizetype(buf.size()));
    for (qsizetype i = 0; i < n; ++i)
        buf[size_t(i)] = uint8_t(frame[i]);
    return buf;
}

} // namespace proto
