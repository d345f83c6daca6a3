// The native chat window over a scripted chat client (the flow, the heights, turns
// within one second, failures, copy and close), once against a local chat server, and
// the semantic answers read aloud with their audio link after them.
#include "FakeAudio.h"
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "NetWorld.h"
#include "ScopedUserInfoData.h"

#include "HRVLocalizedString.h"
#include "QXAIContentView.h"
#include "QXAIWindowController.h"
#include "QXSemanticManager.h"
#include "audio/AppAudioTool.h"
#include "audio/TKTTSManager.h"
#include "controls/QXButton.h"
#include "controls/QXTextField.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Turn = std::shared_ptr<QXAIContentModel>;

// Holds every request so the test answers when it likes.
struct ScriptedChat {
    struct Call {
        QXAIWindowController::Conversation conversation;
        Turn turn;
        QXChatCallback callback;
    };
    std::vector<Call> calls;
    QXAIWindowController::ChatClient client()
    {
        return [this](const QXAIWindowController::Conversation &c, Turn t, QXChatCallback cb) {
            calls.push_back({c, std::move(t), std::move(cb)});
        };
    }
    // The client's way: the turn's answer replaced, then the call.
    void piece(const QString &answer, bool finished = false)
    {
        Call &c = calls.back();
        c.turn->answer = answer;
        c.turn->isFinished = finished;
        c.callback(true, c.turn, QXNetError{});
    }
};

class ChatWorld : public ::testing::Test {
protected:
    // Question texts are 20 high, answers 40, whatever their width.
    QXAIWindowController::Deps deps()
    {
        QXAIWindowController::Deps d;
        d.chat = chat.client();
        d.clipboard = &clipboard;
        d.tips = &tips;
        d.shell = &shell;
        d.textHeight = [](const QString &, double, const QFont &font) { return font.pixelSize() == 16 ? 20 : 40; };
        return d;
    }

    ManualScheduler scheduler{QDateTime::fromSecsSinceEpoch(1700000000, QTimeZone::utc())};
    ScriptedChat chat;
    FakeClipboard clipboard;
    CallLog log;
    FakePopupTips tips{log};
    FakeAppShell shell;
    QXAIWindowController window{deps()};
};

using Ast5Chat = ChatWorld;

TEST_F(Ast5Chat, ATurnRunsFromQuestionToFinishedAnswer)
{
    QXTextField &field = window.questionTextField();
    QXButton &send = window.sendBtn();
    field.setText(QStringLiteral("Q1"));
    window.sendBtnClicked();
    ASSERT_EQ(chat.calls.size(), 1u);
    EXPECT_EQ(chat.calls[0].turn->question, "Q1");
    EXPECT_EQ(chat.calls[0].turn->clientId, "clientId1700000000");
    EXPECT_EQ(window.lastAIContentView()->answer(), hrvAppLocalizedString(QStringLiteral("正在生成中。。。")));
    EXPECT_EQ(field.text(), "");
    EXPECT_FALSE(send.isEnabled());

    // Bubble height: answer card 40 + 20; the bubble 40 + (20 + 20 + 20) + 20 + 40.
    EXPECT_EQ(window.lastAIContentView()->answerBackgroundHeight(), 60);
    EXPECT_EQ(window.lastAIContentView()->viewHeight(), 160);

    chat.piece(QStringLiteral("A"));
    chat.piece(QStringLiteral("AB"));
    EXPECT_EQ(window.lastAIContentView()->answer(), "AB");
    EXPECT_FALSE(send.isEnabled());
    EXPECT_EQ(window.contentHeight(), 0);

    // A second question while the first runs: ignored, the field keeps it; Return too.
    field.setText(QStringLiteral("Q2"));
    window.sendBtnClicked();
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(chat.calls.size(), 1u);
    EXPECT_EQ(field.text(), "Q2");

    chat.piece(QStringLiteral("AB"), true);
    EXPECT_TRUE(send.isEnabled());
    EXPECT_FALSE(window.isRequesting());
    EXPECT_EQ(window.contentHeight(), 160);
    // The closing call is repeated by nobody, but a repeat must not move the next bubble.
    chat.calls.back().callback(true, chat.calls.back().turn, QXNetError{});
    EXPECT_EQ(window.contentHeight(), 160);

    // Return sends when idle; the next turn carries the first and goes below it.
    QTest::keyClick(&field, Qt::Key_Return);
    ASSERT_EQ(chat.calls.size(), 2u);
    EXPECT_EQ(chat.calls[1].conversation.size(), 2);
    EXPECT_EQ(window.lastAIContentView()->y(), 160);
    window.requestChatGPT(QString());
    EXPECT_EQ(chat.calls.size(), 2u) << "an empty question sends nothing";
}

// Two questions in one second share a client id: each reply still reaches its own
// bubble, and each finished turn adds its height once.
TEST_F(Ast5Chat, TurnsOfTheSameSecondKeepTheirOwnBubbles)
{
    window.requestChatGPT(QStringLiteral("one"));
    chat.piece(QStringLiteral("first"), true);
    QXAIContentView *first = window.lastAIContentView();
    const ScriptedChat::Call firstCall = chat.calls.back();
    window.requestChatGPT(QStringLiteral("two"));
    ASSERT_EQ(chat.calls.size(), 2u);
    EXPECT_EQ(chat.calls[0].turn->clientId, chat.calls[1].turn->clientId);

    chat.piece(QStringLiteral("se"));
    EXPECT_TRUE(window.isRequesting()) << "the first turn's finished state must not end the second";
    EXPECT_EQ(window.contentHeight(), 160);
    // Late calls of the first turn, a success and a failure, leave the second turn running.
    for (bool success : {true, false}) {
        firstCall.callback(success, firstCall.turn, QXNetError{QXNetError::Kind::Timeout, QString(), 0});
        EXPECT_TRUE(window.isRequesting()) << success;
        EXPECT_FALSE(window.sendBtn().isEnabled()) << success;
        EXPECT_EQ(window.lastAIContentView()->answer(), "se") << success;
        EXPECT_EQ(first->answer(), "first") << success;
    }
    chat.piece(QStringLiteral("second"), true);
    chat.piece(QStringLiteral("second"), true);
    EXPECT_EQ(window.contentHeight(), 320);
}

TEST_F(Ast5Chat, AFailedRequestEndsItsTurnAndRetryWorks)
{
    window.requestChatGPT(QStringLiteral("Q"));
    ScriptedChat::Call &call = chat.calls.back();
    call.callback(false, call.turn, QXNetError{QXNetError::Kind::Timeout, QStringLiteral("timed out"), 0});
    EXPECT_FALSE(window.isRequesting());
    EXPECT_TRUE(window.sendBtn().isEnabled());
    EXPECT_EQ(window.lastAIContentView()->answer(), hrvAppLocalizedString(QStringLiteral("请检查网络")));
    EXPECT_EQ(window.contentHeight(), 160);

    window.lastAIContentView()->retryBtnClicked();
    ASSERT_EQ(chat.calls.size(), 2u);
    EXPECT_EQ(chat.calls.back().turn->question, "Q");

    // Copy writes the answer and says so; closing clears the shell's flag.
    chat.piece(QStringLiteral("copy me"), true);
    window.lastAIContentView()->fuzhiBtnClicked();
    EXPECT_EQ(clipboard.text(), "copy me");
    ASSERT_EQ(tips.tips.size(), 1u);
    EXPECT_EQ(tips.tips[0].second, "success_icon");
    clipboard.refuseWrites = true;
    window.lastAIContentView()->fuzhiBtnClicked();
    EXPECT_EQ(tips.tips.size(), 1u) << "a refused write shows no tip";
    shell.aiWindowShown = true;
    window.window().show();
    window.window().close();
    EXPECT_FALSE(shell.aiWindowShown);
}

// The real client against a local server: the answer's three pieces replace each other
// in the bubble and the last piece's text stays.
class Ast5ChatServer : public ChatWorld, protected NetWorld {
protected:
    ScopedUserInfoData state;
};

TEST_F(Ast5ChatServer, TheBubbleEndsWithTheLastPiecesText)
{
    server.enqueue(HttpScriptedReply::withContentType(
        "text/event-stream", R"({"data":{"text":"Hel"}}=====end====={"data":{"text":"Hello"}}=====end=====)"
                             R"({"data":{"text":"Hello there"}})"));
    QXAIWindowController::Deps d = deps();
    d.chat = [this](const QXAIWindowController::Conversation &c, Turn t, QXChatCallback cb) {
        client().chatGPT(c, std::move(t), std::move(cb));
    };
    QXAIWindowController real(d);
    real.requestChatGPT(QStringLiteral("hi"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return real.lastAIContentView()->answer() == "Hel"; }, 5000));
    scheduler.advance(20);
    EXPECT_EQ(real.lastAIContentView()->answer(), "Hello there");
    EXPECT_FALSE(real.isRequesting());
    EXPECT_EQ(server.lastRequest().target, "/api/chat");
}

// Semantic answers: the sentence spoken, the link played once the sentence ends.
class Ast5Semantic : public ::testing::Test {
protected:
    void answer(const char *json) { semantic.analysisData(QJsonDocument::fromJson(json).object()); }

    FakeSpeechSynth synth;
    FakeUrlAudioPlayer player;
    TKTTSManager tts{synth};
    AppAudioTool audio{player};
    QXSemanticManager semantic{{&tts, &audio}};
};

TEST_F(Ast5Semantic, TheSentenceIsSpokenAndTheLinkPlaysOnceAfterIt)
{
    using E = platform::ISpeechSynth::Event;
    const struct {
        const char *what;
        const char *dm;
        const char *said;
        const char *played; // nullptr: no handler
    } rows[] = {
        {"nothing to say", "{}", "我听不懂你说什么，可以换个说法吗？", nullptr},
        {"a number is its text", R"({"nlg":42,"task":"天气"})", "42", nullptr},
        {"only the first link counts",
         R"({"nlg":"好的","task":"故事","widget":{"content":[{"linkUrl":"http://a.example/b.mp3"},)"
         R"({"linkUrl":"http://c.example"}]}})",
         "好的", "http://a.example/b.mp3"},
        {"a media skill with an empty link only pauses",
         R"({"nlg":"嗯","task":"故事","widget":{"content":[{"linkUrl":""}]}})", "嗯", ""},
        {"another skill with an empty link", R"({"nlg":"嗯","task":"天气","widget":{"content":[{"linkUrl":""}]}})",
         "嗯", nullptr},
        {"a link of another skill", R"({"nlg":"x","task":"天气","widget":{"content":[{"linkUrl":"http://l"}]}})", "x",
         "http://l"},
        {"widget not an object", R"({"nlg":"still","task":"故事","widget":"w"})", "still", nullptr},
        {"content not an array", R"({"nlg":"still","task":"故事","widget":{"content":{"linkUrl":"x"}}})", "still",
         nullptr},
        {"first element not an object", R"({"nlg":"still","task":"故事","widget":{"content":[7,{"linkUrl":"x"}]}})",
         "still", nullptr},
        {"an empty sentence of a skill is handed over",
         R"({"nlg":"","task":"故事","widget":{"content":[{"linkUrl":"http://s"}]}})", "", "http://s"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        synth.said.clear();
        player.calls.clear();
        tts.setCompleteBlock({});
        answer(row.dm);
        ASSERT_EQ(synth.said.size(), 1);
        EXPECT_EQ(synth.said[0], QString::fromUtf8(row.said));
        for (E e : {E::Started, E::Paused, E::Resumed})
            synth.report(e);
        EXPECT_TRUE(player.calls.isEmpty());
        synth.report(E::Finished);
        synth.report(E::Finished);
        if (!row.played) {
            EXPECT_TRUE(player.calls.isEmpty());
            continue;
        }
        QStringList expected{QStringLiteral("pause")};
        if (*row.played)
            expected << QStringLiteral("play:") + QString::fromUtf8(row.played);
        EXPECT_EQ(player.calls, expected) << "played once, after the sentence";
    }
}

} // namespace
