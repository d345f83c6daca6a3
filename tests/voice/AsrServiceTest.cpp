// The speech service against a local websocket speech server: live voice from the
// microphone and the device, the end of a recognition, cancel and failure, file
// transcription, and the recognisers that open no socket.
#include "FakeNeighbours.h"
#include "FrameDecoder.h"
#include "ISpeechSdkRecognizer.h"
#include "LocalSpeechServer.h"
#include "ManualScheduler.h"
#include "QXWebApiAsrService.h"
#include "RecordingHidSink.h"
#include "RecordingListener.h"
#include "ScopedUserInfoData.h"
#include "ScriptedAudioInput.h"

#include "PZString.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "QXToolManager.h"
#include "services/LanguageHooks.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using S = LocalSpeechServer;

class Vox1Service : public ::testing::Test {
protected:
    ManualScheduler sched;
    ScopedUserInfoData state;
    FakeNeighbours fakes;
    MemoryKeyValueStore langStore;
    QXLanguageManager languages{langStore};
    RecordingHidSink sink;
    QXHidCommandManager hid;
    QXBLEMouseCommandManager ble;
    QXMouseCommandManager facade{&hid, &ble};
    ScriptedAudioInput mic;
    LocalSpeechServer server;
    RecordingListener listener;
    QStringList blocks, popups;
    std::unique_ptr<QXWebApiAsrService> asr;

    Vox1Service()
    {
        hid.setHidSink(&sink);
        state->setChipPlan(2);
        state->setIsSupportKeySetting(true);
        state->setAppKey(QStringLiteral("AK1"));
        state->mouseInfoItem().setSn(QStringLiteral("SN001"));
        pz::setMacAddressOverride(QStringLiteral("A1:B2:C3:D4:E5:F6"));
        facade.setIsFromMicData(true);
        make({});
    }
    ~Vox1Service() override
    {
        asr.reset();
        pz::setMacAddressOverride(std::nullopt);
        hid.invalidateTimer();
    }
    void make(QXWebApiAsrService::Deps d)
    {
        d.state = &state.state();
        d.languages = &languages;
        d.device = &facade;
        d.microphone = &mic;
        d.serviceBase = server.base();
        if (!d.deviceAudio)
            d.deviceAudio = [this] {
                WavRateInputs in;
                in.bleConnect = state->bleConnect();
                in.chipPlan = int(state->chipPlan());
                return in;
            };
        d.showSpeechView = [this](const QString &text, int type) {
            popups << QStringLiteral("%1|%2").arg(text).arg(type);
        };
        asr = std::make_unique<QXWebApiAsrService>(std::move(d));
        asr->addStatusListener(&listener);
    }
    void begin(bool file = false)
    {
        asr->beginAsrIsTransferAudio(file, [this](bool ok, const QString &text, bool last) {
            blocks << QStringLiteral("%1|%2|%3").arg(ok).arg(text).arg(last);
        });
        QCoreApplication::processEvents();
    }
    void end()
    {
        asr->endAsr();
        QCoreApplication::processEvents();
    }
    bool waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 5000); }
    static QByteArray readFile(const QString &name)
    {
        QFile f(QXToolManager::getFilePath("/" + name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
};

TEST_F(Vox1Service, MicrophoneRecognitionStreamsEachChunkAndEndsWithTheLastResult)
{
    server.onFrame(2, {S::reply("MID", "你")});
    server.onEnd({S::reply("FIN", "你好。"), S::binary("\x01\x02"), S::text("hello"), S::reply("LAST", "")});
    begin();
    ASSERT_TRUE(waitFor([&] { return mic.isRecording(); }));
    mic.deliver(QByteArray(1280, 'a'));
    mic.deliver(QByteArray(1280, 'b'));
    ASSERT_TRUE(waitFor([&] { return listener.count("rec:你") == 1; }));
    mic.tail = QByteArray(1280, 'c');
    end();
    ASSERT_TRUE(waitFor([&] { return listener.count("end:") == 1; }));

    ASSERT_EQ(server.frames().size(), 3);
    const QList<std::pair<bool, bool>> startEnd = {{true, false}, {false, false}, {false, true}};
    for (int i = 0; i < 3; ++i) {
        const SpeechFrame &f = server.frames()[i];
        EXPECT_TRUE(f.valid);
        EXPECT_EQ(std::pair(f.start, f.end), startEnd[i]) << i;
        EXPECT_EQ(f.content, QByteArray(1280, "abc"[i]));
        EXPECT_EQ(f.value("apiKey") + f.value("serialNo") + f.value("deviceNo"), "AK1SN001a1:b2:c3:d4:e5:f6");
    }
    EXPECT_EQ(server.requestUrls().value(0).path(), "/ws");
    EXPECT_EQ(listener.calls, QStringList({"rec:你", "new:你|你|0", "rec:你好。", "new:你好。|你好。|1",
                                           "new:你好。|你好。|2", "end:你好。|1"}));
    EXPECT_EQ(blocks, QStringList({"1|你|0", "1|你好。|0", "1|你好。|1"}));
    EXPECT_FALSE(listener.offMainThread);
    EXPECT_FALSE(asr->hasSocket()); // the last result closes it
    // The microphone's own audio is the recording, and its WAV lives for two seconds.
    EXPECT_EQ(readFile("Test.pcm"), QByteArray(1280, 'a') + QByteArray(1280, 'b') + QByteArray(1280, 'c'));
    EXPECT_EQ(readFile("Test.wav").size(), 44 + 3 * 1280);
    sched.advance(QXWebApiAsrService::kWavKeepMs);
    EXPECT_EQ(readFile("Test.wav"), "<none>");

    // A microphone with nothing left at the stop: the service says "end" itself. Replies
    // count for two seconds after the release, then no more.
    listener.calls.clear();
    server.onFrame(2, {});
    server.onEnd({});
    begin();
    ASSERT_TRUE(waitFor([&] { return mic.isRecording(); }));
    mic.deliver(QByteArray(1280, 'd'));
    end();
    ASSERT_TRUE(server.waitForFrames(5));
    EXPECT_TRUE(server.frames().constLast().end);
    EXPECT_EQ(server.frames().constLast().content, "");
    sched.advance(1500);
    server.say(S::reply("FIN", "a"));
    ASSERT_TRUE(waitFor([&] { return listener.count("new:a|a|1") == 1; }));
    sched.advance(1000);
    server.say(S::reply("LAST", "b"));
    QTest::qWait(50);
    EXPECT_EQ(listener.count("end:"), 0);
}

TEST_F(Vox1Service, DeviceVoiceBeforeTheHandshakeIsKeptAndBleVoiceIsNotWrittenToTheRecording)
{
    facade.setIsFromMicData(false);
    state->setBleConnect(true);
    ble.setIsStartVoice(true);
    begin();
    ASSERT_TRUE(asr->hasSocket());
    for (char c : {'1', '2', '3'})
        facade.sendVoiceDataBlock()(true, QByteArray(100, c)); // still connecting
    ASSERT_TRUE(server.waitForFrames(3));
    ble.setIsStartVoice(false);
    facade.sendVoiceDataBlock()(false, QByteArray(10, '4'));
    ASSERT_TRUE(server.waitForEnd());
    EXPECT_EQ(server.audio(), QByteArray(100, '1') + QByteArray(100, '2') + QByteArray(100, '3') + QByteArray(10, '4'));
    EXPECT_TRUE(server.frames().first().start);
    EXPECT_EQ(server.frames().first().value("format") + server.frames().first().value("rate"), "adpcm8k");
    EXPECT_EQ(readFile("Test.wav").size(), 44); // the decoder writes the recording, not the service
}

TEST_F(Vox1Service, CancelEarlyReleaseRefusalAndShutdownLeaveNoSocketAndNoResult)
{
    // Cancel: the socket goes at once, the device microphone is closed, no result follows.
    facade.setIsFromMicData(false);
    hid.setIsStartVoice(true);
    begin();
    ASSERT_TRUE(server.waitForConnections(1));
    ASSERT_TRUE(waitFor([&] { return server.isConnected(); }));
    sink.reports.clear();
    asr->cancelAsr();
    QCoreApplication::processEvents();
    EXPECT_FALSE(asr->hasSocket());
    ASSERT_TRUE(server.waitForDisconnect());
    ASSERT_TRUE(waitFor([&] { return !sink.reports.isEmpty(); }));
    EXPECT_EQ(sim::FrameDecoder::decodeHid(2, sink.reports.first())->command, "sendCloseMicData");
    server.say(S::reply("LAST", "x"));
    QTest::qWait(20);

    // Released before the handshake completed: the socket is closed on open, nothing records.
    facade.setIsFromMicData(true);
    begin();
    end();
    ASSERT_TRUE(server.waitForConnections(2));
    ASSERT_TRUE(waitFor([&] { return !asr->hasSocket(); }));
    EXPECT_EQ(mic.starts, 0);

    // A refused handshake: one pop-up, no socket, no second try.
    server.setRefuseHandshake(true);
    begin();
    ASSERT_TRUE(waitFor([&] { return !popups.isEmpty(); }));
    QTest::qWait(50);
    EXPECT_EQ(popups, QStringList({"连接服务器失败,请检查网络|0"}));
    EXPECT_FALSE(asr->hasSocket());

    // Shutdown: the microphone stops and nothing starts again.
    server.setRefuseHandshake(false);
    begin();
    ASSERT_TRUE(waitFor([&] { return mic.isRecording(); }));
    asr->prepareForApplicationTermination();
    EXPECT_FALSE(mic.isRecording());
    EXPECT_FALSE(asr->hasSocket());
    begin();
    mic.deliver("late");
    QTest::qWait(50);
    EXPECT_EQ(server.requestUrls().size(), 3);
    EXPECT_TRUE(listener.calls.isEmpty());
    EXPECT_TRUE(blocks.isEmpty());
}

TEST_F(Vox1Service, FileTranscriptionSendsAChunkPerTickWithProgressAndReportsFailure)
{
    struct Row {
        const char *name;
        int bytes; // -1: no such file
        QList<int> frameSizes;
        QStringList progress;
        S::Say afterEnd;
        const char *endCall;
    } rows[] = {
        {"2561 bytes", 2561, {1280, 1280, 1, 0}, {"0.33", "0.67", "1.00", "1.00"}, S::reply("LAST", "t"), "end:t|1"},
        {"one byte", 1, {1, 0}, {"1.00", "1.00"}, S::reply("LAST", "t"), "end:t|1"},
        {"empty file", 0, {0, 0}, {"1.00", "1.00"}, S::close(), "end:|0"},
        {"no file", -1, {0}, {"1.00"}, S::drop(), "end:|0"},
    };
    const QString path = QXToolManager::getFilePath("/job.pcm");
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        QFile::remove(path);
        if (r.bytes >= 0) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(r.bytes, 'x'));
        }
        listener.calls.clear();
        const int before = int(server.frames().size());
        server.onEnd({r.afterEnd});
        asr->transferAudioWithFilePath(path, QXTransferAudioModel());
        begin(true);
        // The open sends one chunk and the first tick another, at once.
        ASSERT_TRUE(server.waitForFrames(before + std::min(2, int(r.frameSizes.size()))));
        ASSERT_TRUE(waitFor([&] {
            sched.advance(QXWebApiAsrService::kSendIntervalMs);
            return listener.count("end:") > 0;
        }));
        QList<int> sizes;
        for (int i = before; i < server.frames().size(); ++i) {
            sizes << int(server.frames()[i].content.size());
            EXPECT_EQ(server.frames()[i].start, i == before && r.bytes >= 0); // no file: only the end frame
            EXPECT_EQ(server.frames()[i].end, i == server.frames().size() - 1);
        }
        EXPECT_EQ(sizes, r.frameSizes);
        EXPECT_EQ(listener.calls.filter("progress:").replaceInStrings("progress:", ""), r.progress);
        EXPECT_EQ(listener.calls.filter("end:"), QStringList({r.endCall}));
        ASSERT_TRUE(waitFor([&] { return !server.isConnected(); }));
    }
}

// The vendor engine, as far as the service drives it.
struct FakeSdk : ISpeechSdkRecognizer {
    QStringList calls;
    ResultHandler handler;
    void configureAsrWithRlang(const QString &rlang, bool ptt) override
    {
        calls << QStringLiteral("configure:%1:%2").arg(rlang).arg(ptt);
    }
    bool startAsr() override { return calls << "start", true; }
    bool stopAsr() override { return calls << "stop", true; }
    void sendPcmData(const QByteArray &pcm) override { calls << "pcm:" + pcm; }
    void setResultHandler(ResultHandler h) override { handler = std::move(h); }
};

TEST_F(Vox1Service, OnDeviceEngineAndPointerMicrophoneModeOpenNoSocket)
{
    FakeSdk sdk;
    const LanguageHooks previous = installLanguageHooks({{}, [this] { return languages.readAudioLanguageCode(); }, {}});
    state->setLongVoiceModeSwitch(false);
    state->setPunctuationSwitch(true);
    struct Row {
        const char *code;
        const char *name;
        const char *rlang;
    } rows[] = {{"ZH_TW", "中文（台湾）", "zh-hk"}, {"ZH_CN", "中文（繁体）", "zh-hk"}, {"EN_US", "English", "EN_US"}};
    for (const Row &r : rows) {
        make({.sdk = &sdk});
        languages.setAudioLanguageArr(QJsonArray{QJsonObject{{"name", r.name}, {"code", r.code}}});
        languages.setAudioLanguageIndex(0);
        sdk.calls.clear();
        begin();
        EXPECT_EQ(sdk.calls.value(0), QStringLiteral("configure:%1:1").arg(r.rlang));
    }
    mic.deliver("pcm1");
    sdk.handler(0, "你");
    sdk.handler(2, "你好");
    end();
    EXPECT_EQ(sdk.calls, QStringList({"configure:EN_US:1", "start", "pcm:pcm1", "stop"}));
    EXPECT_EQ(listener.calls, QStringList({"rec:你", "new:你|你|0", "new:你好|你好|2", "end:你好|1"}));
    EXPECT_EQ(blocks, QStringList({"1|你|0", "1|你好|1"}));
    installLanguageHooks(previous);

    // The pointer as a microphone: recorded, never sent.
    state->setIsLaser(true);
    state->setIsVoice(true);
    state->setLaserPenVoiceFunctionIndex(0);
    make({.pressType = [] { return 33; }});
    const int starts = mic.starts;
    begin();
    EXPECT_EQ(mic.starts, starts + 1);
    mic.deliver("m");
    QTest::qWait(20);
    EXPECT_FALSE(asr->hasSocket());
    EXPECT_TRUE(server.requestUrls().isEmpty());
}

} // namespace
