// Feeds arbitrary files to the firmware image parser for every target. The first byte
// picks the target, the rest is the file. Checks: a refusal says why; an accepted image
// is not empty, its checksum is the sum of its bytes, its packets put together give the
// image back within the index limit, every frame built from it has the length its
// header claims, and writing the bytes out as lines reads back the same image.
#include "FirmwareFrames.h"
#include "FirmwareImage.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    using namespace proto;
    const auto target = FirmwareTarget(data[0] % 4);
    const QByteArrayView file(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const FirmwareImageResult r = parseFirmwareImage(file, target);
    if (!r.ok()) {
        check(r.error != FirmwareImageError::None && !r.message.isEmpty());
        check((r.error == FirmwareImageError::BadLine) == (r.line > 0));
        return 0;
    }
    const FirmwareImage &image = *r.image;
    const FirmwareLayout &layout = firmwareLayout(target);
    check(image.lineCount() > 0);
    quint32 sum = 0;
    for (char c : image.bytes)
        sum += uint8_t(c);
    check(sum == image.checksum);
    check(image.packetCount() + layout.firstIndex <= kMaxFirmwareIndex);

    QByteArray whole;
    const int last = layout.firstIndex + image.packetCount();
    for (int i = layout.firstIndex; i < last; ++i) {
        const QByteArrayView p = image.packet(i);
        check(!p.isEmpty() && p.size() <= layout.packetLines);
        whole += p.toByteArray();
        if (target == FirmwareTarget::BleMouse) {
            const QByteArray f = bleFirmwarePacketFrame(image, i);
            check(f.size() == uint8_t(f[1]) && f.size() == p.size() + 5);
        } else {
            const QByteArray f = hidFirmwarePacketFrame(image, i);
            check(f.size() <= 64);
            check(f.endsWith(p.toByteArray()));
        }
    }
    check(whole == image.bytes);
    check(image.packet(last).isEmpty() && firmwarePacketsDone(image, last) && !firmwarePacketsDone(image, last - 1));
    check(firmwareProgress(last, image.packetCount()) == 100);

    QByteArray text(layout.headerBytes, 'H');
    for (int i = 0; i < layout.droppedLines; ++i)
        text += "x\r\n";
    for (char c : image.bytes)
        text += QByteArray(1, c).toHex() + "\r\n";
    const FirmwareImageResult again = parseFirmwareImage(text, target);
    check(again.ok() && again.image->bytes == image.bytes);
    return 0;
}
