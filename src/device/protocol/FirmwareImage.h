#pragma once

// Firmware images as the maker publishes them: a text file of one hexadecimal byte per
// line ("\r\n" between lines), after a 12-byte binary header for the mouse and the
// remote control, or after three text lines for the receiver. Pure: no files, no
// state, so the parser is tested and fuzzed on its own.
//
// A device flashes whatever it is sent and checks it only against the count and the
// additive checksum of the end frame, which are computed from the same lines. A line
// read wrongly (an HTML error page saved as the image, a truncated download) would
// therefore be flashed without complaint; so an image is taken whole or not at all:
// every line must be one or two hexadecimal digits.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace proto {

enum class FirmwareTarget {
    Mouse,    // the mouse over HID (through its receiver or its cable)
    Receiver, // the USB receiver itself
    Remote,   // the remote control (deviceType 4) over HID
    BleMouse, // the mouse over Bluetooth LE
};

struct FirmwareLayout {
    int headerBytes;  // skipped before the text
    int droppedLines; // non-empty lines skipped after the header
    int packetLines;  // lines (image bytes) in a full packet
    int firstIndex;   // the index of the first packet
};

const FirmwareLayout &firmwareLayout(FirmwareTarget target);
const char *firmwareTargetName(FirmwareTarget target);

// Packet indices travel as 16 bits; the receiver's end frame carries one past the last.
inline constexpr int kMaxFirmwareIndex = 0xffff;
// No published image comes near this; a file this large is not an image.
inline constexpr qsizetype kMaxFirmwareFileBytes = 64 * 1024 * 1024;

enum class FirmwareImageError {
    None,
    Missing,           // no file, or it cannot be read
    ShorterThanHeader, // the file ends inside its header
    TooLarge,          // over kMaxFirmwareFileBytes, or more packets than an index can number
    Empty,             // no image line
    BadLine,           // a line that is not one or two hexadecimal digits
};

struct FirmwareImage {
    FirmwareTarget target = FirmwareTarget::Mouse;
    QByteArray bytes;     // one byte per image line, in order
    quint32 checksum = 0; // the sum of the bytes

    int lineCount() const { return int(bytes.size()); }
    int packetCount() const;
    // The image bytes of packet `index` as the target numbers its packets (the receiver
    // from 1); empty past the last packet.
    QByteArrayView packet(qint64 index) const;
};

struct FirmwareImageResult {
    std::optional<FirmwareImage> image;
    FirmwareImageError error = FirmwareImageError::None;
    int line = 0; // BadLine: the 1-based line of the text (after the header) that failed
    QString message;
    bool ok() const { return image.has_value(); }
};

FirmwareImageResult parseFirmwareImage(QByteArrayView file, FirmwareTarget target);
// Missing with a message naming the path (for a file that cannot be read).
FirmwareImageResult missingFirmwareImage(const QString &why);

} // namespace proto
