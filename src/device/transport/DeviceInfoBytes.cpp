#include "DeviceInfoBytes.h"

#include "TextNumber.h"

#include <QString>

namespace devinfo {

int digitValue(quint8 byte)
{
    return int(qx::leadingInteger(QString::asprintf("%02hhx", byte)));
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
    return byte < 0x10 ? 0 : quint64(byte >> 4) - 1;
}

qint64 dpiIndexFromByte(quint8 byte, quint64 icType)
{
    if (icType != 1)
        return byte;
    switch (byte) {
    case 32:
        return 0;
    case 42:
        return 1;
    case 48:
        return 2;
    case 54:
        return 3;
    case 63:
        return 4;
    default:
        return byte;
    }
}

quint64 icTypeFromSensorBytes(quint8 high, quint8 low)
{
    struct Row {
        const char *text;
        quint64 icType;
    };
    static constexpr Row kRows[] = {{"3212", 1}, {"3205", 2}, {"3065", 4}, {"3066", 5}, {"8650", 6}};
    const QString text = QString::asprintf("%02hhx%02hhx", high, low);
    for (const Row &row : kRows)
        if (text == QLatin1String(row.text))
            return row.icType;
    return 2;
}

qint64 pointerKeyFromByte(quint8 byte)
{
    switch (byte) {
    case 0x42:
        return 64;
    case 0x45:
    case 0x46:
        return byte;
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
    case 0x4c:
        return 69;
    default:
        return 0;
    }
}

} // namespace devinfo
