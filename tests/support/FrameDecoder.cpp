#include "FrameDecoder.h"

#include <QHash>

namespace sim {
namespace {

enum Family { Plan2, Plan5, Plan6, Plan7, Telink, Ble };

struct Code {
    const char *name;
    int argc; // -1: variable, worked out by the caller
};

// The command byte of the framed families, with family-specific meanings after it.
std::optional<Code> framedCode(Family f, int code)
{
    static const QHash<int, Code> common{
        {0x10, {"sendGetReceiveData", 0}},
        {0x20, {"sendKeyCommandDataKeyCode1", 2}},
        {0x23, {"sendGetDongleInfo", 0}},
        {0x61, {"sendGetMouseInfoData", 0}},
        {0x62, {"sendOpenMicData", 0}},
        {0x63, {"sendCloseMicData", 0}},
        {0x64, {"sendOpenLedData", 0}},
        {0x65, {"sendCloseLedData", 0}},
        {0x66, {"sendOpenPopUpWebSiteData", 0}},
        {0x67, {"sendClosePopUpWebSiteData", 0}},
        {0x68, {"sendSetDpiData", 1}},
        {0x69, {"sendSearchMouseConnectStatusData", 0}},
        {0x13, {"modifyReturnRate", 1}},
        {0x81, {"sendOpenRGBLogoLEDData", 0}},
        {0x82, {"sendCloseRGBLogoLEDData", 0}},
        {0x83, {"sendGetLightingEffectsModeData", 0}},
        {0x84, {"sendSetLightingEffectsModeData", 1}},
        {0x85, {"sendGetLightingEffectsBrightnessData", 0}},
        {0x86, {"sendSetLightingEffectsBrightnessData", 1}},
        {0x87, {"sendGetLightingEffectsSpeedData", 0}},
        {0x88, {"sendSetLightingEffectsSpeedData", 1}},
        {0x89, {"sendGetLightingEffectsColorData", 0}},
        {0x8a, {"sendSetLightingEffectsColorData", 1}},
        {0x8b, {"sendGetMouseLeftOrRightHandBehavior", 0}},
        {0x8c, {"sendSetMouseLeftOrRightHandBehaviorData", 1}},
        {0xa8, {"sendLaserPenDpiData", 1}},
        {0xa9, {"sendLaserPenShakeEffectData", 2}},
        {0xaa, {"sendLaserPenModeData", 1}},
        {0xab, {"sendLaserPenEnterMouseStatusData", 0}},
        {0xac, {"sendLaserPenQuitMouseStatusData", 0}},
    };
    static const QHash<int, Code> telink{
        {0x10, {"sendCommandOperation", 0}},
        {0x71, {"sendGetXunFeiChipDeviceInfoData", 0}},
        {0x90, {"sendGetTelinkLaserPenInfoData", 0}},
        {0xb0, {"sendTelinkLaserPenEnterMouseStatusData", 0}},
        {0xb1, {"sendTelinkLaserPenQuitMouseStatusData", 0}},
        {0xb2, {"sendTelinkLaserPenOpenMicData", 0}},
        {0xb3, {"sendTelinkLaserPenCloseMicData", 0}},
        {0xb4, {"sendTelinkLaserPenOpenHardLaserData", 0}},
        {0xb5, {"sendTelinkLaserPenCloseHardLaserData", 0}},
        {0xb6, {"sendTelinkLaserPenOnlineData", 0}},
        {0xb7, {"sendTelinkLaserPenOffLineData", 0}},
        {0xff, {"sendTelinkLaserPenCountdownData", 2}},
        {0x6b, {"sendSetTelinkBurnerInfoMouseType", 1}},
        {0x6c, {"sendSetTelinkBurnerInfoWebsiteType", 1}},
        {0x6d, {"sendSetTelinkBurnerInfozAudio_reat", 1}},
        {0x6e, {"sendSetTelinkBurnerInfoIC_Direction", 1}},
        {0x6a, {"sendSetTelinkBurnerInfoSN", -1}},
    };
    switch (f) {
    case Telink:
        if (telink.contains(code))
            return telink.value(code);
        return std::nullopt;
    case Plan6:
        if (code == 0x83)
            return Code{"sendOpenRGBData", 0};
        if (code == 0x84)
            return Code{"sendCloseRGBData", 0};
        if (code == 0x10)
            return Code{"sendGetReceiveData", 0};
        if (telink.contains(code))
            return telink.value(code);
        break;
    case Plan7:
        if (code == 0x83)
            return Code{"sendOpenRGBData", 0};
        if (code == 0x84)
            return Code{"sendCloseRGBData", 0};
        if (code == 0x6a)
            return Code{"sendSetSNData", 10};
        if (code == 0x6b)
            return Code{"sendSetProductMode", 2};
        break;
    case Plan2:
        if (code == 0x21)
            return Code{"sendSetBurnerInfoPID", 7}; // the website type is not sent
        if (code == 0x22)
            return Code{"sendSetSNData", -1};
        break;
    case Ble:
        if (code == 0x21)
            return Code{"sendSetBurnerInfoPID", 8};
        if (code == 0x70)
            return Code{"sendStartOTAData", 0};
        if (code == 0x72)
            return Code{"sendEndOTAData", 8};
        if (code == 0x74)
            return Code{"sendCancelOTAData", 0};
        break;
    case Plan5:
        break;
    }
    if (common.contains(code))
        return common.value(code);
    return std::nullopt;
}

int byteAt(QByteArrayView b, qsizetype i)
{
    return i < b.size() ? uint8_t(b[i]) : -1;
}

bool startsWith(QByteArrayView b, std::initializer_list<int> prefix)
{
    qsizetype i = 0;
    for (int p : prefix)
        if (byteAt(b, i++) != p)
            return false;
    return true;
}

QList<int> bytes(QByteArrayView b, qsizetype from, qsizetype count)
{
    QList<int> out;
    for (qsizetype i = 0; i < count; ++i)
        out << byteAt(b, from + i);
    return out;
}

// Index of the last non-zero byte, or -1.
qsizetype lastNonZero(QByteArrayView b)
{
    for (qsizetype i = b.size() - 1; i >= 0; --i)
        if (b[i] != 0)
            return i;
    return -1;
}

// C at codeAt, arguments from codeAt + 1, then 4c. `length` is the frame's length byte
// (used only where the argument count varies).
std::optional<DecodedFrame> framed(Family f, QByteArrayView b, qsizetype codeAt, int length)
{
    const int code = byteAt(b, codeAt);
    const auto c = framedCode(f, code);
    if (!c)
        return std::nullopt;
    int argc = c->argc;
    if (argc < 0) {
        if (f == Plan2)
            argc = length - 4;
        else // hex pairs up to the closing byte, the last one before the zero fill
            argc = int(lastNonZero(b) - codeAt - 1);
    }
    if (argc < 0 || byteAt(b, codeAt + 1 + argc) != 0x4c)
        return std::nullopt;
    return DecodedFrame{QString::fromLatin1(c->name), bytes(b, codeAt + 1, argc)};
}

std::optional<DecodedFrame> plan34(QByteArrayView b)
{
    // 0c 05 C args, no closing byte.
    const int c = byteAt(b, 2);
    switch (c) {
    case 0x2f:
        return DecodedFrame{"sendGetMouseInfoData", {}};
    case 0x29:
        return DecodedFrame{"sendGetReceiveData", {}};
    case 0x38:
        return DecodedFrame{"sendGetMouseSN", {}};
    case 0x2e:
        return DecodedFrame{"sendGetDeviceFireware", {}};
    case 0x26:
        if (byteAt(b, 3) == 0x00)
            return DecodedFrame{"sendOpenPopUpWebSiteData", {}};
        if (byteAt(b, 3) == 0x55)
            return DecodedFrame{"sendClosePopUpWebSiteData", {}};
        return std::nullopt;
    case 0x22:
        return DecodedFrame{"sendSetDpiData", bytes(b, 3, 1)};
    case 0x20:
        return DecodedFrame{"sendKeyCommandDataKeyCode1", bytes(b, 3, 2)};
    case 0x27:
        return DecodedFrame{"sendSetProductMode", bytes(b, 3, 1)};
    case 0x30:
        return DecodedFrame{"sendSetSNData", bytes(b, 3, lastNonZero(b) - 2)};
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<DecodedFrame> FrameDecoder::decodeHid(int chipPlan, QByteArrayView b)
{
    if (b.isEmpty())
        return std::nullopt;
    if (lastNonZero(b) < 0)
        return DecodedFrame{"zeroReport", {}};
    // Frames every family understands.
    if (startsWith(b, {0x1c, 0x4d, 0x0c, 0x80, 0x01}))
        return DecodedFrame{"sendCurrentTimeData", bytes(b, 5, 9)};
    if (startsWith(b, {0x0c, 0x4f}))
        return DecodedFrame{"sendTelinkLaserPenCurrentTimeData", bytes(b, 2, 5)};
    if (startsWith(b, {0x0c, 0x4d})) {
        if (byteAt(b, 3) == 0x72 && byteAt(b, 7) == 0x4c)
            return DecodedFrame{"sendGetXunFeiChipAuthData", {byteAt(b, 2), byteAt(b, 4), byteAt(b, 5), byteAt(b, 6)}};
        return framed(chipPlan == 6 ? Plan6 : Telink, b, 3, byteAt(b, 2));
    }
    switch (chipPlan) {
    case 1:
        if (startsWith(b, {0x0d, 0x14}))
            return DecodedFrame{"sendResetKeyStatusData", {}};
        return std::nullopt;
    case 2:
        if (startsWith(b, {0x0d, 0xa5, 0x4d}))
            return framed(Plan2, b, 4, byteAt(b, 3));
        if (startsWith(b, {0x0d, 0xa5, 0x01, 0x00}) || startsWith(b, {0x0d, 0xa5, 0xa1, 0x00}))
            return DecodedFrame{"sendResetKeyStatusData", {}};
        if (startsWith(b, {0x0d, 0x53, 0x43, 0x00, 0x45}))
            return DecodedFrame{"sendSearchMouseConnectStatusData", {}};
        return std::nullopt;
    case 3:
        if (startsWith(b, {0x00, 0x02, 0x01}))
            return DecodedFrame{"sendOpenMicData", {}};
        if (startsWith(b, {0x00, 0x02, 0x00}))
            return DecodedFrame{"sendCloseMicData", {}};
        if (startsWith(b, {0x0f, 0x05, 0x11}))
            return DecodedFrame{byteAt(b, 3) ? "sendOpenLedData" : "sendCloseLedData", {}};
        if (startsWith(b, {0x0f, 0x05, 0x12}))
            return DecodedFrame{"sendSetDpiData", bytes(b, 3, 1)};
        if (startsWith(b, {0x0f, 0x05, 0x16}))
            return DecodedFrame{byteAt(b, 3) == 0x55 ? "sendClosePopUpWebSiteData" : "sendOpenPopUpWebSiteData", {}};
        if (startsWith(b, {0x0c, 0x05, 0x20}))
            return plan34(b);
        return std::nullopt;
    case 4:
        if (startsWith(b, {0x1b, 0xa5, 0xf1}))
            return DecodedFrame{"sendOpenMicData", {}};
        if (startsWith(b, {0x1b, 0xa5, 0xf2}))
            return DecodedFrame{"sendCloseMicData", {}};
        if (startsWith(b, {0x0d, 0x11}))
            return DecodedFrame{byteAt(b, 2) ? "sendOpenLedData" : "sendCloseLedData", {}};
        if (startsWith(b, {0x0c, 0x05}))
            return plan34(b);
        return std::nullopt;
    case 5:
        if (startsWith(b, {0x4d}))
            return framed(Plan5, b, 2, byteAt(b, 1));
        return std::nullopt;
    case 7:
        if (byteAt(b, 0) == 0xa6 && byteAt(b, 2) == 0x4d)
            return framed(Plan7, b, 3, byteAt(b, 1));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<DecodedFrame> FrameDecoder::decodeBle(QByteArrayView b)
{
    // The length byte counts the whole frame, both brackets included.
    if (byteAt(b, 0) != 0x4d || byteAt(b, 1) != b.size())
        return std::nullopt;
    const auto d = framed(Ble, b, 2, byteAt(b, 1));
    if (!d || 3 + d->args.size() + 1 != b.size())
        return std::nullopt;
    return d;
}

} // namespace sim
