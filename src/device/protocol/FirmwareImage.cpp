#include "FirmwareImage.h"

#include <array>

namespace proto {

namespace {

// clang-format off
constexpr std::array<FirmwareLayout, 4> kLayouts{{
    //  header  dropped  packet  first
    {   12,     0,       57,     0 }, // Mouse
    {   0,      3,       57,     1 }, // Receiver
    {   12,     0,       56,     0 }, // Remote
    {   12,     0,       128,    0 }, // BleMouse
}};
// clang-format on

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One or two hexadecimal digits; anything else is not an image line.
std::optional<uint8_t> lineValue(QByteArrayView line)
{
    if (line.size() < 1 || line.size() > 2)
        return std::nullopt;
    int v = 0;
    for (char c : line) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = v * 16 + d;
    }
    return uint8_t(v);
}

FirmwareImageResult failure(FirmwareImageError error, QString message, int line = 0)
{
    FirmwareImageResult r;
    r.error = error;
    r.line = line;
    r.message = std::move(message);
    return r;
}

} // namespace

const FirmwareLayout &firmwareLayout(FirmwareTarget target)
{
    return kLayouts[std::size_t(target)];
}

const char *firmwareTargetName(FirmwareTarget target)
{
    switch (target) {
    case FirmwareTarget::Mouse:
        return "mouse";
    case FirmwareTarget::Receiver:
        return "receiver";
    case FirmwareTarget::Remote:
        return "remote control";
    case FirmwareTarget::BleMouse:
        return "Bluetooth LE mouse";
    }
    return "?";
}

int FirmwareImage::packetCount() const
{
    const int size = firmwareLayout(target).packetLines;
    return int((bytes.size() + size - 1) / size);
}

QByteArrayView FirmwareImage::packet(qint64 index) const
{
    const FirmwareLayout &l = firmwareLayout(target);
    const qint64 n = index - l.firstIndex;
    if (n < 0 || n >= packetCount())
        return {};
    const qsizetype from = qsizetype(n) * l.packetLines;
    return QByteArrayView(bytes).sliced(from, std::min<qsizetype>(l.packetLines, bytes.size() - from));
}

FirmwareImageResult missingFirmwareImage(const QString &why)
{
    return failure(FirmwareImageError::Missing, why);
}

FirmwareImageResult parseFirmwareImage(QByteArrayView file, FirmwareTarget target)
{
    const FirmwareLayout &layout = firmwareLayout(target);
    if (file.size() > kMaxFirmwareFileBytes)
        return failure(FirmwareImageError::TooLarge,
                       QStringLiteral("the file has %1 bytes, more than any image").arg(file.size()));
    if (file.size() < layout.headerBytes)
        return failure(FirmwareImageError::ShorterThanHeader,
                       QStringLiteral("the file has %1 bytes, less than its %2-byte header")
                           .arg(file.size())
                           .arg(layout.headerBytes));

    FirmwareImage image;
    image.target = target;
    image.bytes.reserve(file.size() / 4);
    const QByteArrayView text = file.sliced(layout.headerBytes);
    int dropped = 0;
    int lineNumber = 0;
    qsizetype at = 0;
    while (at <= text.size()) {
        qsizetype end = text.indexOf(QByteArrayView("\r\n"), at);
        if (end < 0)
            end = text.size();
        const QByteArrayView line = text.sliced(at, end - at);
        at = end + 2;
        ++lineNumber;
        if (line.isEmpty())
            continue;
        if (dropped < layout.droppedLines) {
            ++dropped;
            continue;
        }
        const std::optional<uint8_t> v = lineValue(line);
        if (!v)
            return failure(FirmwareImageError::BadLine,
                           QStringLiteral("line %1 is not a hexadecimal byte (bytes %2)")
                               .arg(lineNumber)
                               .arg(QString::fromLatin1(
                                   line.first(std::min<qsizetype>(line.size(), 16)).toByteArray().toHex(' '))),
                           lineNumber);
        image.bytes.append(char(*v));
        image.checksum += *v;
    }
    if (image.bytes.isEmpty())
        return failure(FirmwareImageError::Empty, QStringLiteral("the image has no data line"));
    if (qint64(image.packetCount()) + layout.firstIndex > kMaxFirmwareIndex)
        return failure(
            FirmwareImageError::TooLarge,
            QStringLiteral("the image needs %1 packets, more than a packet index can number").arg(image.packetCount()));
    FirmwareImageResult r;
    r.image = std::move(image);
    return r;
}

} // namespace proto
