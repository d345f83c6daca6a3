// The mouse's voice through the real wiring: a simulated receiver streams a known
// signal, the application's transports and decoders hand it to the speech service, the
// service sends it to the local speech server, and the server's text comes back.
#include "CompanionApp.h"

#include "FakeBleCentral.h"
#include "FakeSecretStore.h"
#include "LocalSpeechServer.h"
#include "ManualScheduler.h"
#include "QXWebApiAsrService.h"
#include "RecordingListener.h"
#include "SimHidDevice.h"
#include "SimVoiceDevice.h"
#include "SimulatedHidBus.h"
#include "TempDataRoot.h"

#include "ImaAdpcm.h"
#include "KeyValueStore.h"
#include "QXToolManager.h"
#include "ReceiverTable.h"
#include "services/Neighbours.h"

#include <QFile>
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
    std::unique_ptr<CompanionApp> app;
    LocalSpeechServer server;
    RecordingListener listener;
    std::unique_ptr<QXWebApiAsrService> asr;
    Neighbours previous;

    Vox1Conversation()
    {
        CompanionApp::Options o;
        o.store = &store;
        o.secrets = &secrets;
        o.hid = &bus;
        o.bleCentral = adapter.factory();
        o.desktopServices = false;
        app = std::make_unique<CompanionApp>(o);
        app->configData();
        asr = std::make_unique<QXWebApiAsrService>(QXWebApiAsrService::Deps{.serviceBase = server.base()});
        asr->addStatusListener(&listener);
        Neighbours n;
        n.speech = asr.get(); // the decoders write the recording through it
        previous = installNeighbours(n);
    }
    ~Vox1Conversation() override
    {
        installNeighbours(previous);
        asr.reset();
        app.reset();
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            sched.runDue();
        }
    }
    // Plugs the receiver in, starts a recognition and streams `reports` voice reports.
    void speak(SimulatedReceiver &rx, SimHidDevice &mouse, const std::function<QByteArray()> &report, int reports)
    {
        rx.plugIn();
        settle();
        asr->beginAsrIsTransferAudio(false, {});
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.isConnected() && asr->fileHandle(); }, 5000));
        mouse.sendVoiceEvent(true);
        settle();
        for (int i = 0; i < reports; ++i) {
            mouse.send(report());
            settle();
        }
        mouse.sendVoiceEvent(false);
        settle();
        ASSERT_TRUE(server.waitForEnd());
    }
};

const qx::receivers::ReceiverRow &row(int n)
{
    return qx::receivers::receiverTable()[std::size_t(n - 1)];
}

TEST_F(Vox1Conversation, MouseVoiceReachesTheServerIntactAndItsTextTheListener)
{
    SimulatedReceiver rx(bus, row(9), {}); // 0x3151/0x22AB, plan 2: the service gets the ADPCM itself
    SimHidDevice mouse(rx, 2);
    sim::SimVoiceDevice voice(sim::testSignal(100 * 40));
    server.onEnd({LocalSpeechServer::reply("FIN", "你好。"), LocalSpeechServer::reply("LAST", "")});
    speak(
        rx, mouse, [&] { return voice.plan2Report(); }, 40);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener.count("end:") == 1; }, 5000));
    EXPECT_EQ(listener.calls.constLast(), "end:你好。|1");

    EXPECT_TRUE(server.frames().first().start);
    for (const SpeechFrame &f : server.frames())
        EXPECT_EQ(f.value("format") + f.value("rate"), "adpcm");
    const QByteArray adpcm = server.audio();
    ASSERT_EQ(adpcm.size(), 40 * 50);
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

TEST_F(Vox1Conversation, RecordingOfAPlanSevenMouseIsWrittenAtItsRate)
{
    SimulatedReceiver rx(bus, row(28), {}); // 0x248A/0x67AC, plan 7, 8 kHz voice
    SimHidDevice mouse(rx, 7);
    sim::SimVoiceDevice voice(sim::testSignal(114 * 10));
    speak(
        rx, mouse, [&] { return voice.plan7Report(57, false); }, 10);
    QFile wav(QXToolManager::getFilePath("/Test.wav"));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    const QByteArray bytes = wav.readAll();
    ASSERT_GE(bytes.size(), 44);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 24), 8000u);
    EXPECT_EQ(bytes.size(), 44 + 10 * 114 * 2);
}

} // namespace
