#include "ImaAdpcm.h"

#include <QtEndian>

#include <algorithm>

namespace proto {

namespace {

constexpr std::array<int, 16> kIndexTable = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

constexpr std::array<int, kAdpcmMaxIndex + 1> kStepTable = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

int clampIndex(int index)
{
    return std::clamp(index, 0, kAdpcmMaxIndex);
}
int clampSample(int value)
{
    return std::clamp(value, -32768, 32767);
}

} // namespace

int16_t adpcmDecodeNibble(uint8_t code, AdpcmState &state)
{
    code &= 0x0f;
    const int index = clampIndex(state.index);
    const int step = kStepTable[size_t(index)];
    int diff = step >> 3;
    if (code & 4)
        diff += step;
    if (code & 2)
        diff += step >> 1;
    if (code & 1)
        diff += step >> 2;
    const int predictor = clampSample(state.valprev);
    state.valprev = clampSample((code & 8) ? predictor - diff : predictor + diff);
    state.index = clampIndex(index + kIndexTable[code]);
    return int16_t(state.valprev);
}

size_t adpcmDecoder(AdpcmState &state, std::span<const uint8_t> in, std::span<int16_t> out)
{
    const size_t n = std::min(out.size(), in.size() * 2);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t byte = in[i / 2];
        out[i] = adpcmDecodeNibble((i % 2) ? uint8_t(byte >> 4) : byte, state);
    }
    return n;
}

size_t adpcmDecodeLowFirst(std::span<const uint8_t> in, std::span<int16_t> out, AdpcmState &state)
{
    return adpcmDecoder(state, in, out);
}

size_t adpcmDecodeHighFirst(std::span<const uint8_t> in, std::span<int16_t> out, AdpcmState &state)
{
    const size_t n = std::min(out.size(), in.size() * 2);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t byte = in[i / 2];
        out[i] = adpcmDecodeNibble((i % 2) ? byte : uint8_t(byte >> 4), state);
    }
    return n;
}

size_t adpcmBlockDecoder(std::span<const uint8_t> block, std::span<int16_t> out, AdpcmState *end)
{
    if (block.size() < 4)
        return 0;
    AdpcmState state;
    state.valprev = qFromLittleEndian<qint16>(block.data());
    state.index = clampIndex(block[2]);
    const size_t n = adpcmDecoder(state, block.subspan(4), out);
    if (end)
        *end = state;
    return n;
}

uint8_t adpcmEncodeSample(int16_t sample, AdpcmState &state)
{
    const int index = clampIndex(state.index);
    int step = kStepTable[size_t(index)];
    const int predictor = clampSample(state.valprev);
    int diff = int(sample) - predictor;
    uint8_t sign = 0;
    if (diff < 0) {
        sign = 8;
        diff = -diff;
    }
    uint8_t delta = 0;
    int vpdiff = step >> 3;
    if (diff >= step) {
        delta = 4;
        diff -= step;
        vpdiff += step;
    }
    step >>= 1;
    if (diff >= step) {
        delta |= 2;
        diff -= step;
        vpdiff += step;
    }
    step >>= 1;
    if (diff >= step) {
        delta |= 1;
        vpdiff += step;
    }
    state.valprev = clampSample(sign ? predictor - vpdiff : predictor + vpdiff);
    delta |= sign;
    state.index = clampIndex(index + kIndexTable[delta]);
    return delta;
}

QByteArray adpcmCoder(AdpcmState &state, std::span<const int16_t> in)
{
    QByteArray out((qsizetype(in.size()) + 1) / 2, '\0');
    for (size_t i = 0; i < in.size(); ++i) {
        const uint8_t code = adpcmEncodeSample(in[i], state);
        char &byte = out[qsizetype(i / 2)];
        byte = char((i % 2) ? (uint8_t(byte) | (code << 4)) : code);
    }
    return out;
}

std::optional<VoiceXorTable> voiceXorTableFromBytes(QByteArrayView bytes)
{
    if (size_t(bytes.size()) != kVoiceXorTableSize)
        return std::nullopt;
    VoiceXorTable table{};
    std::copy(bytes.begin(), bytes.end(), table.begin());
    return table;
}

void voicePayloadXor(std::span<uint8_t> bytes, const VoiceXorTable &table)
{
    const size_t n = std::min(bytes.size(), table.size());
    for (size_t i = 0; i < n; ++i)
        bytes[i] ^= table[i];
}

void appendPcm(QByteArray &out, std::span<const int16_t> samples)
{
    const qsizetype start = out.size();
    out.resize(start + qsizetype(samples.size()) * 2);
    qToLittleEndian<qint16>(samples.data(), qsizetype(samples.size()), out.data() + start);
}

} // namespace proto
