// Voice reports of every HID device family: what reaches the recording, which chunks
// reach the speech service and after which report, and what bad input does.
#include "HidVoiceStream.h"
#include "FakeNeighbours.h"
#include "PZLog.h"
#include "QXHidCommandManager.h"
#include "SimVoiceDevice.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cmath>
#include <functional>

using namespace proto;

namespace {

struct Chunk {
    bool isStartVoice;
    QByteArray audio;
    int afterReport; // how many reports had been fed when it was handed over
};

// A stream with spies on every sink.
struct Harness {
    QByteArray recording;
    std::vector<Chunk> chunks;
    std::vector<bool> rates;
    int reports = 0;
    HidVoiceStream stream;

    explicit Harness(std::optional<VoiceXorTable> table = {}, bool withVoiceSink = true)
        : stream(HidVoiceSinks{}, table)
    {
        HidVoiceSinks s;
        if (withVoiceSink)
            s.voice = [this](bool start, QByteArrayView a) { chunks.push_back({start, a.toByteArray(), reports}); };
        s.recording = [this](QByteArrayView pcm) { recording += pcm; };
        s.setSamplingRate = [this](bool r) { rates.push_back(r); };
        stream.setSinks(std::move(s));
    }
    Harness(const Harness &) = delete;

    void feed(const HidVoiceContext &ctx, const QByteArray &report)
    {
        ++reports;
        stream.handleVoiceReport(ctx, report);
    }
    QByteArray handedOver() const
    {
        QByteArray all;
        for (const Chunk &c : chunks)
            all += c.audio;
        return all;
    }
};

HidVoiceContext ctx(int plan, uint16_t vid = 0x3151, uint16_t pid = 0x22AB, int firmware = 0)
{
    HidVoiceContext c;
    c.chipPlan = plan;
    c.vendorId = vid;
    c.productId = pid;
    c.firmwareVersion = firmware;
    c.isStartVoice = true;
    return c;
}

std::vector<int16_t> samplesOf(const QByteArray &pcm)
{
    std::vector<int16_t> out(size_t(pcm.size() / 2));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(uint8_t(pcm[qsizetype(2 * i)]) | (uint8_t(pcm[qsizetype(2 * i + 1)]) << 8));
    return out;
}

QByteArray withPadding(const char *hexText, int size)
{
    QByteArray r = QByteArray::fromHex(hexText);
    r.resize(size, '\0');
    return r;
}

} // namespace

// --- the worked examples, one family each -------------------------------------------

TEST(HidVoiceStream, Plan2HandsOnRawAdpcmAndRecordsPcm)
{
    Harness h;
    const QByteArray report = withPadding("0d5a3f02050007", 64);
    h.feed(ctx(2), report);
    EXPECT_EQ(h.stream.lastNum(), 5);
    const std::vector<int16_t> pcm = samplesOf(h.recording);
    ASSERT_EQ(pcm.size(), 100u);
    EXPECT_EQ(std::vector<int16_t>(pcm.begin(), pcm.begin() + 10),
              (std::vector<int16_t>{11, 13, 14, 15, 16, 17, 18, 19, 20, 20}));
    EXPECT_EQ(pcm.back(), 20);
    EXPECT_EQ(h.stream.encodeData(), report.mid(6, 50));
    EXPECT_EQ(h.stream.msg(), (AdpcmState{20, 0}));
    EXPECT_TRUE(h.stream.audioData().isEmpty());

    for (int i = 0; i < 25; ++i)
        h.feed(ctx(2), report);
    ASSERT_EQ(h.chunks.size(), 1u);
    EXPECT_EQ(h.chunks[0].afterReport, 26);
    EXPECT_EQ(h.chunks[0].audio.size(), 1300);
    EXPECT_TRUE(h.chunks[0].isStartVoice);
    EXPECT_TRUE(h.stream.encodeData().isEmpty());
}

TEST(HidVoiceStream, Plan7HeaderSamplingFlagAndChunks)
{
    Harness h;
    const QByteArray report = withPadding("a5000080"
                                          "1003e8"
                                          "3412",
                                          64);
    h.feed(ctx(7), report);
    EXPECT_EQ(h.rates, std::vector<bool>{true});
    const std::vector<int16_t> pcm = samplesOf(h.recording);
    ASSERT_EQ(pcm.size(), 114u);
    // The low predictor byte counts as signed: 0x0300 - 24 = 744.
    EXPECT_EQ(std::vector<int16_t>(pcm.begin(), pcm.begin() + 4), (std::vector<int16_t>{773, 807, 820, 841}));
    EXPECT_EQ(h.stream.encodeData(), h.recording);
    for (int i = 0; i < 5; ++i)
        h.feed(ctx(7), report);
    ASSERT_EQ(h.chunks.size(), 1u);
    EXPECT_EQ(h.chunks[0].afterReport, 6);
    EXPECT_EQ(h.chunks[0].audio.size(), 1368);

    h.feed(ctx(7), withPadding("a5000000"
                               "1003e8",
                               64));
    EXPECT_EQ(h.rates.back(), false);
}

TEST(HidVoiceStream, Plan4GenericHeaderAndCarryOn)
{
    Harness h;
    h.feed(ctx(4), withPadding("1b000010e803"
                               "3412",
                               52));
    std::vector<int16_t> pcm = samplesOf(h.recording);
    ASSERT_EQ(pcm.size(), 92u);
    EXPECT_EQ(std::vector<int16_t>(pcm.begin(), pcm.begin() + 4), (std::vector<int16_t>{1029, 1063, 1076, 1097}));

    Harness carry;
    const QByteArray report = withPadding("1b01", 52);
    for (int i = 0; i < 7; ++i)
        carry.feed(ctx(4), report);
    EXPECT_EQ(carry.recording.size(), 1400);
    ASSERT_EQ(carry.chunks.size(), 1u);
    EXPECT_EQ(carry.chunks[0].afterReport, 7);
    EXPECT_EQ(carry.chunks[0].audio.size(), 1400);
}

TEST(HidVoiceStream, Plan6SmallBlockProduct)
{
    Harness h;
    const QByteArray report = withPadding("1be80310001289", 33);
    h.feed(ctx(6, 0x248A, 0x60AB, 12), report);
    const std::vector<int16_t> pcm = samplesOf(h.recording);
    ASSERT_EQ(pcm.size(), 56u);
    EXPECT_EQ(std::vector<int16_t>(pcm.begin(), pcm.begin() + 4), (std::vector<int16_t>{1021, 1031, 1021, 1018}));
    for (int i = 0; i < 11; ++i)
        h.feed(ctx(6, 0x248A, 0x60AB, 12), report);
    ASSERT_EQ(h.chunks.size(), 1u);
    EXPECT_EQ(h.chunks[0].afterReport, 12);
    EXPECT_EQ(h.chunks[0].audio.size(), 1344);
}

TEST(HidVoiceStream, ReceiverVoiceInterfaceHandsOnUndecoded)
{
    Harness h;
    HidVoiceContext c = ctx(3);
    h.stream.handleVoiceData(c, QByteArray(1000, '\x11'));
    EXPECT_TRUE(h.chunks.empty());
    EXPECT_EQ(h.stream.audioData().size(), 1000);
    h.stream.handleVoiceData(c, QByteArray(280, '\x22'));
    ASSERT_EQ(h.chunks.size(), 1u);
    EXPECT_EQ(h.chunks[0].audio, QByteArray(1000, '\x11') + QByteArray(280, '\x22'));
    h.stream.handleVoiceData(c, QByteArray(1280, '\x33'));
    EXPECT_EQ(h.chunks.size(), 2u) << "a whole chunk goes on at once";

    c.isStartVoice = false;
    h.stream.handleVoiceData(c, QByteArray(10, '\x44'));
    ASSERT_EQ(h.chunks.size(), 3u);
    EXPECT_EQ(h.chunks[2].audio.size(), 10);
    EXPECT_FALSE(h.chunks[2].isStartVoice);
    EXPECT_TRUE(h.recording.isEmpty()) << "nothing is decoded on this path";
}

TEST(HidVoiceStream, WithoutVoiceSinkBuffersStayBounded)
{
    Harness h({}, /*withVoiceSink=*/false);
    const QByteArray report = withPadding("1b01", 52);
    for (int i = 0; i < 7; ++i)
        h.feed(ctx(4), report);
    EXPECT_TRUE(h.stream.encodeData().isEmpty()) << "emptied at 1280 even with nobody to take it";
    EXPECT_EQ(h.recording.size(), 1400);

    // The receiver's voice interface used to keep everything when nobody listened.
    for (int i = 0; i < 100; ++i) {
        h.stream.handleVoiceData(ctx(3), QByteArray(500, 'v'));
        ASSERT_LT(h.stream.audioData().size(), 1280);
    }
}

// --- every family round trip through the simulated device ---------------------------

struct Family {
    const char *name;
    HidVoiceContext ctx;
    std::function<QByteArray(sim::SimVoiceDevice &, int i)> report;
    int pcmBytesPerReport;
};

void PrintTo(const Family &f, std::ostream *os)
{
    *os << f.name;
}

class FamilyStream : public ::testing::TestWithParam<Family> {};

TEST_P(FamilyStream, RoundTripWithinErrorBoundAndChunks)
{
    const Family &f = GetParam();
    sim::SimVoiceDevice device(sim::testSignal(16000));
    Harness h;
    h.stream.startVoice();
    const int reports = 40;
    for (int i = 0; i < reports; ++i)
        h.feed(f.ctx, f.report(device, i));
    h.stream.flushEncodeData(false);

    // The recording is exactly what the device's encoder reconstructs...
    ASSERT_EQ(h.recording.size(), reports * f.pcmBytesPerReport);
    EXPECT_EQ(h.recording, device.expectedPcm());
    // ...which is the signal within the ADPCM error bound once the step has adapted.
    const std::vector<int16_t> got = samplesOf(h.recording);
    double noise = 0, signal = 0;
    for (size_t i = 0; i < got.size(); ++i) {
        const int err = std::abs(got[i] - device.sent()[i]);
        if (device.steps()[i] < 0)
            continue;
        ASSERT_LE(err, device.steps()[i]) << f.name << " sample " << i;
        noise += double(err) * err;
        signal += double(device.sent()[i]) * device.sent()[i];
    }
    EXPECT_GT(10 * std::log10(signal / std::max(noise, 1.0)), 20.0) << f.name;

    // Chunks: the first once 1280 bytes are held, each a whole number of reports, the
    // rest at the end with the start flag down; together they are the recording.
    ASSERT_GE(h.chunks.size(), 2u);
    const int perChunk = (1280 + f.pcmBytesPerReport - 1) / f.pcmBytesPerReport;
    for (size_t i = 0; i + 1 < h.chunks.size(); ++i) {
        EXPECT_EQ(h.chunks[i].afterReport, int(i + 1) * perChunk) << f.name;
        EXPECT_EQ(h.chunks[i].audio.size(), perChunk * f.pcmBytesPerReport) << f.name;
        EXPECT_TRUE(h.chunks[i].isStartVoice);
    }
    EXPECT_FALSE(h.chunks.back().isStartVoice);
    EXPECT_EQ(h.handedOver(), h.recording) << f.name;
    EXPECT_TRUE(h.stream.encodeData().isEmpty());
}

using P4 = sim::SimVoiceDevice::Plan4;
INSTANTIATE_TEST_SUITE_P(
    Families, FamilyStream,
    ::testing::Values(Family{"plan7", ctx(7), [](sim::SimVoiceDevice &d, int) { return d.plan7Report(); }, 228},
                      Family{"plan7_68ac", ctx(7, 0x248A, 0x68AC),
                             [](sim::SimVoiceDevice &d, int) { return d.plan7Report(114, true, 121); }, 456},
                      Family{"plan6_32", ctx(6, 0x248A, 0x80AB, 12),
                             [](sim::SimVoiceDevice &d, int) { return d.plan6Report(32, 33); }, 112},
                      Family{"plan6_64", ctx(6, 0x248A, 0x20AB, 11),
                             [](sim::SimVoiceDevice &d, int) { return d.plan6Report(64, 65); }, 240},
                      Family{"plan6_128", ctx(6, 0x248A, 0x20AB, 12),
                             [](sim::SimVoiceDevice &d, int) { return d.plan6Report(128); }, 496},
                      Family{"plan6_100", ctx(6, 0x248A, 0x20AB, 22),
                             [](sim::SimVoiceDevice &d, int) { return d.plan6Report(100); }, 384},
                      Family{"plan6_pcm", ctx(6, 0x248A, 0x64AB, 30),
                             [](sim::SimVoiceDevice &d, int) { return d.plan6PcmReport(32); }, 64},
                      Family{"plan4_11ab", ctx(4, 0x3151, 0x11AB),
                             [](sim::SimVoiceDevice &d, int) { return d.plan4Report(P4::Sequenced, true); }, 384},
                      Family{"plan4_12ab", ctx(4, 0x3151, 0x12AB),
                             [](sim::SimVoiceDevice &d, int i) { return d.plan4Report(P4::Reframed, i % 10 == 0); },
                             124},
                      Family{"plan4_generic_carry", ctx(4, 0x3151, 0x22AB),
                             [](sim::SimVoiceDevice &d, int) { return d.plan4Report(P4::Generic, false); }, 200}),
    [](const auto &info) { return std::string(info.param.name); });

// Plan-4 generic streams mix 46-byte header units with 50-byte ones, and plan 2 hands
// on ADPCM rather than PCM: checked on their own.
TEST(HidVoiceStream, Plan4GenericAndPlan2RoundTrips)
{
    sim::SimVoiceDevice device(sim::testSignal(16000));
    Harness h;
    for (int i = 0; i < 20; ++i)
        h.feed(ctx(4), device.plan4Report(P4::Generic, i % 4 == 0));
    EXPECT_EQ(h.recording, device.expectedPcm());

    sim::SimVoiceDevice dev2(sim::testSignal(16000));
    Harness h2;
    QByteArray adpcm;
    for (int i = 0; i < 30; ++i) {
        const QByteArray r = dev2.plan2Report();
        adpcm += r.mid(6, 50);
        h2.feed(ctx(2), r);
    }
    EXPECT_EQ(h2.stream.lastNum(), 29);
    EXPECT_EQ(h2.recording, dev2.expectedPcm());
    h2.stream.flushEncodeData(false);
    EXPECT_EQ(h2.handedOver(), adpcm);
    EXPECT_EQ(h2.chunks[0].audio.size(), 1300);
}

TEST(HidVoiceStream, Plan4SequenceNumber)
{
    sim::SimVoiceDevice device(sim::testSignal(4000));
    Harness h;
    for (int i = 0; i < 3; ++i)
        h.feed(ctx(4, 0x3151, 0x13AB), device.plan4Report(P4::Sequenced, true));
    EXPECT_EQ(h.stream.lastNum(), 2);
    EXPECT_EQ(h.recording, device.expectedPcm());
}

// --- scrambled firmware -------------------------------------------------------------

TEST(HidVoiceStream, ScrambledFirmwareNeedsTheTable)
{
    VoiceXorTable table{};
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = uint8_t(i * 37 + 5);
    auto scramble = [&](QByteArray report, int blockSize) {
        for (int i = 0; i < blockSize; ++i)
            report[1 + i] = char(uint8_t(report[1 + i]) ^ table[size_t(i)]);
        return report;
    };

    struct Row {
        const char *what;
        HidVoiceContext ctx;
        int blockSize;
    } rows[] = {{"100-byte blocks", ctx(6, 0x248A, 0x20AB, 23), 100},
                {"32-byte blocks", ctx(6, 0x248A, 0x62AB, 25), 32}};
    for (const Row &r : rows) {
        sim::SimVoiceDevice device(sim::testSignal(4000));
        Harness with(table);
        Harness without;
        for (int i = 0; i < 5; ++i) {
            const QByteArray report = scramble(device.plan6Report(r.blockSize, r.blockSize + 1), r.blockSize);
            with.feed(r.ctx, report);
            without.feed(r.ctx, report);
        }
        EXPECT_EQ(with.recording, device.expectedPcm()) << r.what;
        EXPECT_TRUE(without.recording.isEmpty()) << r.what;
        EXPECT_TRUE(without.stream.encodeData().isEmpty()) << r.what;
        EXPECT_TRUE(without.stream.audioData().isEmpty()) << r.what;
    }
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("voice.xorTable")));
}

// --- short, odd and misplaced input -------------------------------------------------

TEST(HidVoiceStream, Plan6ShortBlockIsDroppedNotOverRead)
{
    Harness h;
    // Firmware 12 means 128-byte blocks; a 33-byte report cannot hold one.
    h.feed(ctx(6, 0x248A, 0x20AB, 12), withPadding("1be80310001289", 33));
    EXPECT_TRUE(h.recording.isEmpty());
    EXPECT_TRUE(h.stream.audioData().isEmpty());
    EXPECT_TRUE(h.stream.encodeData().isEmpty());
    // The raw PCM receiver drops an odd trailing byte rather than shifting every sample.
    h.feed(ctx(6, 0x248A, 0x64AB), QByteArray::fromHex("1b0102030405"));
    EXPECT_EQ(h.recording.toHex(), "01020304");
}

TEST(HidVoiceStream, Plan7BufferWaitsButNeverSticks)
{
    sim::SimVoiceDevice device(sim::testSignal(4000));
    Harness h;
    const HidVoiceContext c = ctx(7);
    // 60 audio bytes: not a unit, it waits.
    h.feed(c, withPadding("a500008010000000", 67));
    EXPECT_TRUE(h.recording.isEmpty());
    EXPECT_EQ(h.stream.audioData().size(), 60);
    // The next report would make 117 bytes: nothing can match any more, start over.
    h.feed(c, device.plan7Report());
    EXPECT_TRUE(h.stream.audioData().isEmpty());
    EXPECT_TRUE(h.recording.isEmpty());
    const QByteArray firstGood = device.expectedPcm();
    h.feed(c, device.plan7Report());
    EXPECT_EQ(h.recording, device.expectedPcm().mid(firstGood.size()));

    // A voice start empties a half-filled buffer.
    h.feed(c, withPadding("a50000801000", 40));
    EXPECT_FALSE(h.stream.audioData().isEmpty());
    h.stream.startVoice();
    EXPECT_TRUE(h.stream.audioData().isEmpty());

    // Two reports of 30 and 27 bytes complete a unit, decoded with the latest header.
    Harness parts;
    parts.feed(c, withPadding("a5000080100000", 7 + 30));
    parts.feed(c, withPadding("a5000080100000", 7 + 27));
    EXPECT_EQ(parts.recording.size(), 228);

    // The 114-byte receiver decodes what a 57-byte report holds, never 114 bytes of it.
    Harness large;
    large.feed(ctx(7, 0x248A, 0x68AC), withPadding("a5000080100000", 64));
    EXPECT_EQ(large.recording.size(), 228);
}

TEST(HidVoiceStream, HeaderIndexAboveRangeIsClamped)
{
    Harness h88, hff;
    h88.feed(ctx(7), withPadding("a5000080"
                                 "58"
                                 "0000"
                                 "7777",
                                 64));
    hff.feed(ctx(7), withPadding("a5000080"
                                 "ff"
                                 "0000"
                                 "7777",
                                 64));
    EXPECT_EQ(hff.recording, h88.recording);
    h88.feed(ctx(6, 0x248A, 0x60AB), withPadding("1b"
                                                 "0000"
                                                 "58"
                                                 "00"
                                                 "77",
                                                 33));
    hff.feed(ctx(6, 0x248A, 0x60AB), withPadding("1b"
                                                 "0000"
                                                 "ff"
                                                 "00"
                                                 "77",
                                                 33));
    EXPECT_EQ(hff.recording, h88.recording);
}

TEST(HidVoiceStream, IgnoresWhatIsNotVoiceOfARunningStream)
{
    Harness h;
    HidVoiceContext idle = ctx(7);
    idle.isStartVoice = false;
    h.feed(idle, withPadding("a500008010", 64));
    h.feed(ctx(7), withPadding("a6", 64));                         // not a voice report
    h.feed(ctx(2), withPadding("0d5a3f0205", 40));                 // shorter than its unit
    h.feed(ctx(4, 0x3151, 0x11AB), withPadding("1b0810e803", 64)); // 96-byte layout in 64
    h.feed(ctx(4), QByteArray::fromHex("1b"));
    h.feed(ctx(6), QByteArray::fromHex("1b"));
    h.feed(ctx(7), QByteArray::fromHex("a50000"));
    h.feed(ctx(1), withPadding("1b", 64));
    h.feed(ctx(7), QByteArray());
    EXPECT_TRUE(h.recording.isEmpty());
    EXPECT_TRUE(h.chunks.empty());
    EXPECT_TRUE(h.stream.audioData().isEmpty());
    EXPECT_TRUE(h.rates.empty());
}

TEST(HidVoiceStream, RecordsIntoTheSpeechServiceFileWhenOpen)
{
    FakeNeighbours fakes;
    QXHidCommandManager hid(fakes.seams()); // its stream records into the speech service's file
    HidVoiceStream &stream = hid.voiceStream();
    const QByteArray report = withPadding("1b01", 52);
    stream.handleVoiceReport(ctx(4), report); // no recording open: nothing to write to
    fakes.speech.startRecording();
    stream.handleVoiceReport(ctx(4), report);
    EXPECT_EQ(fakes.speech.recording.data().size(), 200);
    stream.flushEncodeData(false);
    EXPECT_TRUE(stream.encodeData().isEmpty());
}

TEST(HidVoiceStream, FormatSizeOfTheLanguageSetsTheChunk)
{
    Harness h;
    HidVoiceContext c = ctx(4);
    c.formatSize = 400;
    const QByteArray report = withPadding("1b01", 52);
    for (int i = 0; i < 4; ++i)
        h.feed(c, report);
    ASSERT_EQ(h.chunks.size(), 2u);
    EXPECT_EQ(h.chunks[0].afterReport, 2);
    EXPECT_EQ(h.chunks[0].audio.size(), 400);
}

// --- one stream pinned bit for bit --------------------------------------------------

TEST(HidVoiceStream, Plan7StreamMatchesGoldenPcm)
{
    sim::SimVoiceDevice device(sim::testSignal(8000, 523.25, 9000.0));
    Harness h;
    for (int i = 0; i < 20; ++i)
        h.feed(ctx(7), device.plan7Report());
    const QString path = QStringLiteral(QX_VOICE_DATA_DIR "/plan7_stream.pcm");
    if (qEnvironmentVariableIsSet("QX_WRITE_GOLDEN")) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(h.recording);
    }
    QFile golden(path);
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << qPrintable(path);
    EXPECT_EQ(h.recording, golden.readAll());
}
