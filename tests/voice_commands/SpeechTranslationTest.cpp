// Translation of recognised speech: clause by clause while the key is held, whole
// when the last result comes, and the plain translation of other windows.
#include "VoiceCommandsFixture.h"

namespace {

void report(QXSpeechTranslation &translation, const QString &display, int status)
{
    translation.speechManagerRecognitionStatusChangeRecognizingAsr(display, display, status);
}

} // namespace

TEST(Vox5Clauses, SplitAfterEveryClauseEnd)
{
    const std::pair<QString, QStringList> rows[] = {
        {"今天天气很好。明天", {"今天天气很好。", "明天"}},
        {"Hello. How are you? Fine", {"Hello.", " How are you?", " Fine"}},
        {"。。", {"。", "。"}},
        {"3.5元", {"3.", "5元"}},
        {"好！真的？", {"好！", "真的？"}},
        {"", {}},
    };
    for (const auto &[text, clauses] : rows)
        EXPECT_EQ(qxTranslationClauses(text), clauses) << text.toStdString();
    EXPECT_EQ(qxTranslationSourceCode("ZH_TW"), "ZH_CN");
    EXPECT_EQ(qxTranslationSourceCode("EN_US"), "EN_US");
}

TEST_F(Vox5Test, InterimClausesGrowTheLineAndTheLastResultIsPasted)
{
    // The answer for "今天" comes once the text has grown to two clauses: it belongs to
    // a clause that no longer exists and must not be appended as the second one.
    report(translation, "今天", 0);
    report(translation, "今天天气很好。明天", 0);
    settle();
    EXPECT_EQ(shown, (QStringList{"T[今天天气很好。]", "T[今天天气很好。]T[明天]"}));
    EXPECT_EQ(server.requestCount(), 3);
    report(translation, "今天天气很好。明天下雨", 0);
    settle();
    EXPECT_EQ(shown.last(), "T[今天天气很好。]T[明天下雨]");

    pressType = 38;
    hadStart = false;
    report(translation, "今天天气很好。明天下雨。", 2);
    settle();
    EXPECT_EQ(server.lastRequest().queryValue("text"), "今天天气很好。明天下雨。");
    EXPECT_EQ(pasted, QStringList{"T[今天天气很好。明天下雨。]"});
    EXPECT_TRUE(translation.phraseArray().isEmpty());
}

TEST_F(Vox5Test, TranslationOfBadAnswersAndOtherKeys)
{
    pressType = 33;
    report(translation, "你好", 0);
    settle();
    EXPECT_EQ(server.requestCount(), 0) << "the typing key is not translated";

    pressType = 38;
    hadStart = false;
    const std::pair<const char *, HttpScriptedReply> rows[] = {
        {"another text", jsonReply(R"({"rc":0,"data":{"text":"今天","transText":"Today"}})")},
        {"no translation", jsonReply(R"({"rc":0,"data":{"text":"今天天气"}})")},
        {"HTTP error", HttpScriptedReply::html(500, "down")},
    };
    for (const auto &[what, reply] : rows) {
        replies["/api/translate"] = reply;
        report(translation, "今天天气", 2);
        settle();
        EXPECT_TRUE(shown.isEmpty() && pasted.isEmpty()) << what;
    }

    // The plain translation: line breaks out, Chinese sent as ZH_CN, exactly one answer.
    QStringList answers;
    const auto translate = [&](const QString &text, const QString &from) {
        translation.requestTranslateText(text, from, "EN_US",
                                         [&](bool ok, const QString &t) { answers << (ok ? "yes " : "no ") + t; });
        settle();
    };
    translate("a\r\nb", "ZH_TW"); // still the HTTP error
    replies["/api/translate"] = jsonReply(R"({"rc":0,"data":{"text":"ab"}})");
    translate("a\r\nb", "ZH_TW");
    EXPECT_EQ(server.lastRequest().queryValue("text"), "ab");
    EXPECT_EQ(server.lastRequest().queryValue("from"), "ZH_CN");
    replies.erase("/api/translate");
    translate("x", "EN_US");
    const int sent = server.requestCount();
    translate("\r\n", "EN_US");
    EXPECT_EQ(server.requestCount(), sent);
    EXPECT_EQ(answers, (QStringList{"no ", "yes ", "yes T[x]", "no "}));
}
