#pragma once

// Reading the gadget's notifications. Pure functions over the bytes of one value; the
// command manager acts on what they return.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <cstdint>

namespace proto::gadget {

// Values shorter than this are ignored altogether.
inline constexpr int kMinValueBytes = 4;
// Frames shorter than this carry no text and no status.
inline constexpr int kMinPayloadFrameBytes = 7;
// Status of a frame without payload.
inline constexpr qint64 kNoStatus = -1;

// Result codes handed to the caller, by event.
inline constexpr int kResultHandshake = 1;
inline constexpr int kResultMacAddress = 3;
inline constexpr int kResultUnknown = 0;

struct GadgetNotification {
    int event = 0; // the command byte, or 0x35 for the recording header
    int result = kResultUnknown;
    QString text; // the payload as Latin-1 text; for event 0x06 the MAC "a1:b2:..."
    // The payload as one big-endian number, saturated at the largest qint64, so that
    // it is 0 exactly when every payload byte is 0. kNoStatus without payload.
    qint64 status = kNoStatus;
};

// A value can hold several 0x05-family frames back to back. Returns them when there
// are two or more, each from its 05 12 up to its 0x21; otherwise nothing, and the
// value is read as one frame.
//
// A frame starts only at a byte pair 05 12 that lies outside the bytes its
// predecessor's length byte claims, so 05 12 inside a MAC address or a file name
// never cuts a frame. Pieces that do not end in 0x21 are not frames.
QByteArrayList splitGadgetFrames(const QByteArray &value);

// Reads one frame of at least kMinValueBytes bytes.
GadgetNotification readGadgetNotification(const QByteArray &frame);

// The result code of an event (kResultUnknown for events the gadget protocol does
// not define).
int gadgetResultCode(int event);

} // namespace proto::gadget
