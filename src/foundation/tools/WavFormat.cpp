#include "WavFormat.h"

#include <QtEndian>

namespace {
// The receiver whose voice chip always streams at 16 kHz, whatever its plan says.
constexpr quint16 kWideBandVid = 0x248A;
constexpr quint16 kWideBandPid = 0x64AB;

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

long long firmwareVersionNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    long long v = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        v = v * 10 + (text.at(i).unicode() - u'0');
        if (v > (1LL << 40))
            break;
    }
    return negative ? -v : v;
}

int wavSampleRate(const WavRateInputs &in)
{
    int rate = 16000;
    if (in.bleConnect || in.chipPlan == 3 || in.chipPlan == 4 || in.chipPlan == 6)
        rate = 8000;
    if (in.deviceType == 5 || in.deviceType == 2)
        rate = 16000;
    // Newer firmware of plan 6 reports whether it streams wide band.
    if (in.chipPlan == 6 && firmwareVersionNumber(in.firmwareVersion) >= 11)
        rate = in.samplingRate != 0 ? 16000 : 8000;
    if (in.currentVid == kWideBandVid && in.currentPid == kWideBandPid)
        rate = 16000;
    else if (in.chipPlan == 7)
        rate = in.samplingRate != 0 ? 16000 : 8000;
    return rate;
}

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
