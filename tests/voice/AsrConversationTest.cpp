// The mouse's voice through the real wiring: a simulated receiver streams a known
// signal, the application's transports and decoders hand it to the speech service, the
// service sends it to the local speech server, and the server's text comes back.
#include "root/CompanionApp.h"

#include "FakeBleCentral.h"
#include "FakeDesktop.h"
#include "FakeSecretStore.h"
#include "LocalHttpServer.h"
#include "LocalSpeechServer.h"
#include "ManualScheduler.h"
#include "RecordingListener.h"
#include "SimHidDevice.h"
#include "SimVoiceDevice.h"
#include "SimulatedHidBus.h"
#include "TempDataRoot.h"
#include "asr/QXWebApiAsrService.h"

#include "ImaAdpcm.h"
#include "KeyValueStore.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"
#include "ReceiverTable.h"

#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

class Vox1Conversation : public ::testing::Test {
protected:
    ManualScheduler sched;
    TempDataRoot root;
    MemoryKeyValueStore store;
    FakeSecretStore secrets;
    SimulatedHidBus bus;
    FakeBleAdapter adapter;
    LocalSpeechServer server;
    RecordingListener listener;
    FakeDesktop desktop; // the root's paste goes to its key poster and clipboard
    CompanionApp app{{.store = &store,
                      .secrets = &secrets,
                      .hid = &bus,
                      .bleCentral = adapter.factory(),
                      .desktopServices = false,
                      .speechBase = server.base()}};
    // The decoders write the recording through the root's service.
    QXWebApiAsrService &asr = app.speech();
    std::function<void()> start = [this] { asr.beginAsrIsTransferAudio(false, {}); };

    Vox1Conversation()
    {
        app.configData();
        asr.addStatusListener(&listener);
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents(), sched.runDue();
    }
    // Receiver plugged, voice key down; the recognition starts, and the reports follow
    // at once (while the handshake still runs) or once the recording is open.
    void speak(int row, int plan, const std::function<QByteArray()> &report, int reports, bool beforeOpen)
    {
        SimulatedReceiver rx(bus, qx::receivers::receiverTable()[std::size_t(row - 1)], {});
        SimHidDevice mouse(rx, plan);
        rx.plugIn();
        mouse.sendVoiceEvent(true);
        settle();
        start();
        QCoreApplication::processEvents();
        if (!beforeOpen) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return asr.fileHandle() != nullptr; }, 5000));
        }
        for (int i = 0; i < reports; ++i)
            ASSERT_TRUE(rx.sendInput(SimulatedReceiver::Role::Command, report()));
        mouse.sendVoiceEvent(false);
        settle();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !server.frames.isEmpty() && server.frames.last().end; }, 5000));
    }
};

TEST_F(Vox1Conversation, MouseVoiceSpokenBeforeTheHandshakeReachesTheServerIntactAndItsTextTheListener)
{
    sim::SimVoiceDevice voice(sim::testSignal(100 * 40));
    server.onEnd({LocalSpeechServer::reply("FIN", "你好。"), LocalSpeechServer::reply("LAST", "")});
    speak(
        9, 2, [&] { return voice.plan2Report(); }, 40, true); // 0x3151/0x22AB: the ADPCM itself goes out
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener.calls.contains("end:你好。|1"); }, 5000));
    EXPECT_EQ(server.frames.first().value("format") + server.frames.first().value("rate"), "adpcm");
    const QByteArray adpcm = server.audio();
    std::vector<int16_t> pcm(size_t(2 * adpcm.size()));
    proto::AdpcmState state;
    proto::adpcmDecodeLowFirst({reinterpret_cast<const uint8_t *>(adpcm.data()), size_t(adpcm.size())}, pcm, state);
    ASSERT_EQ(pcm.size(), voice.sent().size());
    for (size_t i = 0; i < pcm.size(); ++i) {
        if (voice.steps()[i] < 0)
            continue; // the encoder is still adapting
        ASSERT_LE(std::abs(pcm[i] - voice.sent()[i]), voice.steps()[i]) << "sample " << i;
    }
}

// The voice key through the device layers' relay to the dispatcher; the last result,
// after the release, is pasted and posted to the local text endpoint byte for byte.
TEST_F(Vox1Conversation, VoiceKeyTextIsPastedAndPostedByteForByte)
{
    LocalHttpServer texts;
    qputenv("QX_LOCAL_POST_PORT", QByteArray::number(texts.port()));
    app.state().setSno("SN001");
    app.state().setCompatibleModeSwitch(false); // on at launch: the mouse would type the chord
    start = [this] {
        app.state().setMouseIsConnect(true);
        app.seams().voice->hidCallbackType(33);
    };
    server.onEnd({LocalSpeechServer::reply("LAST", "Say \"hi\"").after(300)});
    sim::SimVoiceDevice voice(sim::testSignal(100 * 10));
    speak(
        9, 2, [&] { return voice.plan2Report(); }, 10, false);
    app.seams().voice->hidCallbackType(34);
    sched.advance(300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desktop.keyPoster.strokes.empty(); }, 5000));
    EXPECT_FALSE(server.audio().isEmpty());
    EXPECT_EQ(desktop.clipboard.text(), "Say \"hi\"");
    EXPECT_EQ(desktop.keyPoster.strokes, std::vector<PostedStroke>({{9, 0x100000}}));
    ASSERT_TRUE(texts.waitForRequests(1));
    EXPECT_EQ(texts.lastRequest().body,
              QByteArray(
                  "{\r\n    \"cmd\":\"voicetext\",\r\n    \"data\":\"Say \\\"hi\\\"\",\r\n    \"snr\":\"SN001\"\r\n}"));
    qunsetenv("QX_LOCAL_POST_PORT");
}

TEST_F(Vox1Conversation, RecordingOfAPlanSevenMouseIsWrittenAtItsRate)
{
    sim::SimVoiceDevice voice(sim::testSignal(114 * 10));
    speak(
        28, 7, [&] { return voice.plan7Report(57, false); }, 10, false); // 0x248A/0x67AC, 8 kHz
    QFile wav(QXToolManager::getFilePath("/Test.wav"));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    const QByteArray bytes = wav.readAll();
    ASSERT_EQ(bytes.size(), 44 + 10 * 114 * 2);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 24), 8000u);
}

} // namespace
