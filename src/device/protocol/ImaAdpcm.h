#pragma once

// IMA ADPCM as the mice and receivers send it: 4-bit codes, 89-step table, 16-bit
// signed PCM out. Every function takes its state explicitly, so two streams (the HID
// and the Bluetooth LE voice, or two tests) never share a decoder by accident.

#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace proto {

inline constexpr int kAdpcmMaxIndex = 88;

// Predictor (the last sample) and step index. Out-of-range values (a device header
// with an index above 88, say) are clamped before use, never used as a table index.
struct AdpcmState {
    int32_t valprev = 0;
    int32_t index = 0;
    bool operator==(const AdpcmState &) const = default;
};

// Decodes one 4-bit code (the high bits of `code` are ignored) and advances the state.
int16_t adpcmDecodeNibble(uint8_t code, AdpcmState &state);

// Decodes `out.size()` samples from `in`, low nibble of each byte first. Stops early
// when `in` runs out; returns the number of samples written.
size_t adpcmDecoder(AdpcmState &state, std::span<const uint8_t> in, std::span<int16_t> out);

// Two samples per input byte, in the given nibble order; returns the samples written
// (never more than out.size() or 2 * in.size()).
size_t adpcmDecodeLowFirst(std::span<const uint8_t> in, std::span<int16_t> out, AdpcmState &state);
size_t adpcmDecodeHighFirst(std::span<const uint8_t> in, std::span<int16_t> out, AdpcmState &state);

// One block: int16 LE predictor, index byte, one unused byte, then codes low nibble
// first. The header predictor is not output, so 4 + k bytes give 2k samples. Returns
// the samples written (0 for a block shorter than its header); `end`, when given,
// receives the state after the last sample.
size_t adpcmBlockDecoder(std::span<const uint8_t> block, std::span<int16_t> out, AdpcmState *end = nullptr);

// Encodes one sample and advances the state: the exact inverse of the decoder's
// predictor tracking, so a decoder fed these codes reproduces the encoder's predictor.
uint8_t adpcmEncodeSample(int16_t sample, AdpcmState &state);

// Encodes in.size() samples into in.size() / 2 bytes (rounded up), low nibble first.
QByteArray adpcmCoder(AdpcmState &state, std::span<const int16_t> in);

// The table one device family's newer firmware XORs over the start of its voice
// blocks. Its contents come from the device maker; we do not ship one.
inline constexpr size_t kVoiceXorTableSize = 104;
using VoiceXorTable = std::array<uint8_t, kVoiceXorTableSize>;

// A table from exactly 104 bytes (a file or resource); anything else is no table.
std::optional<VoiceXorTable> voiceXorTableFromBytes(QByteArrayView bytes);

// XORs the first min(length, 104) bytes in place with the table; later bytes stay.
void voicePayloadXor(std::span<uint8_t> bytes, const VoiceXorTable &table);

// Samples as signed 16-bit little-endian bytes.
void appendPcm(QByteArray &out, std::span<const int16_t> samples);

} // namespace proto
