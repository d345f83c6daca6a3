#include "DeviceInfo.h"

#include "TextNumber.h"

#include <algorithm>

namespace proto {

namespace {
// A plan-6 reply with this byte 21 uses the newer layout (16-bit model, product type).
constexpr uint8_t kPlan6NewLayoutMarker = 0x4C;
// Plan-6 firmware from this version carries the model's high byte in byte 20.
constexpr qint64 kPlan6WideModelFirmware = 27;
} // namespace

DeviceInfo decodeDeviceInfo(QByteArrayView b, const DeviceInfoLayout &layout)
{
    DeviceInfo info;
    if (b.size() < 21)
        return info;
    const auto byte = [&b](qsizetype i) { return uint8_t(b[i]); };
    const bool plan6 = layout.family == HidReportFamily::Plan6;

    info.sn = (hidDeviceText(b.sliced(4, 2)) + hidHexText(b.sliced(6, 8))).toUpper();
    const int flags = byte(14);
    info.mic = flags & 1;
    info.led = (flags >> 1) & 1;
    info.samplingRate = ((flags >> 2) & 1) != 0;
    info.icType = byte(15);
    // The device counts its DPI steps from 1; a 0 would give no valid index.
    info.dpi = std::max(0, int(byte(16)) - 1);

    QString firmware;
    if (!plan6) {
        info.productType = 0;
        info.mouseType = byte(17) + 256 * byte(20);
        info.powerPercent = byte(18);
        firmware = layout.decimalFirmware ? QString::number(byte(19)) : hidHexText(b.sliced(19, 1));
    } else if (b.size() <= 21 || byte(21) != kPlan6NewLayoutMarker) {
        // 21-byte reports end at byte 20: a missing byte 21 is not the newer layout's marker.
        info.productType = 0;
        info.mouseType = byte(17);
        info.powerPercent = byte(18);
        firmware = hidHexText(b.sliced(19, 1));
        if (qx::leadingInteger(firmware) >= kPlan6WideModelFirmware)
            info.mouseType = byte(17) + 256 * byte(20);
    } else {
        info.productType = (flags >> 3) & 1;
        info.mouseType = byte(17) << 8 | byte(18);
        info.powerPercent = byte(19);
        firmware = hidHexText(b.sliced(20, 1));
    }
    info.firmwareVersion = firmware;
    // Mice of this serial batch report model 193 for what is model 14.
    if (plan6 && info.sn.startsWith(QLatin1String("QX20231206")) && info.mouseType == 193)
        info.mouseType = 14;
    return info;
}

} // namespace proto
