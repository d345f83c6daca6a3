// Where a final text goes: the paste (or the AI chat), the user's clipboard coming back,
// and the local text post, its exact body and that a silent listener blocks nothing.
#include "DispatchWorld.h"

#include "commands/QXCommandMatching.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(Vox2Delivery, PasteGoesWhereTheModeSaysAndTheClipboardComesBack)
{
    struct Row {
        const char *what;
        bool compatible, aiShowing;
        const char *product;
        QStringList effects;
    };
    const Row rows[] = {
        {"local", false, false, "41", {"key(9,100000)", "clipboard:你好。"}},
        {"compatible", true, false, "41", {"dev:sendKeyCommandDataKeyCode1(1,25)", "clipboard:你好。"}},
        {"AI window", false, true, "41", {"requestChatGPT(你好。)", "clipboard:你好。"}},
        {"AI window, product 285", false, true, "285", {"key(9,100000)", "clipboard:你好。"}},
    };
    for (const Row &r : rows) {
        DispatchWorld w;
        w.state->setCompatibleModeSwitch(r.compatible);
        w.state->setProductCode(QString::fromLatin1(r.product));
        w.state->setKeyAction(18);
        w.aiShowing = r.aiShowing;
        w.clipboard.setText("the user's");
        w.shownClipboard = "the user's";
        w.delivery.copyAndPasteResult("你好。");
        EXPECT_EQ(w.effects(), r.effects) << r.what;
        EXPECT_TRUE(w.listener.waitForRequests(1)) << r.what;
        EXPECT_EQ(w.clipboard.readByAnotherApplication(), "你好。") << r.what;
        w.at(QXResultDelivery::kClipboardRestoreMs);
        EXPECT_EQ(w.clipboard.text(), "the user's") << r.what;
    }

    DispatchWorld w;
    w.clipboard.setText("the user's");
    // A second paste within the second keeps what the user had, not the first text.
    w.delivery.copyAndPasteResult("one");
    w.at(500);
    w.delivery.copyAndPasteResult("two");
    w.at(1400);
    EXPECT_EQ(w.clipboard.text(), "two");
    w.at(1500);
    EXPECT_EQ(w.clipboard.text(), "the user's");
    // Copied by the user meanwhile: that stays.
    w.delivery.copyAndPasteResult("three");
    w.clipboard.setText("newer");
    w.at(3000);
    EXPECT_EQ(w.clipboard.text(), "newer");
    // ... and is what a paste made before the restore was due brings back.
    w.delivery.copyAndPasteResult("five");
    w.clipboard.setText("newest");
    w.delivery.copyAndPasteResult("six");
    w.at(5000);
    EXPECT_EQ(w.clipboard.text(), "newest");

    // A clipboard that refuses the text: nothing pasted, the old contents back, still posted.
    w.clipboard.refuseWrites = true;
    w.effects();
    w.delivery.copyAndPasteResult("four");
    EXPECT_EQ(w.effects(), QStringList());
    EXPECT_EQ(w.clipboard.text(), "newest");
    EXPECT_TRUE(w.listener.waitForRequests(6));
    w.delivery.copyAndPasteResult("");
    EXPECT_EQ(w.effects(), QStringList());
}

TEST(Vox2LocalPost, BodyIsTheTemplateWithBothValuesEscaped)
{
    EXPECT_EQ(qxLocalPostBody("Say \"hi\"", "SN001"),
              QByteArray(
                  "{\r\n    \"cmd\":\"voicetext\",\r\n    \"data\":\"Say \\\"hi\\\"\",\r\n    \"snr\":\"SN001\"\r\n}"));
    const QByteArray breaks = qxLocalPostBody("第一句。\n第二句。", QString());
    EXPECT_TRUE(breaks.startsWith("{\r\n    \"cmd\":\"voicetext\",\r\n    \"data\":\""));
    EXPECT_TRUE(breaks.endsWith("\",\r\n    \"snr\":\"\"\r\n}"));
    EXPECT_TRUE(breaks.contains("第一句"));
    for (const QString &text :
         {QStringLiteral("第一句。\n第二句。"), QStringLiteral("a\\b\t\x01\"😀"), QString(100 * 1024, QChar(u'é'))}) {
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(qxLocalPostBody(text, "S\"N"), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << text.left(20).toStdString();
        EXPECT_EQ(o, QJsonObject({{"cmd", "voicetext"}, {"data", text}, {"snr", "S\"N"}}));
    }
}

// A listener that takes the request and never answers: two pastes 50 ms apart both
// press their keys at once, and the event loop keeps running meanwhile.
TEST(Vox2LocalPost, SilentListenerBlocksNothing)
{
    DispatchWorld w;
    w.listener.enqueue(HttpScriptedReply::neverAnswer());
    w.listener.enqueue(HttpScriptedReply::neverAnswer());
    QElapsedTimer clock;
    clock.start();
    w.delivery.copyAndPasteResult("one");
    EXPECT_EQ(w.poster.strokes.size(), 1u);
    QTest::qWait(50);
    w.delivery.copyAndPasteResult("two");
    EXPECT_EQ(w.poster.strokes.size(), 2u);
    EXPECT_LT(clock.elapsed(), 3000); // a paste that waited would take the poster's 10 s
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    ASSERT_TRUE(w.listener.waitForRequests(2));
    EXPECT_TRUE(ran);
    EXPECT_LT(clock.elapsed(), 5000);
    const HttpRequestRecord &r = w.listener.requests().first();
    EXPECT_EQ(r.method + " " + r.target, "POST /api");
    EXPECT_EQ(r.header("Content-Type"), "application/json");
    EXPECT_EQ(r.body, qxLocalPostBody("one", "SN001"));
    EXPECT_EQ(QXLocalTextPoster::kTimeoutMs, 10000);
}

// A command matches when the trimmed text equals its word ignoring case or contains it
// as written; a command without a word matches nothing (every text contains "").
TEST(Vox2Commands, MatchRules)
{
    const auto item = [](const char *custom, const char *common) {
        auto c = std::make_shared<QXVoiceCommandItem>();
        c->customCmd = QString::fromUtf8(custom);
        c->cmdWord = QString::fromUtf8(common);
        return c;
    };
    const QXVoiceCommandList list{item("", ""), item("Chrome", ""), item("", "天气")};
    const std::pair<const char *, int> rows[] = {{"chrome.", 1},    {"open chrome.", -1}, {"open Chrome now", 1},
                                                 {"今天天气。", 2}, {"。", -1},           {"anything", -1}};
    for (const auto &[text, index] : rows)
        EXPECT_EQ(searchCmdFromCommandArr(list, QString::fromUtf8(text)), index < 0 ? nullptr : list.at(index)) << text;
}

} // namespace
