// The AI page's addresses, the scripts handed to it and the messages it posts back.
#include "aiweb/AiMessageHandler.h"
#include "aiweb/AiPageUrlBuilder.h"
#include "aiweb/AiScriptBuilder.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace aiweb;

namespace {

AiPageHosts testHosts()
{
    AiPageHosts h;
    h.signedKeyPage = "https://p1.example";
    h.timePage = "https://p2.example";
    h.trackedHomePage = "https://p3.example";
    h.workspacePage = "https://p4.example";
    h.signedSnPage = "https://p5.example";
    h.makerChatPage = "http://chat.example.com/page";
    h.secondChatHost = "spark.example.net";
    h.trackingToken = "TEST.JWT.TOKEN";
    return h;
}

AiPageInput input(const QString &product, const QString &language = "FR_FR")
{
    AiPageInput in;
    in.productCode = product;
    in.sno = "SN20240001";
    in.timeStamp = "1700000000";
    in.mac = "AA:BB:CC:DD:EE:FF";
    in.uiLanguageCode = language;
    return in;
}

QString page(const AiPageInput &in)
{
    return choosePage(in, testHosts()).text;
}

} // namespace

TEST(Ast3PageUrl, PartnerPagesAreSignedAndLoadedAsFormatted)
{
    const QString data44 =
        "NxlWIh5XOiVQM1YEPkRcKyIYVCkvWzJHahlZBGBWCH5kQBEhH1YzFgRjXxIiAVEqaTB2djJwbDl6bS9waCd9dBI3ETgZ"
        "XzMJTTYGRG9TD35kQQd8QAJmXE04AFE8X2wLByUZBidmeC52HC56dANbOj0eWXETXj8ZUg==";
    const QString data523 =
        "KxBSJApdPTJYPV4GOUNUIj4RUC87UTVQYhdRBmdRAHd4SRUnC1w0AQxsUQVzFVMuLEVyC156E1dyGllyEV91AnI+dW"
        "wQUTwIQi0CWyVYAXB4SAN6VAhhXRctDF0wCw0TDStnZC5vBUNlFihzG0NRJDwRXCRZSjQKWCoXUydDUzI7DFwnAUoYCQxv"
        "VQVlVwF/fE8Ke1ENYV8BYVcB";
    const struct {
        QString product, url;
    } rows[] = {
        {"216",
         "https://p1.example/web/#/?mouseDeviceId=SN20240001&sign=07a75b26089b6742f9e8e2736f4d6d63&time=1700000000"},
        {" 216x",
         "https://p1.example/web/#/?mouseDeviceId=SN20240001&sign=07a75b26089b6742f9e8e2736f4d6d63&time=1700000000"},
        {"209", "https://p5.example/web/#/?sn=SN20240001&sign=19a55a5c54af21d7180dead1f0799c9e&timestamp=1700000000"},
        {"285", "https://p5.example/web/#/?sn=SN20240001&sign=19a55a5c54af21d7180dead1f0799c9e&timestamp=1700000000"},
        {"166", "https://p2.example/?time=1700000000"},
        {"217", "https://p2.example/?time=1700000000"},
        {"266", "https://p4.example/workspace?sno=SN20240001&time=1700000000"},
        {"44", "https://p3.example/#/home?key=AI&data=" + data44 + "&cc=317844a30cc7fc7151de04a0fdba486b"},
        {"523", "https://p3.example/#/home?key=QX&data=" + data523 + "&cc=2ba029a45f21f0ba15ad8ebc2f6b2343"},
    };
    for (const auto &r : rows) {
        const AiPage p = choosePage(input(r.product), testHosts());
        EXPECT_EQ(p.kind, AiPage::Kind::Partner) << r.product.toStdString();
        EXPECT_EQ(p.text, r.url) << r.product.toStdString();
    }
    // The Base64 data keeps "+/=" inside the fragment.
    EXPECT_TRUE(choosePage(input("44"), testHosts()).url().toString().contains(data44));
}

TEST(Ast3PageUrl, ScrambleKeepsNulUnitsAndWrapsTheKey)
{
    EXPECT_EQ(scrambleQuery("Tq", "Tq7Lp2Vz9Wk4Rb8N").data, "AAA=");
    EXPECT_EQ(scrambleQuery("Tq", "Tq7Lp2Vz9Wk4Rb8N").cc, "f621e2a59a28a6655031595825ef5a98");
    EXPECT_EQ(scrambleQuery("abc", "Tq7Lp2Vz9Wk4Rb8N").data, "NRNU");
    EXPECT_EQ(scrambleQuery("abc", "Hx3Jd8Qm1Yc6Ue0G").cc, "b1069014bbd618f3cb5e34b7cd4aa4e0");
    const QByteArray bytes =
        QByteArray::fromBase64(scrambleQuery(QString(17, 'A'), "Tq7Lp2Vz9Wk4Rb8N").data.toLatin1());
    ASSERT_EQ(bytes.size(), 17);
    EXPECT_EQ(bytes.front(), 0x15);
    EXPECT_EQ(bytes.back(), 0x15);
}

TEST(Ast3PageUrl, MakersPageByLanguageConfigAndSecondService)
{
    AiPageInput zh = input("100", "ZH_CN");
    zh.chatGPTURL = "https://ai.example.com/chat";
    EXPECT_EQ(page(zh),
              "https://ai.example.com/chat?language=ZH_CN&xfText=%E7%94%B1%E8%AE%AF%E9%A3%9E%E6%98%9F%E7%81%AB%E8%"
              "AE%A4%E7%9F%A5%E5%A4%A7%E6%A8%A1%E5%9E%8B%E6%8A%80%E6%9C%AF%E6%94%AF%E6%8C%81&sno=SN20240001&"
              "config=config_Zandor&gpts=1,2,3,4,5,6,7,8&ua=IOS");
    AiPageInput fr = zh;
    fr.uiLanguageCode = "FR_FR";
    EXPECT_EQ(page(fr),
              "http://chat.example.com/page?language=FR_FR&fallbackLanguage=EN_US&xfText=Powered%20by%20ChatGPT%"
              "20&sno=SN20240001&config=config_Zandor&gpts=1,2,3,4,5,6,7,8&ua=IOS");
    AiPageInput none = fr;
    none.uiLanguageCode = "";
    EXPECT_TRUE(page(none).contains("language=EN_US&fallbackLanguage=EN_US"));

    AiPageInput config = input("100", "JA_JP");
    config.isConfigAI = true;
    config.chatGPTURL = "https://spark.example.net/chat";
    EXPECT_EQ(
        page(config),
        "https://spark.example.net/chat?sno=SN20240001&config=config100&language=JA_JP&fallbackLanguage=EN_US&ua=IOS");
    config.isConfigAI = false;
    config.appKey = "AK1";
    config.chipToken = "TK1";
    EXPECT_EQ(page(config), "https://spark.example.net/chat?appkey=AK1&ts=1700000000&sno=SN20240001&token=TK1");

    AiPageInput web = input("100");
    web.webURL = "https://w.example.com/p";
    EXPECT_EQ(choosePage(web, testHosts()).kind, AiPage::Kind::ProfileWebPage);
    EXPECT_EQ(page(web), "https://w.example.com/p?sno=SN20240001&config=config_Zandor_WebUrl&productCode=100&language="
                         "FR_FR&fallbackLanguage=EN_US");

    const AiPage resource = choosePage(input("100"), testHosts());
    EXPECT_EQ(resource.kind, AiPage::Kind::Resource);
    EXPECT_EQ(resource.url(), QUrl("qrc:/ai/chrome.html"));
}

// The profile's address is kept as given: its fragment, its escapes and its query.
TEST(Ast3PageUrl, ProfileAddressKeepsFragmentEscapesAndQuery)
{
    AiPageInput in = input("-5", "ZH_CN");
    in.sno = "";
    in.chatGPTURL = "https://ai.example.com/a%20b/#/chat?x=1";
    const QString url = page(in);
    EXPECT_TRUE(url.startsWith("https://ai.example.com/a%20b/#/chat?x=1&language=ZH_CN&")) << url.toStdString();
    EXPECT_EQ(url.count('?'), 1);
    EXPECT_TRUE(url.contains("&sno=&"));
    in.chatGPTURL = "";
    in.webURL = "https://w.example.com/p?lang=1";
    in.sno = "a&b=c";
    EXPECT_EQ(page(in),
              "https://w.example.com/p?lang=1&sno=a%26b%3Dc&config=config_Zandor_WebUrl&productCode=-5&language="
              "ZH_CN&fallbackLanguage=EN_US");
    EXPECT_EQ(productNumber("abc"), 0);
    EXPECT_EQ(productNumber("-5"), -5);
}

TEST(Ast3PageUrl, EnglishFallbackOnlyForAnotherLanguageInTheAddress)
{
    const QString fr = "https://a.example/p?language=FR_FR&fallbackLanguage=EN_US&sno=1";
    EXPECT_EQ(englishFallback("FR_FR", fr), "https://a.example/p?language=EN_US&fallbackLanguage=EN_US&sno=1");
    EXPECT_EQ(englishFallback("ZH_TW", "https://a.example/p?language=ZH_TW"), "https://a.example/p?language=EN_US");
    for (const QString &ui : {QString("EN_US"), QString("ZH_CN"), QString()})
        EXPECT_TRUE(englishFallback(ui, fr).isEmpty()) << ui.toStdString();
    EXPECT_TRUE(englishFallback("FR_FR", "https://p2.example/?time=1").isEmpty());
    EXPECT_TRUE(englishFallback("FR_FR", "").isEmpty());
}

TEST(Ast3Script, SendScriptPerProduct)
{
    const struct {
        qint64 product;
        QString script;
    } rows[] = {
        {216, "idallSendMessage('KDLEMRUTQPZXAVBNCHWGOSIFY','hello',true)"},
        {44, "externalFunc('send','hello')"},
        {282, "externalFunc('send','hello')"},
        {285, "externalFunc('send','hello')"},
        {266, "aiMouseExternalFunc('send','hello')"},
        {523, "handlInputValue('hello',2)"},
        {0, "handlInputValue('hello',2)"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(sendScript(r.product, "hello", "SN20240001", "1700000000"), r.script) << r.product;

    const QString ms = sendScript(217, "hello", "SN20240001", "1700000000");
    ASSERT_TRUE(ms.startsWith("MESSAGE_SEND('hello',") && ms.endsWith(")"));
    const QString json = ms.mid(21, ms.size() - 22);
    EXPECT_FALSE(json.contains(' '));
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    EXPECT_EQ(o.value("sn").toString(), "SN20240001");
    EXPECT_EQ(o.value("timestamp").toInteger(), 1700000000);
    EXPECT_EQ(o.value("sign").toString(), "6b50b9cc458009b3a9a254eaa3b682a8");
    // Past 2038 the time stamp is still the right number.
    EXPECT_EQ(
        QJsonDocument::fromJson(messageSendObject("s", "4102444800").toUtf8()).object().value("timestamp").toInteger(),
        4102444800LL);
}

TEST(Ast3Script, TextsAreEscapedAsStringLiterals)
{
    EXPECT_EQ(sendScript(0, "it's \"ok\"\n\\x", "", ""), "handlInputValue('it\\'s \"ok\"\\n\\\\x',2)");
    EXPECT_EQ(jsStringBody(QString("a\r\x01") + QChar(0x2028) + QChar(0x2029) + "</script>"),
              "a\\r\\u0001\\u2028\\u2029<\\/script>");
    EXPECT_EQ(helperInputScript("x'y", "t"), "handlHelperInput('x\\'y','t',2)");
    EXPECT_EQ(fontSizeScript(37), "fontSizeChange(37)");
    EXPECT_EQ(clearBoxScript(), "clearBox()");
    EXPECT_EQ(switchScript(true), "switchChange(2)");
    EXPECT_EQ(switchScript(false), "switchChange(1)");
}

TEST(Ast3Message, OnlyKnownNamesAndShapesAct)
{
    using K = AiMessageAction::Kind;
    const struct {
        QString name, body;
        K kind;
        QString text;
    } rows[] = {
        {"iOS", R"({"action":"copyToClipboard","text":"x"})", K::CopyToClipboard, "x"},
        {"iOS", R"({"action":"copyToClipboard","text":""})", K::CopyToClipboard, ""},
        {"iOS", R"({"action":"copyToClipboard"})", K::ClearClipboard, ""},
        {"iOS", R"({"action":"copyToClipboard","text":5})", K::ClearClipboard, ""},
        {"iOS", R"({"action":"goBack"})", K::GoBack, ""},
        {"iOS", R"({"action":"checkMicrophonePermission"})", K::AnswerMicrophone, ""},
        {"iOS", R"("goBack")", K::None, ""},
        {"iOS", R"([{"action":"goBack"}])", K::None, ""},
        {"iOS", R"({"action":"zzz"})", K::None, ""},
        {"iOS", "{not json", K::None, ""},
        {"fileSelected", R"({"data":[1]})", K::None, ""},
        {"downloadFile", R"({"content":"file:///etc/passwd","name":"../x"})", K::None, ""},
        {"blobHandler", R"({"action":"goBack"})", K::None, ""},
    };
    for (const auto &r : rows) {
        const AiMessageAction a = handleAiMessage(r.name, r.body);
        EXPECT_EQ(a.kind, r.kind) << r.name.toStdString() << " " << r.body.toStdString();
        EXPECT_EQ(a.text, r.text);
        EXPECT_TRUE(a.logLine.contains(r.name)) << a.logLine.toStdString();
    }
    const QString huge = R"({"action":"copyToClipboard","text":")" + QString(kMaxMessageBytes, 'a') + "\"}";
    EXPECT_EQ(handleAiMessage("iOS", huge).kind, K::None);
    EXPECT_LT(handleAiMessage("iOS", huge).logLine.size(), 200);
}
