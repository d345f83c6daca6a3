#include "WavFormat.h"

#include <QtEndian>

namespace {
void putLe32(QByteArray &b, quint32 v)
{
    char buf[4];
    qToLittleEndian<quint32>(v, buf);
    b.append(buf, 4);
}

void putLe16(QByteArray &b, quint16 v)
{
    char buf[2];
    qToLittleEndian<quint16>(v, buf);
    b.append(buf, 2);
}
} // namespace

QByteArray wavHeader(quint32 dataSize, quint32 sampleRate)
{
    QByteArray h;
    h.reserve(44);
    h.append("RIFF", 4);
    putLe32(h, dataSize + 36);
    h.append("WAVE", 4);
    h.append("fmt ", 4);
    putLe32(h, 16);
    putLe16(h, 1); // PCM
    putLe16(h, 1); // mono
    putLe32(h, sampleRate);
    putLe32(h, sampleRate * 2);
    putLe16(h, 2);
    putLe16(h, 16);
    h.append("data", 4);
    putLe32(h, dataSize);
    return h;
}
