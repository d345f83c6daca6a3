// The computer's microphone as the speech service sees it: whole 1280-byte chunks, one
// padded chunk after every stop and nothing later, the restart, and what failures leave.
#include "FakeAudio.h"

#include "PZLog.h"
#include "audio/PcmChunker.h"
#include "audio/QXAudioQueueCapture.h"

#include <gtest/gtest.h>

namespace {

// Bytes that say where they came from: byte i of a feed starting at `from` is (from + i) % 251 + 1.
QByteArray pcm(int bytes, int from = 0)
{
    QByteArray b(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        b[i] = char((from + i) % 251 + 1);
    return b;
}

TEST(Vox4Capture, ChunkerCutsWholeChunksAndPadsTheTail)
{
    struct Row {
        const char *what;
        std::vector<int> pieces; // fed in order
        std::vector<int> chunks; // whole chunks out of them; then one padded 1280-byte tail
    };
    const Row rows[] = {
        {"whole buffers, short final buffer", {1280, 1280, 300}, {1280, 1280}},
        {"odd pieces join up", {700, 700, 700}, {1280}},
        {"one large read", {3000}, {1280, 1280}},
        {"nothing left at the stop", {1280}, {1280}},
        {"nothing at all", {}, {}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        PcmChunker chunker;
        QByteArray fed;
        std::vector<int> sizes;
        QByteArray out;
        for (int n : r.pieces) {
            const QByteArray piece = pcm(n, int(fed.size()));
            fed += piece;
            for (const QByteArray &c : chunker.push(piece)) {
                sizes.push_back(int(c.size()));
                out += c;
            }
        }
        const QByteArray tail = chunker.finish();
        EXPECT_EQ(sizes, r.chunks);
        ASSERT_EQ(tail.size(), PcmChunker::kChunkBytes);
        out += tail;
        // Every byte in order, then zeros only.
        EXPECT_EQ(out.left(fed.size()), fed);
        EXPECT_EQ(out.mid(fed.size()), QByteArray(out.size() - fed.size(), '\0'));
        EXPECT_EQ(chunker.finish(), QByteArray(PcmChunker::kChunkBytes, '\0')) << "the chunker is empty again";
    }
}

class Vox4CaptureSession : public ::testing::Test {
protected:
    Vox4CaptureSession()
    {
        setWriteLogHandler([this](const QString &line) { log << line; });
    }
    ~Vox4CaptureSession() override { setWriteLogHandler(nullptr); }

    QXAudioQueueCapture::ChunkHandler into(QList<QByteArray> &chunks)
    {
        return [&chunks](const QByteArray &c) { chunks << c; };
    }
    FakeMicrophone mic;
    QXAudioQueueCapture capture{mic};
    QStringList log;
};

TEST_F(Vox4CaptureSession, RecordsStopsWithOneLastChunkAndRestarts)
{
    QList<QByteArray> first;
    QList<bool> recordingAtChunk;
    capture.startRecordWithBlock([&](const QByteArray &c) {
        first << c;
        recordingAtChunk << capture.isRecording();
    });
    EXPECT_TRUE(capture.isRecording());
    EXPECT_EQ(log, QStringList({"新建语音队列成功，status=0", "开启语音队列成功，status=0"}));

    mic.feed(pcm(2000));
    mic.feed(pcm(560, 2000));
    ASSERT_EQ(first.size(), 2);
    EXPECT_EQ(first[0] + first[1], pcm(2560));

    // The stop hands over what the device still held: whole chunks as recorded, then the
    // padded rest as the last chunk, already not recording; nothing after it gets through.
    mic.feed(pcm(100, 2560));
    mic.heldAtClose = pcm(1480, 2660);
    capture.stopRecord();
    EXPECT_FALSE(capture.isRecording());
    mic.feed(pcm(1280));
    mic.feed(pcm(1280));
    ASSERT_EQ(first.size(), 4);
    EXPECT_EQ(first[2], pcm(1280, 2560));
    EXPECT_EQ(first[3], pcm(300, 3840) + QByteArray(980, '\0'));
    EXPECT_EQ(recordingAtChunk, QList<bool>({true, true, true, false}));
    EXPECT_EQ(log.last(), "结束语音队列成功，status=0");
    capture.stopRecord();
    EXPECT_EQ(first.size(), 4) << "a stop while idle does nothing";

    // A start while recording ends that recording first; its last chunk goes to the old
    // consumer, and the new one gets only its own audio.
    QList<QByteArray> second, third;
    capture.startRecordWithBlock(into(second));
    mic.feed(pcm(640));
    log.clear();
    capture.startRecordWithBlock(into(third));
    EXPECT_EQ(log.first(), "未结束又新建语音队列,先结束上次语音队列");
    EXPECT_TRUE(capture.isRecording());
    mic.feed(pcm(1280, 7));
    ASSERT_EQ(second.size(), 1);
    EXPECT_EQ(second[0], pcm(640) + QByteArray(640, '\0'));
    EXPECT_EQ(third, QList<QByteArray>({pcm(1280, 7)}));
    capture.stopRecord();
    EXPECT_EQ(third.size(), 2) << "again exactly one chunk after the stop";
    EXPECT_EQ(mic.opens, 3);
    EXPECT_EQ(mic.closes, 3);
}

TEST_F(Vox4CaptureSession, FailuresAreLoggedAndLeaveNoAudio)
{
    struct Row {
        const char *what;
        int openStatus;
        int startStatus;
        QStringList logged;
    };
    const Row rows[] = {
        {"no input device", 1, 0, {"新建语音队列失败，status=1", "开启语音队列失败，status=1"}},
        {"the device refuses to start", 0, 2, {"新建语音队列成功，status=0", "开启语音队列失败，status=2"}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        FakeMicrophone failing;
        failing.openStatus = r.openStatus;
        failing.startStatus = r.startStatus;
        QXAudioQueueCapture c(failing);
        log.clear();
        QList<QByteArray> chunks;
        c.startRecordWithBlock(into(chunks));
        EXPECT_EQ(log, r.logged);
        EXPECT_TRUE(c.isRecording()) << "counts as started, as a working start would";
        c.stopRecord();
        EXPECT_FALSE(c.isRecording());
        EXPECT_TRUE(chunks.isEmpty());
        EXPECT_EQ(failing.closes, 0);
    }
}

TEST_F(Vox4CaptureSession, InputThatBreaksOffEndsTheRecording)
{
    QList<QByteArray> chunks;
    capture.startRecordWithBlock(into(chunks));
    mic.feed(pcm(400));
    mic.breakOff("the input device stopped delivering audio");
    EXPECT_FALSE(capture.isRecording());
    EXPECT_TRUE(log.contains("语音队列中断，the input device stopped delivering audio"));
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks[0], pcm(400) + QByteArray(880, '\0'));
}

} // namespace
