// Voice typing and voice search through the composition root, over the simulated
// Bluetooth LE mouse behind the fake central, on real time: the mouse's ADPCM reaches
// the speech server as it was sent, the typed text is pasted (the mouse types the
// chord in compatible mode, on at every launch), and the search key's text is opened
// as a web search.
#include "root/CompanionApp.h"

#include "FakeAudio.h"
#include "FakeBleCentral.h"
#include "FakeDesktop.h"
#include "FakeSecretStore.h"
#include "LocalHttpServer.h"
#include "LocalSpeechServer.h"
#include "SimBleMouse.h"
#include "SimulatedHidBus.h"
#include "TempDataRoot.h"

#include "AddHotWordView.h"
#include "KeyValueStore.h"
#include "PageContext.h"
#include "QXHttpRequestManager.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "commands/QXCommandViewModel.h"
#include "commands/QXHotWordViewModel.h"
#include "controls/QXTextField.h"
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
    FakeSpeechSynth synth;
    FakeUrlAudioPlayer player;
    CompanionApp app{{.store = &store,
                      .secrets = &secrets,
                      .hid = &bus,
                      .bleCentral = adapter.factory(),
                      .desktopServices = false,
                      .speechBase = server.base(),
                      .speechSynth = &synth,
                      .urlPlayer = &player}};
    sim::SimBleMouse mouse{adapter};

    void SetUp() override
    {
        adapter.addPeripheral(sim::SimBleMouse::peripheral());
        app.configData();
        ASSERT_TRUE(adapter.advertise(sim::SimBleMouse::kId));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app.state().mouseInfoItem().sn().isEmpty(); }, 20000));
        QTest::qWait(200);
    }
    int sent(const char *command)
    {
        return int(std::count_if(mouse.commands.begin(), mouse.commands.end(),
                                 [&](const sim::DecodedFrame &f) { return f.command == QLatin1String(command); }));
    }
    // Holds a voice key until the recording runs (a key let go before that is a press
    // abandoned, which a loaded machine can make of a fixed wait), `ms` more while the
    // mouse streams, then lets it go.
    void hold(uint8_t down, uint8_t up, int ms = 500)
    {
        mouse.pressKey(down);
        ASSERT_TRUE(QTest::qWaitFor([&] { return mouse.streaming() && !server.frames.isEmpty(); }, 10000));
        QTest::qWait(ms);
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

// A semantic answer with the final result, while the semantic switch is on: the
// sentence is spoken, and its link plays when the sentence has ended.
class Ast5VoiceRoot : public VoiceRoot {};

TEST_F(Ast5VoiceRoot, SemanticAnswerIsSpokenThenItsLinkPlays)
{
    app.state().setSemanticSwitch(true);
    server.onEnd({S::reply("FIN", "讲个故事"),
                  S::text(R"({"status":200,"data":{"type":"LAST","text":"","dm":{"nlg":"好的","task":"故事",)"
                          R"("widget":{"content":[{"linkUrl":"http://127.0.0.1:9/story.mp3"}]}}}})")});
    hold(0x9a, 0x9a);
    ASSERT_TRUE(QTest::qWaitFor([&] { return synth.said.contains(QStringLiteral("好的")); }, 5000));
    EXPECT_FALSE(player.calls.contains(QStringLiteral("play:http://127.0.0.1:9/story.mp3")));
    synth.report(platform::ISpeechSynth::Event::Finished);
    EXPECT_EQ(player.calls.filter(QStringLiteral("play:")), QStringList{"play:http://127.0.0.1:9/story.mp3"});
}

class Cmd5VoiceRoot : public VoiceRoot {};

// A hot word created in the hot-word card, over the application's own services and a
// local maker API, goes with every frame of the next recognition.
TEST_F(Cmd5VoiceRoot, AHotWordCreatedOnThePageGoesWithTheNextRecognition)
{
    ASSERT_TRUE(WQSSqliteOperation::shareOperation().createTableWithtableName<QXVoiceCommandItem>(
        QXCommandViewModel::kCustomTable)); // as a receiver's arrival does
    LocalHttpServer api;
    api.setHandler([](const HttpRequestRecord &r) {
        const QByteArray list =
            r.path == "/api/saveDeviceCmd" ? R"([{"customCmd":"[\"新词\"]","cmdType":"phrase"}])" : "[]";
        return HttpScriptedReply::json(R"({"rc":0,"data":)" + list + "}");
    });
    qputenv("QX_API_BASE", api.baseUrl().toLatin1() + "/api");
    QXHttpRequestManager::sharedInstance().setReachabilityCheck([] { return false; });
    const PageContext context = app.pageContext();
    AddHotWordView card({context.commands, context.errorAlert, context.notifications});
    AddHotWordCellView *row = card.cell(0);
    row->inputBeginBlock();
    row->contentField()->setText(QStringLiteral("新词"));
    card.createBtnClicked();
    const bool stored =
        QTest::qWaitFor([&] { return !api.requests().isEmpty() && card.dataArr().at(0).isEmpty(); }, 5000);
    qunsetenv("QX_API_BASE");
    ASSERT_TRUE(stored) << "the create was answered";

    server.onEnd({S::reply("FIN", "x"), S::reply("LAST", "")});
    hold(0x9a, 0x9a);
    ASSERT_GE(server.frames.size(), 2);
    for (const SpeechFrame &frame : server.frames)
        EXPECT_EQ(frame.value("phrases"), R"(["新词"])");
}

} // namespace
