#include "LaserPenRequests.h"

#include <cmath>
#include <initializer_list>

namespace laserpen {

namespace {
QByteArray report(std::initializer_list<quint8> bytes, int length)
{
    QByteArray out(qMax(int(bytes.size()), length), '\0');
    int i = 0;
    for (quint8 b : bytes)
        out[i++] = char(b);
    return out;
}

QByteArray planTwoSwitch(qint64 chipPlan, bool on, quint8 onCode, quint8 offCode, int length)
{
    if (chipPlan != 2)
        return {};
    return report({0x0d, 0xa5, on ? onCode : offCode, 0x00}, length);
}
} // namespace

QByteArray modeReport(qint64 chipPlan, int mode, int length)
{
    if (chipPlan == 2) {
        const int sent = mode == 0 ? 5 : mode == 4 ? 3 : mode;
        return report({0x0d, 0xa5, 0xa7, quint8(sent)}, length);
    }
    return report({0x0d, 0x05, 0x11, quint8(mode)}, length);
}

QByteArray openWebsiteReport(qint64 chipPlan, bool open, int length)
{
    return planTwoSwitch(chipPlan, open, 0xa9, 0xa8, length);
}

QByteArray openMicReport(qint64 chipPlan, bool open, int length)
{
    return planTwoSwitch(chipPlan, open, 0xaa, 0xab, length);
}

QByteArray openLedReport(qint64 chipPlan, bool open, int length)
{
    return planTwoSwitch(chipPlan, open, 0xac, 0xad, length);
}

QByteArray dpiReport(qint64 chipPlan, quint8 value, int length)
{
    if (chipPlan == 2)
        return report({0x0d, 0xa5, 0xa4, value}, length);
    return report({0x0d, 0x05, 0x12, value}, length);
}

QByteArray motorReport(quint8 value, int length)
{
    return report({0x0d, 0xa5, 0x14, 0x32, 0x00, value}, length);
}

QByteArray resetKeyStatusReport(int length)
{
    return report({0x0d, 0xa5, 0xa1, 0x00}, length);
}

quint16 shakeTenths(double seconds)
{
    const double tenths = std::trunc(seconds * 10.0);
    if (!(tenths > 0))
        return 0; // also NaN
    return tenths >= 65535.0 ? 65535 : quint16(tenths);
}

QByteArray motorShakeDurationReport(double seconds, int length)
{
    const quint16 v = shakeTenths(seconds);
    return report({0x0d, 0xa5, 0xa1, quint8(v & 0xff), quint8(v >> 8)}, length);
}

QByteArray sendKeyCommandReport(quint8 value, int length)
{
    return report({0x0d, 0xa5, 0x0a, value}, length);
}

} // namespace laserpen
