#pragma once

#include <QByteArray>
#include <QtGlobal>

// Reports of the pointer requests of the HID transport. Each returns the report to
// hand to the device, zero-filled up to `length` (never shorter than its own bytes).
// Plan 2 receivers take the A5-prefixed forms.
namespace laserpen {

// Mode 0 goes out as 5 and mode 4 as 3 on plan 2.
QByteArray modeReport(qint64 chipPlan, int mode, int length);
// The plan-2 switches; an empty array on other plans (they have no such command).
QByteArray openWebsiteReport(qint64 chipPlan, bool open, int length);
QByteArray openMicReport(qint64 chipPlan, bool open, int length);
QByteArray openLedReport(qint64 chipPlan, bool open, int length);
QByteArray dpiReport(qint64 chipPlan, quint8 value, int length);
QByteArray motorReport(quint8 value, int length);
QByteArray resetKeyStatusReport(int length);
// Seconds of vibration as the tenths the device counts: truncated toward zero and
// clamped to 0 ... 65535 (negative, NaN or huge values reach the device as 0 or the
// longest duration, never as wrapped garbage). The one conversion of every shake
// command: the HID information path, hidapi and the framed command families.
quint16 shakeTenths(double seconds);
// shakeTenths() as a 16-bit little-endian number.
QByteArray motorShakeDurationReport(double seconds, int length);
QByteArray sendKeyCommandReport(quint8 value, int length);

} // namespace laserpen
