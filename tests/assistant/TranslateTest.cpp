// The translation manager and window: what the window is handed, which codes each
// request takes, the window's frame, its language pop-up, copy and dismissal; and a
// selection through the real translator and HTTP client to a local server.
#include "TranslateWorld.h"

#include "HRVLocalizedString.h"
#include "MultipartForm.h"
#include "NotificationNames.h"
#include "controls/QXPopUpButton.h"

#include <QAction>
#include <QScrollArea>

namespace {
const QString kHyper = QString::fromLatin1(qx::notify::kUpdateHyperTranslateIndexNotification);
const QString kSnip = QString::fromLatin1(qx::notify::kUpdateSnipTranslateIndexNotification);
} // namespace

using Ast1Translate = TranslateWorld;
using Ast1RealStack = TranslateWorld;

TEST_F(Ast1Translate, SelectionShowsTheSourceThenItsTranslation)
{
    // Off: nothing changes, not even the mode flag.
    user->setWordInputSwitch(false);
    user->setIsScreenshotsTranslate(true);
    select("Hello world");
    EXPECT_TRUE(user->isScreenshotsTranslate());
    EXPECT_FALSE(window.isBuilt());

    // Only blanks and line breaks: selection mode, but no window and no request.
    user->setWordInputSwitch(true);
    select(" \t\n \r\n");
    EXPECT_FALSE(user->isScreenshotsTranslate());
    EXPECT_TRUE(recorder.shown.isEmpty() && scripted.calls.empty());

    // After a recognise-only capture a selection still gets its translation card.
    popups.setIsScreenshotsOCR(true);
    languages().setFromWordInputTag(0);
    languages().setWordInputTag(99); // outside the list
    select("Hello world");
    EXPECT_FALSE(popups.isScreenshotsOCR());
    ASSERT_EQ(scripted.calls.size(), 1u);
    EXPECT_EQ(scripted.calls[0].from, "auto");
    EXPECT_EQ(scripted.calls[0].to, "ZH_CN");
    scripted.calls[0].callback(true, "你好，世界");
    EXPECT_EQ(recorder.shown, (QStringList{"Hello world|", "Hello world|你好，世界"}));
    EXPECT_EQ(manager.yiText(), "你好，世界");
    EXPECT_FALSE(content().isRecognitionOnly());
    EXPECT_TRUE(content().languageBtn()->isEnabled());

    // A new target chosen for a screenshot text: the service detects the source.
    user->setIsScreenshotsTranslate(true);
    languages().setScreenshotsTag(1);
    manager.translateText("Bonjour");
    EXPECT_EQ(scripted.calls.back().from, "");
    EXPECT_EQ(scripted.calls.back().to, "EN_US");

    manager.snipTranslate();
    user->setScreenshotsTranslateSwitch(false);
    manager.snipTranslate();
    EXPECT_EQ(snips, 1);
}

TEST_F(Ast1Translate, AnswersShowWithTheirOwnSourceAndTheLastToArriveStays)
{
    select("A");
    scripted.calls[0].callback(true, "tA");
    select("B"); // a new source: A's translation does not stay under it
    EXPECT_EQ(cards(), "B|");
    select("C");
    scripted.calls[2].callback(true, "tC");
    scripted.calls[1].callback(true, "tB");
    EXPECT_EQ(cards(), "B|tB");
    EXPECT_EQ(manager.yiText(), "tB");
}

TEST_F(Ast1Translate, RecognitionOverTheNetwork)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    languages().setScreenshotsTag(3);
    const QByteArray words = R"({"data":{"words":[{"text":"Hello"},{"text":"World"}]}})";
    const struct {
        const char *what;
        HttpScriptedReply reply;
        bool ocrOnly;
        QStringList shown;
        size_t translations;
    } rows[] = {
        {"recognise and translate", HttpScriptedReply::json(words), false, {"Hello\nWorld|"}, 1},
        {"recognise only", HttpScriptedReply::json(words), true, {"Hello\nWorld|"}, 0},
        {"no words", HttpScriptedReply::json(R"({"data":{"words":[]}})"), false, {"|"}, 1},
        {"data not an object", HttpScriptedReply::json(R"({"data":[1]})"), false, {}, 0},
        {"words not an array", HttpScriptedReply::json(R"({"data":{"words":7}})"), false, {"|"}, 1},
        {"a text not a string",
         HttpScriptedReply::json(R"({"data":{"words":[{"text":3},{"text":"b"}]}})"),
         false,
         {"b|"},
         1},
        {"server error", HttpScriptedReply::html(500, "down"), false, {}, 0},
    };
    for (const auto &row : rows) {
        recorder.shown.clear();
        scripted.calls.clear();
        popups.setIsScreenshotsOCR(row.ocrOnly);
        net.server.enqueue(row.reply);
        const int before = net.server.requestCount();
        manager.translateImage(image);
        settleRecognition(before);
        EXPECT_EQ(recorder.shown, row.shown) << row.what;
        ASSERT_EQ(scripted.calls.size(), row.translations) << row.what;
        if (row.translations) {
            EXPECT_EQ(scripted.calls[0].from + ">" + scripted.calls[0].to, "EN_US>FR_FR") << row.what;
        }
    }

    // The upload is the image as PNG in the form's "file" part.
    const HttpRequestRecord &upload = net.server.requests().first();
    const auto parts = parseMultipartForm(upload.header("Content-Type"), upload.body);
    ASSERT_TRUE(parts);
    QByteArray png;
    for (const MultipartPart &part : *parts)
        if (part.dispositionParameter("name") == "file")
            png = part.body;
    EXPECT_EQ(QImage::fromData(png, "PNG").size(), image.size());

    const int sent = net.server.requestCount();
    manager.translateImage(QImage());
    QCoreApplication::processEvents();
    EXPECT_EQ(net.server.requestCount(), sent);
}

TEST_F(Ast1Translate, FrameGrowsUpwardWithTheCards)
{
    const QString f30(30, 'f'), y60(60, 'y'), big(100 * 1024, 'x');
    const struct {
        const char *what;
        QString fan, yi;
        bool ocrOnly;
        QRect frame;
    } rows[] = {
        {"source only", f30, "", false, {1580, 850, 320, 130}},
        {"source and translation", f30, y60, false, {1580, 740, 320, 240}},
        {"100 KB each: both capped", big, big, false, {1580, 430, 320, 550}},
        {"recognition only", f30, y60, true, {1580, 850, 320, 130}},
        {"nothing recognised", "", "", true, {1580, 880, 320, 100}},
    };
    for (const auto &row : rows) {
        popups.setIsScreenshotsOCR(row.ocrOnly);
        popups.showTranslateWindowFanText(row.fan, row.yi);
        EXPECT_EQ(window.window().geometry(), row.frame) << row.what;
        EXPECT_EQ(content().languageBtn()->isEnabled(), !row.ocrOnly) << row.what;
        window.dismissWindow();
    }
    EXPECT_EQ(content().languageBtn()->stringValue(), hrvAppLocalizedString("识别结果"));
    popups.setIsScreenshotsOCR(false);
    popups.showTranslateWindowFanText(big, big);
    for (QXTranslateView *card : {content().fanWordView(), content().yiWordView()}) {
        EXPECT_EQ(card->height(), 250);
        EXPECT_GT(card->scrollView()->widget()->height(), card->scrollView()->viewport()->height());
    }
}

TEST_F(Ast1Translate, LanguageChoiceCopyAndDismissal)
{
    languages().setWordInputTag(2);
    select("Hello");
    QXPopUpButton &button = *content().languageBtn();
    EXPECT_EQ(button.itemsArr(), languages().readWordInputNameList());
    EXPECT_EQ(button.selectIndex(), 2);
    scripted.calls[0].callback(true, "こんにちは");

    // Each choice (the same one too) stores, tells the settings rows, clears the old
    // translation and translates the source again.
    for (int round = 0; round < 2; ++round) {
        button.allMenuItem()[3]->trigger();
        EXPECT_EQ(languages().wordInputTag(), 3u);
        EXPECT_EQ(notes.count(kHyper), round + 1);
        EXPECT_EQ(cards(), "Hello|");
        EXPECT_EQ(scripted.calls.back().text + ">" + scripted.calls.back().to, "Hello>FR_FR");
    }
    user->setIsScreenshotsTranslate(true);
    popups.showTranslateWindowFanText("shot", "");
    button.allMenuItem()[1]->trigger();
    EXPECT_EQ(languages().screenshotsTag(), 1u);
    EXPECT_EQ(notes.count(kSnip), 1);
    EXPECT_EQ(notes.count(kHyper), 2);

    popups.showTranslateWindowFanText("abc", "");
    content().fanWordView()->fuzhiBtnClicked();
    EXPECT_EQ(clipboard.text(), "abc");
    content().yiWordView()->fuzhiBtnClicked();
    EXPECT_EQ(clipboard.text(), "");
    ASSERT_EQ(tips.tips.size(), 1u);
    EXPECT_EQ(tips.tips[0].second, "success_icon");

    EXPECT_TRUE(window.window().isVisible());
    window.dismissWindow();
    EXPECT_FALSE(window.isShow() || window.window().isVisible());
    EXPECT_EQ(cards(), "|");
}

TEST_F(Ast1RealStack, SelectionIsSentEncodedAndItsTranslationShows)
{
    translator = &real;
    select("A&B c");
    settle();
    ASSERT_EQ(net.server.requestCount(), 1);
    const HttpRequestRecord &sent = net.server.lastRequest();
    EXPECT_EQ(sent.path, "/api/translate");
    EXPECT_TRUE(sent.query.contains("text=A%26B%20c")) << sent.query.constData();
    EXPECT_EQ(cards(), "A&B c|<A&B c>");

    // Line breaks are taken out; every reserved character arrives as it was.
    const std::pair<QString, QString> rows[] = {
        {"你好\n世界", "你好世界"},
        {"Hello\nWorld", "HelloWorld"},
        {"a=b+c#d%e&f", "a=b+c#d%e&f"},
    };
    for (const auto &[selected, arrived] : rows) {
        select(selected);
        settle();
        EXPECT_EQ(net.server.lastRequest().queryValue("text"), arrived);
        EXPECT_EQ(cards(), selected + "|<" + arrived + ">");
    }
    EXPECT_FALSE(net.server.lastRequest().query.contains('#'));

    // A bad answer adds nothing under the source.
    const HttpScriptedReply bad[] = {HttpScriptedReply::json(R"({"rc":0,"data":{"text":"x"}})"),
                                     HttpScriptedReply::html(500, "down")};
    for (const HttpScriptedReply &reply : bad) {
        net.server.enqueue(reply);
        select("x");
        settle();
        EXPECT_EQ(cards(), "x|");
    }
}
