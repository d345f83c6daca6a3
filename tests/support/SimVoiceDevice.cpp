#include "SimVoiceDevice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

namespace {

const int kIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};
const int kStepTable[89] = {7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
                            25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
                            88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
                            307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
                            1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
                            3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
                            12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

void putLe16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

} // namespace

uint8_t RefAdpcmEncoder::encode(int sample)
{
    int step = kStepTable[index];
    int diff = sample - predictor;
    const uint8_t sign = diff < 0 ? 8 : 0;
    diff = std::abs(diff);
    uint8_t code = 0;
    int vpdiff = step / 8;
    for (int bit = 4; bit > 0; bit >>= 1) {
        if (diff >= step) {
            code |= uint8_t(bit);
            diff -= step;
            vpdiff += step;
        }
        step /= 2;
    }
    predictor = std::clamp(sign ? predictor - vpdiff : predictor + vpdiff, -32768, 32767);
    code |= sign;
    index = std::clamp(index + kIndexTable[code], 0, 88);
    return code;
}

int RefAdpcmEncoder::step() const
{
    return kStepTable[index];
}

std::vector<int16_t> testSignal(int count, double hz, double amplitude)
{
    std::vector<int16_t> out(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const double t = i / 16000.0;
        const double v = amplitude * std::sin(2 * std::numbers::pi * hz * t)
                         + amplitude / 3 * std::sin(2 * std::numbers::pi * 97.0 * t);
        out[size_t(i)] = int16_t(std::lround(v));
    }
    return out;
}

int SimVoiceDevice::next()
{
    const int v = m_pos < m_signal.size() ? m_signal[m_pos] : 0;
    ++m_pos;
    return v;
}

uint8_t SimVoiceDevice::encodeNext()
{
    const int s = next();
    // The first samples after a (re)start are slope-overloaded by design: no bound.
    m_steps.push_back(m_warmup > 0 ? -1 : m_enc.step());
    m_warmup = std::max(m_warmup - 1, 0);
    const uint8_t code = m_enc.encode(s);
    m_sent.push_back(int16_t(s));
    m_expected.push_back(int16_t(m_enc.predictor));
    return code;
}

QByteArray SimVoiceDevice::packHighFirst(int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i) {
        const uint8_t hi = encodeNext();
        const uint8_t lo = encodeNext();
        out.append(char((hi << 4) | lo));
    }
    return out;
}

QByteArray SimVoiceDevice::packLowFirst(int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i) {
        const uint8_t lo = encodeNext();
        const uint8_t hi = encodeNext();
        out.append(char((hi << 4) | lo));
    }
    return out;
}

QByteArray SimVoiceDevice::plan2Report()
{
    QByteArray r = QByteArray::fromHex("0d5a3f02");
    putLe16(r, m_seq++);
    r += packLowFirst(50);
    r.resize(64, '\0');
    return r;
}

QByteArray SimVoiceDevice::plan7Report(int unitBytes, bool sixteenKHz, int reportSize)
{
    QByteArray r = QByteArray::fromHex("a50000");
    r.append(char(sixteenKHz ? 0x80 : 0x00));
    r.append(char(m_enc.index));
    // The receiver reads the low byte as signed: pick the high byte that compensates.
    const int p = m_enc.predictor;
    const int low = p & 0xff;
    const int high = ((p - int8_t(low)) >> 8) & 0xff;
    r.append(char(high));
    r.append(char(low));
    r += packHighFirst(unitBytes);
    if (r.size() < reportSize)
        r.resize(reportSize, '\0');
    return r;
}

QByteArray SimVoiceDevice::plan6Report(int blockSize, int reportSize)
{
    QByteArray r("\x1b", 1);
    putLe16(r, m_enc.predictor);
    r.append(char(m_enc.index));
    r.append('\0');
    r += packLowFirst(blockSize - 4);
    if (r.size() < reportSize)
        r.resize(reportSize, '\0');
    return r;
}

QByteArray SimVoiceDevice::plan6PcmReport(int samples)
{
    QByteArray r("\x1b", 1);
    for (int i = 0; i < samples; ++i) {
        const int s = next();
        m_sent.push_back(int16_t(s));
        m_expected.push_back(int16_t(s));
        m_steps.push_back(0);
        putLe16(r, s);
    }
    return r;
}

QByteArray SimVoiceDevice::plan4Report(Plan4 layout, bool header)
{
    QByteArray r("\x1b", 1);
    switch (layout) {
    case Plan4::Sequenced:
        r.append(char((m_seq++ & 0x1f) << 3));
        r.append(char(m_enc.index));
        putLe16(r, m_enc.predictor);
        r += packHighFirst(96);
        break;
    case Plan4::Reframed:
        if (header) {
            m_enc = RefAdpcmEncoder{};
            m_warmup = kWarmup;
        }
        r.append(char(header ? 0 : 1));
        r += packHighFirst(31);
        break;
    case Plan4::Generic:
        if (header) {
            r.append('\0');
            r.append('\0');
            r.append(char(m_enc.index));
            putLe16(r, m_enc.predictor);
            r += packHighFirst(46);
        } else {
            r.append('\x01');
            r += packHighFirst(50);
        }
        break;
    }
    r.resize(std::max<qsizetype>(r.size(), 64), '\0');
    return r;
}

QByteArray SimVoiceDevice::receiverChunk(int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes / 2; ++i) {
        const int s = next();
        m_sent.push_back(int16_t(s));
        m_expected.push_back(int16_t(s));
        m_steps.push_back(0);
        putLe16(out, s);
    }
    return out;
}

QByteArray SimVoiceDevice::expectedPcm() const
{
    QByteArray out;
    for (int16_t s : m_expected)
        putLe16(out, s);
    return out;
}

} // namespace sim
