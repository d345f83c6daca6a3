#pragma once

#include <QtGlobal>

// How the receivers' device-information reports encode their fields.
namespace devinfo {

// Some fields are the byte's two hex digits read as a decimal number, up to the
// first letter: 0x64 reads 64, 0x09 reads 9, 0x9a reads 9, 0xa0 reads 0.
int digitValue(quint8 byte);

// Sensor and mouse type byte of the plans other than 2: the low nibble gives the
// sensor chip type (1 and 2 are swapped), the high nibble the mouse type plus one.
quint64 icTypeFromSensorByte(quint8 byte);
// 0 for a byte below 0x10, which would otherwise wrap to a huge unsigned type.
quint64 mouseTypeFromSensorByte(quint8 byte);

// On sensor chip type 1 the DPI byte is a DPI value, stored as its index in the list.
qint64 dpiIndexFromByte(quint8 byte, quint64 icType);

// Plan 2: the sensor's two bytes as four hex digits ("3212") give the chip type.
quint64 icTypeFromSensorBytes(quint8 high, quint8 low);

// Plan 2 pointer receiver: its key byte as the pointer key code (0: no key).
qint64 pointerKeyFromByte(quint8 byte);

} // namespace devinfo
