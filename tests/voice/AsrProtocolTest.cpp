// The speech service's wire format: its address, the frame, the declared audio format,
// the replies and the text they build, and the listener set the results go through.
#include "AsrFrames.h"
#include "AsrResultText.h"
#include "ListenerSet.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

TEST(Vox1Protocol, UrlTakesTheRegionEncodedElseTheOriginElseNothing)
{
    struct Row {
        const char *region;
        quint64 source;
        const char *url;
    } rows[] = {
        {"cn", 0, "ws://asr.test:9000/ws?region=cn"},
        {"", 1, "ws://asr.test:9000/ws?region=out"},
        {"", 0, "ws://asr.test:9000/ws"},
        {"cn", 1, "ws://asr.test:9000/ws?region=cn"},
        {"a b&c#d", 0, "ws://asr.test:9000/ws?region=a%20b%26c%23d"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(asrWebSocketUrl("ws://asr.test:9000/", r.region, r.source).toEncoded(), QByteArray(r.url))
            << r.region;
}

TEST(Vox1Protocol, FormatAndRateFollowTheDeviceFamily)
{
    struct Row {
        const char *name;
        WavRateInputs in;
        const char *format;
        const char *rate;
    } rows[] = {
        {"F-a plan 2", {false, 2, 1, "", 0, 0x3151, 0x22AB}, "adpcm", ""},
        {"F-b BLE type 5", {true, 2, 5, "", 0, 0, 0}, "pcm", "16k"},
        {"F-c plan 6 fw 12", {false, 6, 1, "12", 0, 0, 0}, "pcm", "8k"},
        {"F-d plan 6 fw 12 wide", {false, 6, 1, "12", 1, 0, 0}, "pcm", "16k"},
        {"F-e plan 6 fw 10", {false, 6, 1, "10", 1, 0, 0}, "pcm", "8k"},
        {"F-f 248A/64AB plan 7", {false, 7, 1, "", 0, 0x248A, 0x64AB}, "adpcm", "16k"},
        {"F-g plan 7", {false, 7, 1, "", 0, 0x3151, 0x22AB}, "pcm", "8k"},
        {"F-h plan 3", {false, 3, 1, "", 0, 0, 0}, "adpcm", "8k"},
        {"F-i plan 4", {false, 4, 1, "", 0, 0, 0}, "pcm", "8k"},
        {"F-j type 2 plan 6 fw 11", {false, 6, 2, "11", 0, 0, 0}, "pcm", "8k"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(asrAudioFormat(r.in), (AsrAudioFormat{r.format, r.rate})) << r.name;
}

TEST(Vox1Protocol, FrameCarriesEveryFieldWithItsJsonType)
{
    AsrFrameFields f{"AK1", "ZH_CN", "clientId1700000000", "a1:b2:c3:d4:e5:f6", "SN001", true,
                     "",    false,   {"adpcm", ""}};
    const auto parse = [](const QByteArray &b) { return QJsonDocument::fromJson(b).object(); };
    const QByteArray first = buildAsrFrame(f, QByteArray::fromHex("00010203"), AsrStreamPosition::First);
    EXPECT_FALSE(first.contains(' '));
    EXPECT_EQ(parse(first), parse(R"({"apiKey":"AK1","language":"ZH_CN","clientId":"clientId1700000000",
        "content":"AAECAw==","deviceNo":"a1:b2:c3:d4:e5:f6","serialNo":"SN001","ptt":"1","phrases":"",
        "format":"adpcm","start":true,"end":false})"));
    f.semantic = true;
    f.punctuation = false;
    f.audio.rate = "16k";
    const QJsonObject last = parse(buildAsrFrame(f, {}, AsrStreamPosition::Last));
    EXPECT_EQ(last.value("nlu"), "1");
    EXPECT_EQ(last.value("ptt"), "0");
    EXPECT_EQ(last.value("rate"), "16k");
    EXPECT_EQ(last.value("content"), "");
    EXPECT_EQ(last.value("start"), false);
    EXPECT_EQ(last.value("end"), true);
    EXPECT_EQ(parse(buildAsrFrame(f, "x", AsrStreamPosition::Middle)).value("end"), false);
}

TEST(Vox1Protocol, BadRepliesAreIgnoredOrReadAsEmpty)
{
    struct Row {
        const char *what;
        QString message;
        bool taken;
        AsrReply::Type type = AsrReply::Type::Other;
        const char *text = "";
    } rows[] = {
        {"not JSON", "hello", false},
        {"an array", R"([{"status":200}])", false},
        {"status 201", R"({"status":201,"data":{"type":"FIN","text":"a"}})", false},
        {"no status", R"({"data":{"type":"FIN","text":"a"}})", false},
        {"status as text", R"({"status":"200","data":{"type":"FIN","text":"a"}})", false},
        {"too large", QStringLiteral(R"({"status":200,"data":{"type":"FIN","text":"%1"}})").arg(QString(1 << 20, 'a')),
         false},
        {"data not an object", R"({"status":200,"data":"x"})", true, AsrReply::Type::Other, ""},
        {"text not a string", R"({"status":200,"data":{"type":"FIN","text":5}})", true, AsrReply::Type::Fin, ""},
        {"no type", R"({"status":200,"data":{"text":"a"}})", true, AsrReply::Type::Other, "a"},
        {"LAST", R"({"status":200,"data":{"type":"LAST","text":"b","dm":{}}})", true, AsrReply::Type::Last, "b"},
    };
    for (const Row &r : rows) {
        const std::optional<AsrReply> reply = parseAsrReply(r.message);
        ASSERT_EQ(reply.has_value(), r.taken) << r.what;
        if (reply) {
            EXPECT_EQ(reply->type, r.type) << r.what;
            EXPECT_EQ(reply->text, r.text) << r.what;
        }
    }
}

TEST(Vox1Protocol, RepliesBuildTheTextSentenceBySentence)
{
    using T = AsrReply::Type;
    struct Step {
        T type;
        const char *text;
        const char *display;
        const char *newText;
        int status;
    };
    const auto run = [](std::initializer_list<Step> steps) {
        AsrResultText r;
        for (const Step &s : steps) {
            const AsrResultText::Report got = r.apply({s.type, s.text, {}});
            EXPECT_EQ(got.display, s.display) << s.text;
            EXPECT_EQ(got.newText, s.newText) << s.text;
            EXPECT_EQ(got.status, s.status) << s.text;
            EXPECT_EQ(got.isLast, s.status == 2) << s.text;
        }
    };
    run({{T::Mid, "你", "你", "你", 0},
         {T::Fin, "你好。", "你好。", "你好。", 1},
         {T::Mid, "今天", "你好。\n今天", "今天", 0},
         {T::Fin, "今天天气好。", "你好。\n今天天气好。", "今天天气好。", 1},
         {T::Mid, "", "你好。\n今天天气好。", "", 0},
         {T::Last, "", "你好。\n今天天气好。", "你好。\n今天天气好。", 2}});
    run({{T::Fin, "a", "a", "a", 1}, {T::Other, "x", "a", "", 0}, {T::Last, "再见。", "a\n再见。", "再见。", 2}});
    run({{T::Last, "x", "x", "x", 2}});
}

struct Probe : ListenerLifetime {
    Probe(QStringList *l, QString n) : log(l), name(std::move(n)) {}
    QStringList *log;
    QString name;
    ListenerSet<Probe> *set = nullptr;
    Probe *addDuring = nullptr;
    void hit(const QString &a, int b)
    {
        *log << QStringLiteral("%1:%2%3").arg(name, a).arg(b);
        if (set) {
            set->remove(this);
            set->add(addDuring);
        }
    }
};

TEST(Vox1Protocol, ListenersAreCalledInOrderWeaklyAndOnASnapshot)
{
    QStringList log;
    ListenerSet<Probe> set;
    set.forEach(&Probe::hit, QStringLiteral("none"), 0); // an empty set: nothing, no crash
    Probe a(&log, "a"), late(&log, "late");
    auto b = std::make_unique<Probe>(&log, "b");
    auto gone = std::make_unique<Probe>(&log, "gone");
    set.add(&a);
    set.add(b.get());
    set.add(&a);
    set.add(gone.get());
    gone.reset(); // destroyed without leaving the set
    b->set = &set;
    b->addDuring = &late; // b leaves and brings late in during the round
    set.forEach(&Probe::hit, QStringLiteral("x"), 1);
    EXPECT_EQ(log, QStringList({"a:x1", "b:x1"}));
    log.clear();
    set.forEach(&Probe::hit, QStringLiteral("y"), 2);
    EXPECT_EQ(log, QStringList({"a:y2", "late:y2"}));
    EXPECT_EQ(set.size(), 2);
}

} // namespace
