// Reading aloud and playing an answer's link, over a fake synthesizer and player.
#include "FakeAudio.h"
#include "NotificationRecorder.h"

#include "NotificationNames.h"
#include "audio/AppAudioTool.h"
#include "audio/TKTTSManager.h"

#include <gtest/gtest.h>

namespace {

using Event = platform::ISpeechSynth::Event;

class Vox4Tts : public ::testing::Test {
protected:
    Vox4Tts()
    {
        tts.setCompleteBlock([this](qint64 status) { order << QStringLiteral("block %1").arg(status); });
        center.addObserver(qx::notify::TTSPlayCompleteNoti, &context,
                           [this](const QVariant &) { order << "notification"; });
    }

    NotificationCenter center;
    QObject context;
    FakeSpeechSynth synth;
    TKTTSManager tts{synth, center};
    QStringList order;
};

TEST_F(Vox4Tts, ABusySynthesizerIsStoppedAndTheNextStartSpeaksTheNewText)
{
    tts.setLanguage("en_US");
    tts.setSpeakString("a");
    tts.startSpeak();
    EXPECT_EQ(synth.said, QStringList{"a"});
    EXPECT_EQ(tts.currentStatus(), 1);
    const auto &u = synth.utterances.first();
    EXPECT_EQ(u.language, "en_US");
    EXPECT_EQ(u.rate, 0.0);
    EXPECT_EQ(u.pitch, 0.0);
    EXPECT_EQ(u.volume, 1.0);
    EXPECT_EQ(u.postDelayMs, 500);
    synth.report(Event::Started);

    tts.setLanguage("");
    tts.setSpeakString("b");
    tts.startSpeak();
    EXPECT_EQ(synth.calls, QStringList{"stop:Immediate"});
    EXPECT_EQ(synth.said, QStringList{"a"}) << "nothing new while busy";
    synth.report(Event::Cancelled);
    EXPECT_EQ(tts.currentStatus(), 4);
    EXPECT_EQ(order, QStringList({"block 1", "block 4"})) << "a cancel posts no notification";

    tts.startSpeak();
    EXPECT_EQ(synth.said, QStringList({"a", "b"}));
    EXPECT_EQ(synth.utterances.last().language, "") << "the language of the moment the text was set";
}

TEST_F(Vox4Tts, PauseStopAndContinueFollowTheBoundaryAndTheSynthesizer)
{
    EXPECT_FALSE(tts.pauseSpeak(0)) << "nothing speaks: as a recording start asks";
    EXPECT_EQ(tts.currentStatus(), 0);
    EXPECT_FALSE(tts.stopSpeak(0));
    synth.calls.clear();

    tts.setSpeakString("hello");
    tts.startSpeak();
    synth.report(Event::Started);
    for (int bad : {2, -1}) {
        EXPECT_FALSE(tts.stopSpeak(bad));
        EXPECT_FALSE(tts.pauseSpeak(bad));
    }
    EXPECT_TRUE(synth.calls.isEmpty()) << "a bad boundary never reaches the synthesizer";
    EXPECT_EQ(tts.currentStatus(), 1);

    EXPECT_TRUE(tts.pauseSpeak(0));
    EXPECT_EQ(tts.currentStatus(), 2);
    synth.report(Event::Paused);
    tts.continueSpeak();
    EXPECT_EQ(tts.currentStatus(), 3);
    synth.report(Event::Resumed);
    EXPECT_TRUE(tts.stopSpeak(1));
    EXPECT_EQ(tts.currentStatus(), 4);
    EXPECT_EQ(synth.calls, QStringList({"pause:Immediate", "resume", "stop:Word"}));
    synth.report(Event::Cancelled);
    EXPECT_EQ(order, QStringList({"block 1", "block 2", "block 3", "block 4"}));
}

TEST_F(Vox4Tts, AFinishPostsTheNotificationBeforeTheBlock)
{
    tts.setSpeakString("done");
    tts.startSpeak();
    synth.report(Event::Started);
    synth.report(Event::Finished);
    EXPECT_EQ(order, QStringList({"block 1", "notification", "block 4"}));
}

TEST(Vox4Playback, OnlyAnAddressIsPlayedAndEveryCallPausesFirst)
{
    struct Row {
        const char *url;
        QStringList calls;
    };
    const Row rows[] = {
        {"", {"pause"}},
        {"http://127.0.0.1:8080/a.mp3", {"pause", "play:http://127.0.0.1:8080/a.mp3"}},
        {"file:///tmp/answer.wav", {"pause", "play:file:///tmp/answer.wav"}},
        {"answer.mp3", {"pause"}},
        {"http://[::1", {"pause"}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.url);
        FakeUrlAudioPlayer player;
        AppAudioTool tool(player);
        tool.playAudioWithURL(QString::fromUtf8(r.url));
        EXPECT_EQ(player.calls, r.calls);
    }
    FakeUrlAudioPlayer player;
    AppAudioTool tool(player);
    tool.stop();
    EXPECT_EQ(player.calls, QStringList{"pause"});
}

} // namespace
