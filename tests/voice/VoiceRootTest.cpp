// Voice typing and voice search through the composition root, over the simulated
// Bluetooth LE mouse behind the fake central, on real time: the mouse's ADPCM reaches
// the speech server as it was sent, the typed text is pasted (the mouse types the
// chord in compatible mode, on at every launch), and the search key's text is opened
// as a web search.
#include "root/CompanionApp.h"

#include "FakeBleCentral.h"
#include "FakeDesktop.h"
#include "FakeSecretStore.h"
#include "LocalSpeechServer.h"
#include "SimBleMouse.h"
#include "SimulatedHidBus.h"
#include "TempDataRoot.h"

#include "KeyValueStore.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "commands/QXCommandViewModel.h"
#include "commands/QXHotWordViewModel.h"
#include "sqlite/WQSSqliteOperation.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

using S = LocalSpeechServer;

class VoiceRoot : public ::testing::Test {
protected:
    TempDataRoot root;
    MemoryKeyValueStore store;
    FakeSecretStore secrets;
    SimulatedHidBus bus;
    FakeBleAdapter adapter;
    LocalSpeechServer server;
    FakeDesktop desktop;
    CompanionApp app{{.store = &store,
                      .secrets = &secrets,
                      .hid = &bus,
                      .bleCentral = adapter.factory(),
                      .desktopServices = false,
                      .speechBase = server.base()}};
    sim::SimBleMouse mouse{adapter};

    void SetUp() override
    {
        adapter.addPeripheral(sim::SimBleMouse::peripheral());
        app.configData();
        ASSERT_TRUE(adapter.advertise(sim::SimBleMouse::kId));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app.state().mouseInfoItem().sn().isEmpty(); }, 5000));
        QTest::qWait(200);
    }
    int sent(const char *command)
    {
        return int(std::count_if(mouse.commands.begin(), mouse.commands.end(),
                                 [&](const sim::DecodedFrame &f) { return f.command == QLatin1String(command); }));
    }
    // Holds a voice key while the mouse streams for `ms`, then lets it go.
    void hold(uint8_t down, uint8_t up, int ms = 500)
    {
        mouse.pressKey(down);
        QTest::qWait(ms);
        ASSERT_TRUE(mouse.streaming());
        mouse.pressKey(up);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !server.frames.isEmpty() && server.frames.last().end; }, 5000));
    }
};

TEST_F(VoiceRoot, MouseSpeechIsSentAsItCameAndItsTextPasted)
{
    server.onEnd({S::reply("FIN", "Typed by voice."), S::reply("LAST", "")});
    hold(0x9a, 0x9a); // the pointer's voice key toggles typing
    ASSERT_TRUE(QTest::qWaitFor([&] { return sent("sendKeyCommandDataKeyCode1") == 1; }, 5000));
    EXPECT_EQ(desktop.clipboard.text(), "Typed by voice.");
    EXPECT_EQ(server.audio(), mouse.voiceBytes());
    QTest::qWait(300);
    EXPECT_EQ(sent("sendKeyCommandDataKeyCode1"), 1) << "pasted once";
}

TEST_F(VoiceRoot, SearchKeyTextIsOpenedAsAWebSearch)
{
    server.onEnd({S::reply("FIN", "quorvex mouse!"), S::reply("LAST", "")});
    hold(0x9c, 0x9d, 1700); // a search press shorter than 1.5 s is abandoned
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desktop.workspace.opened.empty(); }, 5000));
    const QString url = desktop.workspace.opened.front().toString();
    EXPECT_TRUE(url.contains(QLatin1String("quorvex"))) << url.toStdString();
    EXPECT_FALSE(url.contains(u'!')) << url.toStdString();
    EXPECT_EQ(desktop.workspace.opened.size(), 1u);
    EXPECT_EQ(sent("sendKeyCommandDataKeyCode1"), 0) << "nothing typed";
}

class Cmd1VoiceRoot : public VoiceRoot {};

// Hot words stored in the command table, as the command model stores a server list, go
// with every frame of the next recognition.
TEST_F(Cmd1VoiceRoot, StoredHotWordsGoWithTheNextRecognition)
{
    WQSSqliteOperation &table = WQSSqliteOperation::shareOperation();
    ASSERT_TRUE(table.createTableWithtableName<QXVoiceCommandItem>(QXCommandViewModel::kCustomTable));
    for (const char *words : {R"(["热词"])", R"(["a","b c"])"})
        table.insertDataBaseWithtableName(QXCommandViewModel::kCustomTable,
                                          QXVoiceCommandItem{"phrase", words, {}, {}, {}}, nullptr);
    QXHotWordViewModel::sharedInstance().clearHotWords();
    server.onEnd({S::reply("FIN", "x"), S::reply("LAST", "")});
    hold(0x9a, 0x9a);
    ASSERT_GE(server.frames.size(), 2);
    for (const SpeechFrame &frame : server.frames)
        EXPECT_EQ(frame.value("phrases"), R"(["热词"],["a","b c"])");
}

} // namespace
