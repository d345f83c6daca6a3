#pragma once

// The frames of a firmware transfer, for every target: start, data packet, end and
// cancel. Pure functions of the image, the packet index and the stored totals.
//
// HID frames are written from byte 0 of the zero-filled command buffer (HidFrames.h:
// an empty entry is the zero report, an empty list sends nothing). Only the plan-2
// families carry a transfer; the others get what they have always been sent.

#include "FirmwareImage.h"
#include "HidFrames.h"

#include <QByteArray>

namespace proto {

// The mouse's and the remote's start frames; a zero report on any other plan.
// The receiver's start frame; nothing on any other plan.
HidFrameList hidFirmwareStartFrames(FirmwareTarget target, int chipPlan);

// Packet `index` (as the target numbers them) of the image: the mouse
// 0d a6 4d L 71 i-lo i-hi d..., the receiver 0d ba c1 i-lo i-hi k 00 d...,
// the remote 0d 80 ba c1 i-lo i-hi k-lo k-hi d.... Empty past the last packet.
QByteArray hidFirmwarePacketFrame(const FirmwareImage &image, qint64 index);

// The end frame from the stored totals: the mouse 32 bits of the line count and the
// checksum; the receiver and the remote the packet index and the low 24 bits of each.
QByteArray hidFirmwareEndFrame(FirmwareTarget target, qint64 index, qint64 count, qint64 checksum);

// The mouse's cancel frame on plan 2 (nothing elsewhere); the receiver's zero report on
// any plan; nothing for the remote, which has no cancel command.
HidFrameList hidFirmwareCancelFrames(FirmwareTarget target, int chipPlan);

// Bluetooth LE packet `index`: 4d L 71 i-lo i-hi d..., L = the frame's length.
QByteArray bleFirmwarePacketFrame(const FirmwareImage &image, qint64 index);

// Whether the data step at `index` is past the last packet (the end frame is due).
bool firmwarePacketsDone(const FirmwareImage &image, qint64 index);

// The percentage the page shows after the data step at `index`: index / packets, in
// whole percent, never above 100 (the receiver's end step is one past its last packet)
// and 100 for an image without packets.
int firmwareProgress(qint64 index, int packetCount);

} // namespace proto
