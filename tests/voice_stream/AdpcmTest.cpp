// The IMA ADPCM decoders against hand-computed values, and the encoder against the
// simulator's independent one.
#include "ImaAdpcm.h"
#include "SimVoiceDevice.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <vector>

using namespace proto;

namespace {

std::vector<uint8_t> hex(const char *text)
{
    const QByteArray b = QByteArray::fromHex(text);
    return {b.begin(), b.end()};
}

enum class Order { Low, High };

std::vector<int16_t> decode(Order order, const char *bytes, AdpcmState &state)
{
    const std::vector<uint8_t> in = hex(bytes);
    std::vector<int16_t> out(in.size() * 2);
    const size_t n = order == Order::Low ? adpcmDecodeLowFirst(in, out, state) : adpcmDecodeHighFirst(in, out, state);
    out.resize(n);
    return out;
}

} // namespace

TEST(Adpcm, NibbleDecodesFromRest)
{
    struct Row {
        uint8_t code;
        int sample, index;
    } rows[] = {{7, 11, 8}, {0, 0, 0}, {0xf, -11, 8}, {8, 0, 0}};
    for (const Row &r : rows) {
        AdpcmState s;
        EXPECT_EQ(adpcmDecodeNibble(r.code, s), r.sample) << int(r.code);
        EXPECT_EQ(s, (AdpcmState{r.sample, r.index})) << int(r.code);
    }
}

TEST(Adpcm, StreamVectorsInBothNibbleOrders)
{
    struct Row {
        const char *what;
        Order order;
        AdpcmState from;
        const char *bytes;
        std::vector<int16_t> samples;
        std::optional<AdpcmState> end;
    } rows[] = {
        {"low 07", Order::Low, {}, "07", {11, 13}, AdpcmState{13, 7}},
        {"low 77 77", Order::Low, {}, "7777", {11, 41, 104, 240}, AdpcmState{240, 32}},
        {"low 0f", Order::Low, {}, "0f", {-11, -9}, {}},
        {"low 08 80", Order::Low, {}, "0880", {0, 0, 0, 0}, {}},
        {"high 07", Order::High, {}, "07", {0, 11}, AdpcmState{11, 8}},
        {"high 70", Order::High, {}, "70", {11, 13}, {}},
        {"high 34 12", Order::High, {1000, 16}, "3412", {1029, 1063, 1076, 1097}, AdpcmState{1097, 15}},
        {"clamp high", Order::Low, {32760, 88}, "07", {32767, 32767}, AdpcmState{32767, 87}},
        {"clamp low", Order::Low, {-32760, 88}, "0f", {-32768, -28673}, {}},
        // A state from a bad header is clamped before use, never used as a table index.
        {"index 200", Order::Low, {0, 200}, "00", {4095, 7819}, AdpcmState{7819, 86}},
    };
    for (const Row &r : rows) {
        AdpcmState s = r.from;
        EXPECT_EQ(decode(r.order, r.bytes, s), r.samples) << r.what;
        if (r.end) {
            EXPECT_EQ(s, *r.end) << r.what;
        }
    }
    // PCM bytes as the recording gets them.
    AdpcmState s;
    QByteArray pcm;
    appendPcm(pcm, decode(Order::Low, "07", s));
    EXPECT_EQ(pcm.toHex(' '), "0b 00 0d 00");
    s = {};
    pcm.clear();
    appendPcm(pcm, decode(Order::Low, "0f", s));
    EXPECT_EQ(pcm.toHex(' '), "f5 ff f7 ff");
}

TEST(Adpcm, BlockDecoder)
{
    std::vector<int16_t> out(16);
    AdpcmState end;
    ASSERT_EQ(adpcmBlockDecoder(hex("e803100012 89"), out, &end), 4u);
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 4), (std::vector<int16_t>{1021, 1031, 1021, 1018}));
    EXPECT_EQ(end, (AdpcmState{1018, 12}));
    QByteArray pcm;
    appendPcm(pcm, std::span(out).first(4));
    EXPECT_EQ(pcm.toHex(' '), "fd 03 07 04 fd 03 fa 03");

    ASSERT_EQ(adpcmBlockDecoder(hex("18fc05ff7ff7"), out), 4u);
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 4), (std::vector<int16_t>{-1022, -976, -875, -1095}));

    // Short blocks and short output never read or write past the spans.
    EXPECT_EQ(adpcmBlockDecoder(hex("e80310"), out), 0u);
    EXPECT_EQ(adpcmBlockDecoder(hex("e8031000"), out), 0u);
    EXPECT_EQ(adpcmBlockDecoder(hex("e8031000aabbcc"), std::span(out).first(3)), 3u);
}

TEST(Adpcm, RandomCodesStayInRange)
{
    QRandomGenerator rng(19);
    std::vector<uint8_t> bytes(4096);
    for (auto &b : bytes)
        b = uint8_t(rng.bounded(256));
    std::vector<int16_t> out(bytes.size() * 2);
    AdpcmState s{int32_t(rng.bounded(-40000, 40000)), 95};
    adpcmDecodeHighFirst(bytes, out, s);
    EXPECT_GE(s.index, 0);
    EXPECT_LE(s.index, kAdpcmMaxIndex);
    EXPECT_GE(s.valprev, -32768);
    EXPECT_LE(s.valprev, 32767);
}

TEST(Adpcm, EncoderMatchesReferenceAndRoundTrips)
{
    const std::vector<int16_t> signal = sim::testSignal(4000, 1000.0, 20000.0);
    AdpcmState enc;
    const QByteArray coded = adpcmCoder(enc, signal);
    ASSERT_EQ(coded.size(), 2000);

    sim::RefAdpcmEncoder ref;
    for (size_t i = 0; i < signal.size(); i += 2) {
        const uint8_t lo = ref.encode(signal[i]);
        const uint8_t hi = ref.encode(signal[i + 1]);
        ASSERT_EQ(uint8_t(coded[qsizetype(i / 2)]), uint8_t((hi << 4) | lo)) << "byte " << i / 2;
    }
    EXPECT_EQ(enc, (AdpcmState{ref.predictor, ref.index}));

    AdpcmState dec;
    std::vector<int16_t> out(signal.size());
    adpcmDecoder(dec, std::span(reinterpret_cast<const uint8_t *>(coded.constData()), size_t(coded.size())), out);
    EXPECT_EQ(dec, enc);
}

TEST(Adpcm, XorTableInput)
{
    EXPECT_FALSE(voiceXorTableFromBytes(QByteArray(103, 'x')));
    EXPECT_FALSE(voiceXorTableFromBytes(QByteArray(105, 'x')));
    const auto table = voiceXorTableFromBytes(QByteArray(104, '\x0f'));
    ASSERT_TRUE(table);
    std::vector<uint8_t> bytes(120, 0xf0);
    voicePayloadXor(bytes, *table);
    EXPECT_EQ(bytes[0], 0xff);
    EXPECT_EQ(bytes[103], 0xff);
    EXPECT_EQ(bytes[104], 0xf0);
}
