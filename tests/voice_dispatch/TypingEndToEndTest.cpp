// Voice typing through the composition root: the voice key reaches the dispatcher
// through the device layers' relay, the mouse's voice goes to the local speech server
// through the real speech service, and the last result is pasted and posted.
#include "CompanionApp.h"

#include "FakeBleCentral.h"
#include "FakeDesktop.h"
#include "FakeSecretStore.h"
#include "LocalHttpServer.h"
#include "LocalSpeechServer.h"
#include "ManualScheduler.h"
#include "SimHidDevice.h"
#include "SimVoiceDevice.h"
#include "SimulatedHidBus.h"
#include "TempDataRoot.h"

#include "KeyValueStore.h"
#include "QXUserInfoData.h"
#include "ReceiverTable.h"
#include "platform/KeyCodeTable.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(Vox2EndToEnd, SpokenTextIsPastedAndPostedByteForByte)
{
    ManualScheduler sched;
    TempDataRoot root;
    MemoryKeyValueStore store;
    FakeSecretStore secrets;
    SimulatedHidBus bus;
    FakeBleAdapter adapter;
    FakeDesktop desktop;
    LocalSpeechServer server;
    LocalHttpServer listener;
    qputenv("QX_LOCAL_POST_PORT", QByteArray::number(listener.port()));
    CompanionApp app{{&store, &secrets, &bus, adapter.factory(), false, server.base()}};
    app.configData();
    const auto settle = [&sched] {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents(), sched.runDue();
    };

    SimulatedReceiver rx(bus, qx::receivers::receiverTable()[8], {});
    SimHidDevice mouse(rx, 2);
    rx.plugIn();
    settle();
    app.state().setMouseIsConnect(true);
    app.state().setSno(QStringLiteral("SN001"));
    app.state().setCompatibleModeSwitch(false); // on at launch: the chord is then typed by the mouse
    server.onEnd({LocalSpeechServer::reply("LAST", QStringLiteral("Say \"hi\""))});

    sim::SimVoiceDevice voice(sim::testSignal(100 * 10));
    mouse.sendVoiceEvent(true);
    settle();
    app.seams().voice->hidCallbackType(33);
    settle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.isConnected(); }, 5000));
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(rx.sendInput(SimulatedReceiver::Role::Command, voice.plan2Report()));
    mouse.sendVoiceEvent(false);
    settle();
    app.seams().voice->hidCallbackType(34);
    settle();

    ASSERT_TRUE(QTest::qWaitFor([&] { return !desktop.keyPoster.strokes.empty(); }, 5000));
    EXPECT_FALSE(server.audio().isEmpty());
    EXPECT_TRUE(server.frames.last().end);
    EXPECT_EQ(desktop.clipboard.text(), "Say \"hi\"");
    EXPECT_EQ(desktop.keyPoster.strokes,
              std::vector<PostedStroke>({{platform::keys::kMacKeyV, platform::keys::kFlagCommand}}));
    ASSERT_TRUE(listener.waitForRequests(1));
    EXPECT_EQ(listener.lastRequest().body,
              QByteArray(
                  "{\r\n    \"cmd\":\"voicetext\",\r\n    \"data\":\"Say \\\"hi\\\"\",\r\n    \"snr\":\"SN001\"\r\n}"));
    EXPECT_EQ(app.keyState().pressType(), 0);
    qunsetenv("QX_LOCAL_POST_PORT");
}

} // namespace
