// The speech service against the local speech server: microphone and device voice, the
// end of a recognition, cancel and failure, file transcription, and the modes that open
// no socket.
#include "CapturedMessages.h"
#include "FakeAsrSdkEngine.h"
#include "FrameDecoder.h"
#include "LocalSpeechServer.h"
#include "ManualScheduler.h"
#include "RecordingHidSink.h"
#include "RecordingListener.h"
#include "RunUntilIdle.h"
#include "ScopedUserInfoData.h"
#include "ScriptedAudioInput.h"
#include "asr/QXWebApiAsrService.h"

#include "PZString.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "QXToolManager.h"
#include "asr/IFlyASRManager.h"
#include "platform/PlatformServices.h"
#include "services/LanguageHooks.h"

#include <QJsonArray>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using S = LocalSpeechServer;

bool waitFor(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 5000);
}

QByteArray file(const QString &name)
{
    QFile f(QXToolManager::getFilePath("/" + name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

class Vox1Service : public ::testing::Test {
protected:
    ManualScheduler sched;
    ScopedUserInfoData state;
    MemoryKeyValueStore langStore;
    QXLanguageManager languages{langStore};
    RecordingHidSink sink;
    VoiceKeyState keys;
    QXHidCommandManager hid{DeviceSeams{&keys}};
    QXBLEMouseCommandManager ble{nullptr, nullptr, DeviceSeams{&keys}};
    QXMouseCommandManager facade{hid, ble};
    ScriptedAudioInput mic;
    LocalSpeechServer server;
    RecordingListener listener;
    QStringList blocks, popups;
    int paused = 0; // speech synthesis and playback paused
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
    ~Vox1Service() override { pz::setMacAddressOverride(std::nullopt); }
    void make(QXWebApiAsrService::Deps d)
    {
        d.state = &state.state();
        d.languages = &languages;
        d.device = &facade;
        d.keys = &keys;
        d.microphone = &mic;
        if (d.serviceBase.isEmpty())
            d.serviceBase = server.base();
        if (!d.deviceAudioFormat)
            d.deviceAudioFormat = [this] {
                return voiceStreamFormat(WavRateInputs{state->bleConnect(), int(state->chipPlan()), 1, {}});
            };
        d.showSpeechView = [this](const QString &text, int type) { popups << text + "|" + QString::number(type); };
        d.pausePlayback = [this] { ++paused; };
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
    bool heard(const QString &call)
    {
        return waitFor([&] { return listener.calls.contains(call); });
    }
};

TEST_F(Vox1Service, MicrophoneRecognitionStreamsEachChunkAndEndsWithTheLastResult)
{
    server.onFrame(2, {S::reply("MID", "你")});
    server.onEnd({S::reply("FIN", "你好。"), S::binary("\x01"), S::text("hello"), S::reply("LAST", "")});
    CapturedMessages messages;
    begin();
    ASSERT_TRUE(waitFor([&] { return mic.isRecording(); }));
    EXPECT_EQ(paused, 1) << "a recording pauses speech synthesis and playback";
    mic.deliver(QByteArray(1280, 'a'));
    mic.deliver(QByteArray(1280, 'b'));
    ASSERT_TRUE(heard("rec:你"));
    mic.tail = QByteArray(1280, 'c');
    asr->endAsr();
    ASSERT_TRUE(heard("end:你好。|1"));
    EXPECT_EQ(listener.calls, QStringList({"rec:你", "new:你|你|0", "rec:你好。", "new:你好。|你好。|1",
                                           "new:你好。|你好。|2", "end:你好。|1"}));
    EXPECT_EQ(blocks, QStringList({"1|你|0", "1|你好。|0", "1|你好。|1"}));
    EXPECT_FALSE(listener.offMainThread || asr->hasSocket()); // the last result closes it
    // A binary reply is logged as hex, never as its raw bytes.
    EXPECT_EQ(messages.with("didReceiveMessage"), QStringList("---webSocket:didReceiveMessage:01---"));
    ASSERT_EQ(server.frames.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const SpeechFrame &f = server.frames[i];
        EXPECT_TRUE(f.valid && f.start == (i == 0) && f.end == (i == 2)) << i;
        EXPECT_EQ(f.value("apiKey") + f.value("serialNo") + f.value("deviceNo"), "AK1SN001a1:b2:c3:d4:e5:f6");
    }
    EXPECT_EQ(server.requestUrls.value(0).path(), "/ws");
    // The microphone's audio is the recording.
    EXPECT_EQ(file("Test.pcm"), server.audio());
    EXPECT_EQ(file("Test.wav").size(), 44 + 3 * 1280);

    // The next recognition at once: the last one's reply window does not close it. With
    // nothing left at the stop the service says "end" itself; replies count for two
    // seconds after the release, not longer.
    server.onFrame(2, {});
    server.onEnd({});
    begin();
    ASSERT_TRUE(waitFor([&] { return mic.isRecording(); }));
    sched.advance(QXWebApiAsrService::kReplyWindowMs);
    server.say(S::reply("FIN", "a"));
    ASSERT_TRUE(heard("new:a|a|1"));
    mic.deliver(QByteArray(1280, 'd'));
    asr->endAsr();
    ASSERT_TRUE(server.waitForFrames(5));
    EXPECT_TRUE(server.frames.last().end && server.frames.last().content.isEmpty());
    sched.advance(1500);
    server.say(S::reply("FIN", "b"));
    ASSERT_TRUE(heard("new:a\nb|b|1"));
    sched.advance(1000);
    server.say(S::reply("LAST", "c"));
    runUntilIdle(); // a delivery of the late reply would show here
    EXPECT_EQ(listener.calls.last(), "new:a\nb|b|1");
}

TEST_F(Vox1Service, BluetoothVoiceIsSentButNotWrittenToTheRecording)
{
    facade.setIsFromMicData(false);
    state->setBleConnect(true);
    begin();
    ASSERT_TRUE(waitFor([&] { return asr->fileHandle() != nullptr; }));
    facade.sendVoiceDataBlock()(false, "adpcm");
    ASSERT_TRUE(server.waitForFrames(1));
    const SpeechFrame &f = server.frames[0];
    EXPECT_EQ(f.content + f.value("format") + f.value("rate") + (f.end ? "|end" : ""), "adpcmadpcm8k|end");
    EXPECT_EQ(file("Test.wav").size(), 44); // the decoder writes its PCM there, not the service
}

TEST_F(Vox1Service, CancelEarlyReleaseRefusalAndShutdownLeaveNoSocketAndNoResult)
{
    // Cancel: the socket goes at once and the device microphone is closed.
    facade.setIsFromMicData(false);
    hid.setIsStartVoice(true);
    begin();
    ASSERT_TRUE(waitFor([&] { return server.isConnected(); }));
    sink.reports.clear();
    asr->cancelAsr();
    ASSERT_TRUE(waitFor([&] { return !server.isConnected() && !asr->hasSocket() && !sink.reports.isEmpty(); }));
    EXPECT_EQ(sim::FrameDecoder::decodeHid(2, sink.reports.first())->command, "sendCloseMicData");

    // Released before the handshake completed: closed on open, nothing recorded.
    facade.setIsFromMicData(true);
    begin();
    asr->endAsr();
    ASSERT_TRUE(waitFor([&] { return server.requestUrls.size() == 2 && !asr->hasSocket(); }));
    EXPECT_EQ(mic.starts, 0);

    // A refused handshake: one pop-up, no second try.
    server.setRefuseHandshake(true);
    begin();
    ASSERT_TRUE(waitFor([&] { return !popups.isEmpty(); }));
    runUntilIdle(); // a second pop-up or attempt would show here
    EXPECT_EQ(popups, QStringList({"连接服务器失败,请检查网络|0"}));
    EXPECT_FALSE(asr->hasSocket());

    // Shutdown: the microphone stops and nothing starts again.
    server.setRefuseHandshake(false);
    begin();
    ASSERT_TRUE(waitFor([&] { return mic.isRecording(); }));
    asr->prepareForApplicationTermination();
    EXPECT_FALSE(mic.isRecording() || asr->hasSocket());
    begin();
    mic.deliver("late");
    runUntilIdle(); // a request or a delivery would show here
    EXPECT_EQ(server.requestUrls.size(), 3);
    EXPECT_TRUE(listener.calls.isEmpty() && blocks.isEmpty());
}

TEST_F(Vox1Service, AnUnreachableServerIsTheConnectionFailure)
{
    // A closed port, and a host that does not resolve as on a machine without network: the
    // socket never opens, and the press says so instead of listening to nothing.
    facade.setIsFromMicData(false);
    for (const char *base : {"ws://127.0.0.1:1", "ws://speech.quorvex.invalid"}) {
        SCOPED_TRACE(base);
        make({.serviceBase = QString::fromLatin1(base)});
        popups.clear();
        sink.reports.clear();
        hid.setIsStartVoice(true);
        begin();
        ASSERT_TRUE(waitFor([&] { return !popups.isEmpty() && !asr->hasSocket(); }));
        runUntilIdle(); // a second pop-up would show here
        EXPECT_EQ(popups, QStringList({"连接服务器失败,请检查网络|0"}));
        ASSERT_EQ(sink.reports.size(), 1);
        EXPECT_EQ(sim::FrameDecoder::decodeHid(2, sink.reports.first())->command, "sendCloseMicData");
    }
}

TEST_F(Vox1Service, FileTranscriptionSendsAChunkPerTickWithProgressAndReportsFailure)
{
    const std::tuple<int, QList<int>, QString, S::Say, const char *> rows[] = {
        // bytes (-1: no file), frame sizes, progress, the server after the end frame, the end call
        {2561, {1280, 1280, 1, 0}, "0.33 0.67 1.00 1.00", S::reply("LAST", "t"), "end:t|1|job"},
        {1, {1, 0}, "1.00 1.00", S::reply("LAST", "t"), "end:t|1|job"},
        {0, {0, 0}, "1.00 1.00", S::close(), "end:|0|job"},
        {-1, {0}, "1.00", S::drop(), "end:|0|job"},
    };
    const QString path = QXToolManager::getFilePath("/job.pcm");
    for (const auto &[bytes, frames, progress, afterEnd, end] : rows) {
        SCOPED_TRACE(bytes);
        QFile f(path);
        f.remove();
        ASSERT_TRUE(bytes < 0
                    || (f.open(QIODevice::WriteOnly) && f.write(QByteArray(bytes, 'x')) == bytes && f.flush()));
        listener.calls.clear();
        const qsizetype before = server.frames.size();
        server.onEnd({afterEnd});
        asr->fileTranscription().transferAudioWithFilePath(path, QXTransferAudioModel());
        begin(true);
        // The open sends one chunk and the first tick another, at once; then one per tick.
        ASSERT_TRUE(server.waitForFrames(int(before) + std::min(2, int(frames.size()))));
        ASSERT_TRUE(waitFor([&] { return sched.advance(40), listener.calls.contains(end); }));
        QList<int> sizes;
        for (qsizetype i = before; i < server.frames.size(); ++i) {
            sizes << int(server.frames[i].content.size());
            EXPECT_EQ(server.frames[i].start, i == before && bytes >= 0); // no file: the end frame alone
            EXPECT_EQ(server.frames[i].end, i == server.frames.size() - 1);
        }
        EXPECT_EQ(sizes, frames);
        EXPECT_EQ(listener.calls.filter("progress:").join(' ').remove("progress:"), progress);
        EXPECT_EQ(listener.calls.filter("end:"), QStringList(end));
        ASSERT_TRUE(waitFor([&] { return !server.isConnected(); }));
    }
}

TEST_F(Vox1Service, OnDeviceEngineAndPointerMicrophoneModeOpenNoSocket)
{
    FakeAsrSdkEngine engine;
    const platform::PlatformServices services = platform::installServices({.asrSdkEngine = &engine});
    const LanguageHooks hooks = installLanguageHooks({{}, [this] { return languages.readAudioLanguageCode(); }, {}});
    IFlyASRManager sdk(engine);
    state->setLongVoiceModeSwitch(false);
    state->setPunctuationSwitch(true);
    for (const auto &[code, name] :
         {std::pair("ZH_TW", "中文（台湾）"), {"ZH_CN", "中文（繁体）"}, {"EN_US", "English"}}) {
        make({.sdk = &sdk});
        languages.setAudioLanguageArr(QJsonArray{QJsonObject{{"name", name}, {"code", code}}});
        engine.calls.clear();
        begin();
        EXPECT_EQ(engine.calls.value(0), QStringLiteral("rlang %1").arg(QString(code) == "EN_US" ? "EN_US" : "zh-hk"));
    }
    mic.deliver("1");
    engine.handler()(0, "你");
    engine.handler()(2, "你好");
    asr->endAsr();
    ASSERT_TRUE(heard("end:你好|1"));
    EXPECT_EQ(engine.calls.join(' '), "rlang EN_US ptt 1 stop 0 start write 1 stop 0");
    EXPECT_EQ(listener.calls, QStringList({"rec:你", "new:你|你|0", "new:你好|你好|2", "end:你好|1"}));
    EXPECT_EQ(blocks, QStringList({"1|你|0", "1|你好|1"}));
    // The device's voice reaches the engine only as 16 kHz PCM: ADPCM or narrow-band
    // voice would be heard as noise.
    facade.setIsFromMicData(false);
    for (const auto &[ble, deviceType, taken] : {std::tuple{false, 5, true}, {false, 1, false}, {true, 5, false}}) {
        make({.sdk = &sdk, .deviceAudioFormat = [ble, deviceType] {
                  return voiceStreamFormat(WavRateInputs{ble, 2, deviceType, {}, 1});
              }});
        state->setBleConnect(ble);
        engine.calls.clear();
        begin();
        facade.sendVoiceDataBlock()(true, "pcm16");
        facade.sendVoiceDataBlock()(false, "pcm16");
        EXPECT_EQ(engine.calls.filter("write").size(), taken ? 2 : 0) << ble << deviceType;
        asr->endAsr();
        runUntilIdle();
    }
    state->setBleConnect(false);
    facade.setIsFromMicData(true);
    make({.sdk = &sdk});
    // An engine that does not start says so at once instead of listening to nothing.
    engine.startResult = 5;
    begin();
    EXPECT_EQ(popups, QStringList({"连接服务器失败,请检查网络|0"}));
    EXPECT_EQ(mic.starts, 3);
    installLanguageHooks(hooks);
    platform::installServices(services);
    EXPECT_TRUE(server.requestUrls.isEmpty());

    // The pointer as a microphone: recorded, never sent.
    state->setIsLaser(true);
    state->setIsVoice(true);
    make({.pressType = [] { return 33; }});
    begin();
    mic.deliver("m");
    runUntilIdle(); // a connection to the service would show here
    EXPECT_EQ(mic.starts, 4);
    EXPECT_EQ(file("Test.pcm"), "m");
    EXPECT_TRUE(server.requestUrls.isEmpty());
}

} // namespace
