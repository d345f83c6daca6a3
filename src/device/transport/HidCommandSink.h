#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>

// A command buffer as the command builders fill it: 256 bytes from byte 0, the rest
// zero. Byte 0 is the report ID.
using HidCommandBuffer = std::array<uint8_t, 256>;

// What the HID command builders ask of the open HID device. The device cuts each buffer
// to the output-report length of its family and paces the reports; with no device
// open a buffer is dropped. Nothing is reported back: results arrive as replies.
class HidCommandSink {
public:
    virtual ~HidCommandSink() = default;
    virtual void hidRequestSendCommand(const HidCommandBuffer &buffer) = 0;
    // The device's last press type (the key-reset command clears it).
    virtual void setPressType(qint64 pressType) = 0;
};
