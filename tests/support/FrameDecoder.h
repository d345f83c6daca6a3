#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace sim {

// One command as a simulated device reads it off the wire.
struct DecodedFrame {
    QString command; // the application's name of the command, e.g. "sendSetDpiData"; "zeroReport"
    QList<int> args; // the argument bytes as sent (plans 6 and 7 send DPI index + 1)
    bool operator==(const DecodedFrame &) const = default;
};

// Tells which command an outgoing frame is, the way the devices of each family parse
// them. Written from the device side (by family, then command byte) and independent of
// the application's builders, so a simulated device can answer what it was asked and a
// test can check a frame by meaning as well as by bytes.
class FrameDecoder {
public:
    // A report as a HID device of the family `chipPlan` receives it. nullopt: a frame
    // this family would not understand (wrong prefix, missing closing byte, unknown code).
    static std::optional<DecodedFrame> decodeHid(int chipPlan, QByteArrayView report);
    // A frame written to the Bluetooth LE mouse (data or firmware characteristic).
    static std::optional<DecodedFrame> decodeBle(QByteArrayView frame);
};

} // namespace sim
