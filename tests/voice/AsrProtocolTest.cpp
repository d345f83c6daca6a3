// The speech service's wire format: its address, the declared audio format, the frame,
// the replies and the text they build, and the listener set the results go through.
#include "ListenerSet.h"
#include "asr/AsrFrames.h"
#include "asr/AsrResultText.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

using T = AsrReply::Type;

TEST(Vox1Protocol, UrlAndAudioFormatFollowTheDeviceProfile)
{
    const std::pair<QString, quint64> profiles[] = {{"cn", 0}, {"", 1}, {"", 0}, {"cn", 1}, {"a b&c#d", 0}};
    const char *queries[] = {"?region=cn", "?region=out", "", "?region=cn", "?region=a%20b%26c%23d"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(asrWebSocketUrl("ws://h:9/", profiles[i].first, profiles[i].second).toEncoded(),
                  QByteArray("ws://h:9/ws") + queries[i]);

    const std::pair<WavRateInputs, const char *> devices[] = {
        // ble, plan, device type, firmware, sampling rate, vid, pid
        {{false, 2, 1, "", 0, 0x3151, 0x22AB}, "adpcm"}, {{true, 2, 5, "", 0, 0, 0}, "pcm16k"},
        {{false, 6, 1, "12", 0, 0, 0}, "pcm8k"},         {{false, 6, 1, "12", 1, 0, 0}, "pcm16k"},
        {{false, 6, 1, "10", 1, 0, 0}, "pcm8k"},         {{false, 7, 1, "", 0, 0x248A, 0x64AB}, "adpcm16k"},
        {{false, 7, 1, "", 0, 0x3151, 0x22AB}, "pcm8k"}, {{false, 3, 1, "", 0, 0, 0}, "adpcm8k"},
        {{false, 4, 1, "", 0, 0, 0}, "pcm8k"},           {{false, 6, 2, "11", 0, 0, 0}, "pcm8k"},
    };
    for (const auto &[in, expected] : devices) {
        const AsrAudioFormat f = voiceStreamFormat(in);
        EXPECT_EQ(f.format + f.rate, expected) << "plan " << in.chipPlan << " type " << in.deviceType;
    }
}

TEST(Vox1Protocol, FrameCarriesEveryFieldWithItsJsonType)
{
    const auto frame = [](const AsrFrameFields &f, const QByteArray &chunk, AsrStreamPosition at) {
        const QByteArray json = buildAsrFrame(f, chunk, at);
        EXPECT_FALSE(json.contains(' '));
        return QJsonDocument::fromJson(json).object();
    };
    const auto expected = [](const char *json) { return QJsonDocument::fromJson(json).object(); };
    AsrFrameFields f{"AK1", "ZH_CN", "clientId1700000000", "a1:b2:c3:d4:e5:f6", "SN001", true,
                     "",    false,   {"adpcm", ""}};
    EXPECT_EQ(frame(f, QByteArray::fromHex("00010203"), AsrStreamPosition::First),
              expected(R"({"apiKey":"AK1","language":"ZH_CN","clientId":"clientId1700000000","content":"AAECAw==",
                  "deviceNo":"a1:b2:c3:d4:e5:f6","serialNo":"SN001","ptt":"1","phrases":"","format":"adpcm",
                  "start":true,"end":false})"));
    f = {"", "", "", "", "", false, "p", true, {"pcm", "16k"}};
    EXPECT_EQ(frame(f, {}, AsrStreamPosition::Last),
              expected(R"({"apiKey":"","language":"","clientId":"","content":"","deviceNo":"","serialNo":"",
                  "ptt":"0","phrases":"p","nlu":"1","format":"pcm","rate":"16k","start":false,"end":true})"));
    EXPECT_EQ(frame(f, "x", AsrStreamPosition::Middle).value("end"), QJsonValue(false));
}

TEST(Vox1Protocol, BadRepliesAreIgnoredOrReadAsEmpty)
{
    const QString large =
        QStringLiteral(R"({"status":200,"data":{"type":"FIN","text":"%1"}})").arg(QString(1 << 20, 'a'));
    const QString ignored[] = {"hello",
                               R"([{"status":200}])",
                               R"({"status":201,"data":{"type":"FIN","text":"a"}})",
                               R"({"data":{"type":"FIN"}})",
                               R"({"status":"200","data":{"type":"FIN"}})",
                               large};
    for (const QString &m : ignored)
        EXPECT_FALSE(parseAsrReply(m)) << m.left(50).toStdString();
    const std::tuple<QString, T, QString> taken[] = {
        {R"({"status":200,"data":"x"})", T::Other, ""},
        {R"({"status":200,"data":{"type":"FIN","text":5}})", T::Fin, ""},
        {R"({"status":200,"data":{"text":"a"}})", T::Other, "a"},
        {R"({"status":200,"data":{"type":"LAST","text":"b","dm":{}}})", T::Last, "b"},
    };
    for (const auto &[m, type, text] : taken) {
        const std::optional<AsrReply> r = parseAsrReply(m);
        EXPECT_TRUE(r && r->type == type && r->text == text) << m.toStdString();
    }
}

TEST(Vox1Protocol, RepliesBuildTheTextSentenceBySentence)
{
    const auto run = [](std::initializer_list<std::tuple<T, const char *, const char *>> steps) {
        AsrResultText text;
        for (const auto &[type, t, expected] : steps) {
            const AsrResultText::Report r = text.apply({type, t, {}});
            EXPECT_EQ(QStringLiteral("%1|%2|%3").arg(r.display, r.newText).arg(r.status), expected);
            EXPECT_EQ(r.isLast, type == T::Last);
        }
    };
    run({{T::Mid, "你", "你|你|0"},
         {T::Fin, "你好。", "你好。|你好。|1"},
         {T::Mid, "今天", "你好。\n今天|今天|0"},
         {T::Fin, "今天天气好。", "你好。\n今天天气好。|今天天气好。|1"},
         {T::Mid, "", "你好。\n今天天气好。||0"},
         {T::Last, "", "你好。\n今天天气好。|你好。\n今天天气好。|2"}});
    run({{T::Fin, "a", "a|a|1"}, {T::Other, "x", "a||0"}, {T::Last, "再见。", "a\n再见。|再见。|2"}});
    run({{T::Last, "x", "x|x|2"}});
}

struct Probe : ListenerLifetime {
    QStringList *log;
    QString name;
    std::function<void()> during = {};
    void hit(const QString &a, int b) { *log << name + a + QString::number(b), during ? during() : void(); }
};

TEST(Vox1Protocol, ListenersAreCalledInOrderWeaklyAndOnASnapshot)
{
    QStringList log;
    ListenerSet<Probe> set;
    set.forEach(&Probe::hit, QString(), 0); // empty: nothing, no crash
    Probe a{{}, &log, "a"}, late{{}, &log, "late"};
    auto b = std::make_unique<Probe>(Probe{{}, &log, "b"}), gone = std::make_unique<Probe>(Probe{{}, &log, "gone"});
    for (Probe *p : {&a, b.get(), &a, gone.get()})
        set.add(p);
    gone.reset(); // destroyed without leaving
    b->during = [&] { set.remove(b.get()), set.add(&late); };
    set.forEach(&Probe::hit, QStringLiteral(":x"), 1);
    set.forEach(&Probe::hit, QStringLiteral(":y"), 2);
    EXPECT_EQ(log, QStringList({"a:x1", "b:x1", "a:y2", "late:y2"}));
}

} // namespace
