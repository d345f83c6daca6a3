#pragma once

#include "platform/IHidBackend.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform::linuxbackend {

// What udev and sysfs say about one hidraw node, as read, before interpretation.
// Missing values are empty.
struct HidrawSnapshot {
    QString devNode; // /dev/hidrawN
    // Properties of the parent "hid" device.
    QString hidId;   // HID_ID, "bus:vendor:product" in hex, e.g. "0003:000025BA:000024AB"
    QString hidName; // HID_NAME, "manufacturer product"
    QString hidUniq; // HID_UNIQ, the serial number as the HID driver saw it
    QByteArray reportDescriptor;
    // Attributes of the parent USB device; empty for Bluetooth and virtual devices.
    QString usbDevicePath; // its sysfs path
    QString idVendor;      // four hex digits
    QString idProduct;
    QString bcdDevice;
    QString product;
    QString serial;
};

// Reads a sysfs hex attribute of at most maxDigits digits ("25ba\n"). Anything else,
// including an empty text, gives nullopt.
std::optional<quint32> parseSysfsHex(const QString &text, int maxDigits = 4);

struct HidId {
    quint32 bus = 0;
    quint16 vendorId = 0;
    quint16 productId = 0;
};
// Reads HID_ID ("0003:000025BA:000024AB").
std::optional<HidId> parseHidId(const QString &text);

// The interface description from what was read. The USB attributes win where present
// (the bare product string, the release number); the HID properties fill in for
// devices without a USB parent.
HidDeviceInfo mapHidrawSnapshot(const HidrawSnapshot &snapshot);

} // namespace platform::linuxbackend
