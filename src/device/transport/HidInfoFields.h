#pragma once

#include <QByteArray>
#include <QtGlobal>

// Readings of single bytes of the receiver's device-information report. Pure
// functions; the reader (HidInfoReader) applies them per offset.
namespace hidinfo {

// The byte written as two lower-case hex digits and that text read as a decimal
// number up to the first letter: 0x64 reads 64, 0x09 reads 9, 0x9a reads 9, 0xa0 reads
// 0. The devices encode battery, connection, device type and LED this way.
int digitValue(quint8 byte);

// Sensor and mouse type byte of the plans other than 2: the low nibble names the
// sensor (1 and 2 swapped against the chip-type numbering), the high nibble is the
// mouse type plus one. A high nibble of 0 reads as mouse type 0 (unknown).
quint64 icTypeFromSensorByte(quint8 byte);
quint64 mouseTypeFromSensorByte(quint8 byte);

// Plan 2 sensor id, bytes 5 and 6 as four hex digits ("3212" -> 1, ...); unknown ids
// read as chip type 2.
quint64 icTypeFromSensorId(quint8 high, quint8 low);

// Key byte of the plan-2 pointer receiver, mapped to the pointer key codes; 0 for
// bytes without a key.
int pointerReceiverKeyCode(quint8 byte);
// The effect key (0x4c) clears the drawing before the effect shows.
constexpr quint8 kPointerEffectKeyByte = 0x4c;

// Press type of a key code of the devices other than pointers. The mode key (64) and
// every code without a press type give 0.
int nonPointerPressType(qint64 keyCode, bool translateMode);
constexpr qint64 kModeToggleKey = 64;

// What a converted key does to the last press type sent on (held).
enum class KeyRule {
    Ignore,     // nothing: no press type, or the held one again
    StopReport, // a search key while the typing or translation key is held would cut
                // that voice input short: ignored, and the rest of the report unread
    Take,       // the new press type, sent on
};
KeyRule keyRule(int converted, qint64 held);

} // namespace hidinfo
