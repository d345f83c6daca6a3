#include "HidInfoFields.h"

#include <array>

namespace hidinfo {

int digitValue(quint8 byte)
{
    const int high = byte >> 4;
    const int low = byte & 0x0f;
    if (high > 9)
        return 0;
    if (low > 9)
        return high;
    return high * 10 + low;
}

quint64 icTypeFromSensorByte(quint8 byte)
{
    const quint64 nibble = byte & 0x0f;
    if (nibble == 1)
        return 2;
    if (nibble == 2)
        return 1;
    return nibble;
}

quint64 mouseTypeFromSensorByte(quint8 byte)
{
    // Stored unsigned: without this check a high nibble of 0 would wrap to 2^64-1 and
    // become the product code the server is asked about.
    const quint64 high = byte >> 4;
    return high == 0 ? 0 : high - 1;
}

quint64 icTypeFromSensorId(quint8 high, quint8 low)
{
    const quint16 id = quint16(high << 8 | low);
    struct Row {
        quint16 id;
        quint64 icType;
    };
    static constexpr std::array<Row, 5> rows{{{0x3212, 1}, {0x3205, 2}, {0x3065, 4}, {0x3066, 5}, {0x8650, 6}}};
    for (const Row &r : rows)
        if (r.id == id)
            return r.icType;
    return 2;
}

int pointerReceiverKeyCode(quint8 byte)
{
    switch (byte) {
    case 0x42:
        return 64;
    case 0x45:
        return 69;
    case 0x46:
        return 70;
    case 0x47:
        return 32;
    case 0x48:
        return 39;
    case 0x49:
        return 40;
    case 0x4a:
        return 37;
    case 0x4b:
        return 38;
    case kPointerEffectKeyByte:
        return 69;
    default:
        return 0;
    }
}

int nonPointerPressType(qint64 keyCode, bool translateMode)
{
    switch (keyCode) {
    case 49:
        return 35;
    case 50:
        return 36;
    case 51:
        return translateMode ? 37 : 33;
    case 52:
        return translateMode ? 38 : 34;
    case 53:
        return 37;
    case 54:
        return 38;
    case 80:
        return 50;
    default:
        return 0;
    }
}

KeyRule keyRule(int converted, qint64 held)
{
    if (converted == 0 || converted == held)
        return KeyRule::Ignore;
    if ((converted == 35 || converted == 36) && (held == 33 || held == 37))
        return KeyRule::StopReport;
    return KeyRule::Take;
}

} // namespace hidinfo
