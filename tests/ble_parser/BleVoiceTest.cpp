#include "BleParserFixture.h"
#include "ImaAdpcm.h"

namespace {

// What a decoder that never skips a byte makes of `bytes`, from `state`.
QByteArray reference(const QByteArray &bytes, proto::AdpcmState state = {})
{
    std::vector<int16_t> samples(size_t(2 * bytes.size()));
    proto::adpcmDecodeLowFirst(std::span(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())),
                               samples, state);
    QByteArray pcm;
    proto::appendPcm(pcm, samples);
    return pcm;
}

QByteArray pattern(int n, int seed)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char((i * 37 + seed * 11 + 5) & 0xff));
    return b;
}

class BleVoice : public BleParserTest {
protected:
    void SetUp() override
    {
        BleParserTest::SetUp();
        fakes.speech.startRecording();
        feed("4d5a004c");
        adapter.writes.clear();
    }
};

TEST_F(BleVoice, FortyBytePacketsDecodeInHundredByteUnitsAndKeepTheRest)
{
    QByteArray sent;
    for (int i = 0; i < 2; ++i) {
        sent += pattern(40, i);
        feedBytes(pattern(40, i));
    }
    EXPECT_TRUE(recording().isEmpty());
    sent += pattern(40, 2);
    feedBytes(pattern(40, 2));
    EXPECT_EQ(recording().size(), 400); // 100 bytes, 200 samples
    EXPECT_EQ(mgr.audioData().size(), 20);
    EXPECT_EQ(mgr.encodeData(), sent); // the speech service gets every raw byte once

    // Every later byte is decoded too, in order, with the decoder state carried along.
    for (int i = 3; i < 10; ++i) {
        sent += pattern(40, i);
        feedBytes(pattern(40, i));
    }
    EXPECT_EQ(recording(), reference(sent));
    EXPECT_TRUE(writes().isEmpty()); // voice is never acknowledged
}

TEST_F(BleVoice, HundredBytePacketsFromTheVector)
{
    const QByteArray packet = QByteArray::fromHex("7777") + QByteArray(98, '\0');
    feedBytes(packet);
    ASSERT_EQ(recording().size(), 400);
    const QByteArray first = recording().left(8);
    EXPECT_EQ(first, QByteArray::fromHex("0b0029006800f000")); // 11, 41, 104, 240
    for (int i = 1; i < 12; ++i)
        feedBytes(packet);
    EXPECT_TRUE(chunks.isEmpty());
    feedBytes(packet);
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks[0].first, true);
    EXPECT_EQ(chunks[0].second.size(), 1300);
    EXPECT_TRUE(mgr.encodeData().isEmpty());
}

TEST_F(BleVoice, ChunkSizeFollowsTheSpeechLanguage)
{
    parser.setFormatSizeSource([] { return 500; });
    for (int i = 0; i < 6; ++i)
        feedBytes(pattern(90, i));
    // 540 bytes reach 500 after the sixth packet; without a voice block nothing piles up.
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks[0].second.size(), 540);
    mgr.setVoiceDataBlock({});
    for (int i = 0; i < 20; ++i)
        feedBytes(pattern(90, i));
    EXPECT_LT(mgr.encodeData().size(), 500);
}

TEST_F(BleVoice, StreamEndsFlushEverything)
{
    const QByteArray a = pattern(57, 1), b = pattern(120, 2);
    feedBytes(a);
    feedBytes(b);
    feed("4d00004c");
    // The last partial unit is in the recording as well; the rest goes to the voice
    // block as the end of the stream.
    EXPECT_EQ(recording(), reference(a + b));
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks[0], std::make_pair(false, a + b));
    EXPECT_TRUE(mgr.audioData().isEmpty());

    // Idle again: packets are dropped without a trace.
    const QByteArray before = recording();
    feedBytes(pattern(100, 3));
    EXPECT_EQ(recording(), before);
    EXPECT_TRUE(mgr.encodeData().isEmpty());
    EXPECT_EQ(chunks.size(), 1);
}

TEST_F(BleVoice, SecondStartRestartsWithEmptyBuffersAndTheDecoderCarriesOver)
{
    const QByteArray first = pattern(150, 1);
    feedBytes(first);
    const proto::AdpcmState after = mgr.msg();
    feed("4d5a004c");
    EXPECT_TRUE(mgr.audioData().isEmpty());
    EXPECT_TRUE(mgr.encodeData().isEmpty());
    EXPECT_EQ(fakes.voice.pressTypes.size(), 2u);
    EXPECT_EQ(mgr.msg(), after);

    fakes.speech.stopRecording();
    fakes.speech.startRecording();
    const QByteArray second = pattern(100, 2);
    feedBytes(second);
    EXPECT_EQ(recording(), reference(second, after));
}

TEST_F(BleVoice, NoRecordingOpenStillHandsTheVoiceOn)
{
    fakes.speech.stopRecording();
    for (int i = 0; i < 16; ++i)
        feedBytes(pattern(80, i));
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks[0].second.size(), 1280);
}

} // namespace
