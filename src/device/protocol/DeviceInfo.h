#pragma once

// What a mouse says about itself in its information reply, whichever transport and
// family it came over: the one shape the device state and the pages read. Decoding is
// pure; storing it, and what follows from it, is the handlers' apply step.

#include "HidReportClassifier.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace proto {

struct DeviceInfo {
    QString sn;
    uint16_t pid = 0; // the mouse's own ids, where the reply carries them (Bluetooth LE)
    uint16_t vid = 0;
    std::optional<int> led; // absent: keep the stored value
    std::optional<int> mic;
    std::optional<bool> samplingRate; // the device streams wide band (plans 6 and 7)
    std::optional<int> productType;   // plans 6 and 7
    int icType = 0;
    int dpi = 0; // zero-based index into the DPI list
    int mouseType = 0;
    int powerPercent = 0;
    std::optional<QString> firmwareVersion; // absent: keep the stored one
};

// How the information reply of a HID family is laid out.
struct DeviceInfoLayout {
    HidReportFamily family = HidReportFamily::Plan7; // Plan6 or Plan7
    bool decimalFirmware = false;                    // the receiver's row has kDecimalFirmware (plan 7)
};

// The plans 6/7 information reply (command 0x61) as classified: at least 21 bytes,
// offsets as the report arrived. Serial "AB" + upper-case hex, flags byte 14, sensor
// type, DPI counted from 1, then model, battery and firmware by the family's layout
// (on plan 6 by byte 21 and the firmware byte).
DeviceInfo decodeDeviceInfo(QByteArrayView bytes, const DeviceInfoLayout &layout);

} // namespace proto
