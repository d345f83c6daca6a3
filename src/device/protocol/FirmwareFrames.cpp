#include "FirmwareFrames.h"

#include <algorithm>

namespace proto {

namespace {

void appendLE(QByteArray &b, qint64 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(char(uint8_t(quint64(v) >> (8 * i))));
}

QByteArray bytesOf(std::initializer_list<uint8_t> list)
{
    QByteArray b;
    for (uint8_t v : list)
        b.append(char(v));
    return b;
}

} // namespace

HidFrameList hidFirmwareStartFrames(FirmwareTarget target, int chipPlan)
{
    if (target == FirmwareTarget::Receiver)
        return chipPlan == 2 ? HidFrameList{bytesOf({0x0d, 0xba, 0xc0})} : HidFrameList{};
    if (chipPlan != 2)
        return HidFrameList{QByteArray()};
    if (target == FirmwareTarget::Remote)
        return {bytesOf({0x0d, 0x80, 0xba, 0xc0})};
    return {bytesOf({0x0d, 0xa6, 0x4d, 0x04, 0x70, 0x4c})};
}

QByteArray hidFirmwarePacketFrame(const FirmwareImage &image, qint64 index)
{
    const QByteArrayView data = image.packet(index);
    if (data.isEmpty())
        return {};
    const qsizetype k = data.size();
    QByteArray f;
    switch (image.target) {
    case FirmwareTarget::Mouse:
        f = bytesOf({0x0d, 0xa6, 0x4d, uint8_t(k + 5), 0x71});
        appendLE(f, index, 2);
        break;
    case FirmwareTarget::Receiver:
        f = bytesOf({0x0d, 0xba, 0xc1});
        appendLE(f, index, 2);
        f.append(char(uint8_t(k)));
        f.append('\0');
        break;
    case FirmwareTarget::Remote:
        f = bytesOf({0x0d, 0x80, 0xba, 0xc1});
        appendLE(f, index, 2);
        appendLE(f, k, 2);
        break;
    case FirmwareTarget::BleMouse:
        return {};
    }
    f.append(data.data(), k);
    return f;
}

QByteArray hidFirmwareEndFrame(FirmwareTarget target, qint64 index, qint64 count, qint64 checksum)
{
    QByteArray f;
    switch (target) {
    case FirmwareTarget::Mouse:
        f = bytesOf({0x0d, 0xa6, 0x4d, 0x0c, 0x72});
        appendLE(f, count, 4);
        appendLE(f, checksum, 4);
        f.append(char(0x4c));
        return f;
    case FirmwareTarget::Receiver:
        f = bytesOf({0x0d, 0xba, 0xc2});
        break;
    case FirmwareTarget::Remote:
        f = bytesOf({0x0d, 0x80, 0xba, 0xc2});
        break;
    case FirmwareTarget::BleMouse:
        return {};
    }
    appendLE(f, index, 2);
    appendLE(f, checksum, 3);
    appendLE(f, count, 3);
    return f;
}

HidFrameList hidFirmwareCancelFrames(FirmwareTarget target, int chipPlan)
{
    switch (target) {
    case FirmwareTarget::Mouse:
        return chipPlan == 2 ? HidFrameList{bytesOf({0x0d, 0xa6, 0x4d, 0x04, 0x74, 0x4c})} : HidFrameList{};
    case FirmwareTarget::Receiver:
        return {QByteArray()};
    case FirmwareTarget::Remote:
    case FirmwareTarget::BleMouse:
        break;
    }
    return {};
}

QByteArray bleFirmwarePacketFrame(const FirmwareImage &image, qint64 index)
{
    const QByteArrayView data = image.packet(index);
    if (data.isEmpty() || image.target != FirmwareTarget::BleMouse)
        return {};
    QByteArray f = bytesOf({0x4d, uint8_t(data.size() + 5), 0x71});
    appendLE(f, index, 2);
    f.append(data.data(), data.size());
    return f;
}

bool firmwarePacketsDone(const FirmwareImage &image, qint64 index)
{
    return index - firmwareLayout(image.target).firstIndex >= image.packetCount();
}

int firmwareProgress(qint64 index, int packetCount)
{
    if (packetCount <= 0)
        return 100;
    return int(std::clamp<qint64>(index * 100 / packetCount, 0, 100));
}

} // namespace proto
