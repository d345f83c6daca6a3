// The device profile: when it is fetched or read from the cache, and what applying
// it does to the state, the language lists, the key sections and the AI window.
#include "ProfileWorld.h"

#include "MouseSettingModel.h"
#include "TempDataRoot.h"

#include <gtest/gtest.h>

namespace {

using Pgs1ProfileCache = ::testing::Test;
using Pgs1ProfileApply = ::testing::Test;

const QByteArray kP = R"({"appkey":"K1","sno":"S9X","id":"M7"})";

TEST(Pgs1ProfileCache, FetchedOnceThenReadFromTheCacheUntilAKeyReset)
{
    ProfileWorld w;
    w.s.languages().setUiLanguageIndex(0);
    w.serve(kP);
    ASSERT_EQ(w.getCustomerKey(), 1);
    const HttpRequestRecord &r = w.net.server.lastRequest();
    EXPECT_EQ(r.path, "/api/getModelInfo");
    for (const auto &[key, value] :
         {std::pair{"productCode", "523"}, {"languageCode", "ZH_CN"}, {"sno", "S9"}, {"id", ""}, {"forceUpdate", "0"}})
        EXPECT_EQ(r.queryValue(key), value) << key;
    EXPECT_EQ(w.stored("523_S9"), NetWorld::json(kP));
    EXPECT_EQ(w.stored("kMouseCustomerKey"), NetWorld::json(kP));
    EXPECT_EQ(w.s.store().stringValue("kLastProductCode"), "523");
    EXPECT_EQ(w.s.store().stringValue("kLastSN"), "S9");
    EXPECT_EQ(w.s.store().stringValue("appKey"), "K1");

    w.events.clear();
    EXPECT_EQ(w.getCustomerKey(), 0); // the cached copy, parsed again
    EXPECT_EQ(w.events, QStringList{"kUpdateLeftItemNotification"});

    w.s.store().setValue("523_S9", ""); // what a key reset writes
    w.serve(kP);
    EXPECT_EQ(w.getCustomerKey(), 1);
    EXPECT_EQ(w.net.server.lastRequest().queryValue("id"), "M7");

    // A product without AI pages has no profile.
    w.device("412", "S9");
    w.events.clear();
    w.s->setRegion("kept");
    EXPECT_EQ(w.getCustomerKey(), 0);
    EXPECT_TRUE(w.events.isEmpty());
    EXPECT_EQ(w.s->region(), "kept");
}

// A cached text that is not an object is dropped: the last profile of the same device
// stands in, and the server is asked.
TEST(Pgs1ProfileCache, ACachedTextThatIsNoObjectFallsBackAndAsksTheServer)
{
    const struct {
        const char *cached;
        const char *lastSn;
        const char *appKey; // after the fallback, before the answer
    } rows[] = {{"not json", "S9", "K2"}, {"[1,2]", "S9", "K2"}, {"not json", "S8", ""}, {"\"text\"", "S8", ""}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.cached);
        ProfileWorld w;
        KeyValueStore &st = w.s.store();
        st.setValue("kLastProductCode", "523");
        st.setValue("kLastSN", row.lastSn);
        st.setValue("kMouseCustomerKey", R"({"appkey":"K2"})");
        st.setValue("523_S9", row.cached);
        w.net.server.enqueue(HttpScriptedReply::neverAnswer());
        w.ctl.getCustomerKey();
        EXPECT_EQ(w.s->appKey(), row.appKey);
        EXPECT_FALSE(st.contains("523_S9"));
        EXPECT_TRUE(w.net.server.waitForRequests(1));
    }
}

// Only an object is cached: any other reply applies the fallback and the next
// getCustomerKey asks again.
TEST(Pgs1ProfileCache, AReplyThatIsNoObjectIsNotCached)
{
    for (const QByteArray data : {"[1]", "\"text\"", "null", "7"}) {
        SCOPED_TRACE(data.toStdString());
        ProfileWorld w;
        w.serve(data);
        EXPECT_EQ(w.getCustomerKey(), 1);
        EXPECT_FALSE(w.s.store().contains("523_S9"));
        EXPECT_FALSE(w.s.store().contains("kMouseCustomerKey"));
        w.serve("{}");
        EXPECT_EQ(w.getCustomerKey(), 1);
        EXPECT_EQ(w.s.store().stringValue("523_S9"), "{}");
    }
}

// Device text with "/" in the cache key survives the preference file.
TEST(Pgs1ProfileCache, AKeyWithSlashesRoundTripsThroughThePreferenceFile)
{
    TempDataRoot dir;
    const QString file = dir.file("prefs.ini");
    {
        ProfileWorld w;
        IniKeyValueStore ini(file);
        DeviceProfileController ctl(w.deps(ini));
        w.device("5/2", "a/b\\c");
        w.serve(kP);
        ctl.getCustomerKey();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ini.contains("5/2_a/b\\c"); }, 5000));
    }
    IniKeyValueStore reopened(file);
    EXPECT_EQ(NetWorld::json(reopened.stringValue("5/2_a/b\\c").toUtf8()), NetWorld::json(kP));
}

TEST(Pgs1ProfileApply, OrderFunctionsAndResets)
{
    ProfileWorld w;
    w.s->setChipPlan(7);
    w.s->mouseInfoItem().setIcType(1);
    w.s->setIsVoice(true); // reset: no "Voice" entry
    w.apply(R"({"appkey":"K1","region":"out","sno":"S9X",
        "xfocr":{"appId":"A1","appKey":"B1","languages":[{"code":"ZH_CN","name":"中文"}]},
        "languages":[{"code":"EN_US","name":"英语"}],
        "transLanguages":"bad",
        "functions":[{"name":"Laser","code":"true"},{"name":"Laser","code":"no"},
                     {"name":"ReportRate","code":"125,500,1000,2000"},
                     {"name":"DPI","code":"800dpi,1600dpi"},
                     {"name":"HideDPI","code":"NO"},
                     {"name":"ConfigAI","code":"YES"},{"name":"ConfigAI","code":"YES"},
                     {"name":"IFlytekChip","code":1},
                     {"name":"IS_PRODUCT_TYPE","code":"mouse"},
                     {"name":"WebUrl","code":"https://w1"},{"name":"WebUrl","code":"https://w2"},
                     {"name":"Unknown","code":"x"}],
        "id":"M7"})");
    QXUserInfoData &s = w.s.state();
    EXPECT_EQ(s.region(), "out");
    EXPECT_EQ(s.sno(), "S9X");
    EXPECT_EQ(w.s.store().stringValue("xunFeiAppId"), "A1");
    EXPECT_EQ(w.s.store().stringValue("xunFeiAppKey"), "B1");
    EXPECT_EQ(w.events, QStringList({"kUpdateOCRListNotification", "kUpdateInputAudioListNotification",
                                     "askVoiceChipInfo", "kUpdateLeftItemNotification"}));
    EXPECT_FALSE(s.isLaser() || s.isHideDPI() || s.isKeyboard() || s.isVoice());
    EXPECT_TRUE(s.isConfigAI() && s.isIFlytekChip());
    EXPECT_EQ(s.reportRateArr(), QStringList({"125", "500", "1000", "2000"}));
    EXPECT_EQ(s.serviceDpiArr(), QStringList({"800dpi", "1600dpi"}));
    EXPECT_EQ(s.getMouseDpiArray(), QStringList({"800dpi", "1600dpi"}));
    EXPECT_EQ(s.webURL(), "https://w2");
    EXPECT_EQ(s.chatGPTURL(), "");
    EXPECT_EQ(w.log.calls, QStringList{"initSubViews"});
    EXPECT_EQ(w.ctl.mouseModelSettingModel().modelId(), "M7");
    EXPECT_EQ(w.s.languages().audioLanguageArr().at(0)["code"], "EN_US");
    EXPECT_EQ(w.s.languages().screenshotsTranslateFromLanguageArray().at(0)["code"], "ZH_CN");
}

// A second, empty profile clears what the first set; the last profile received stays
// the fallback.
TEST(Pgs1ProfileApply, AnEmptyProfileClearsWhatTheFirstSet)
{
    ProfileWorld w;
    w.s->setChipPlan(6);
    w.apply(R"({"appkey":"K1","region":"out","chatChromeUrl":"https://c","keyInfos":[{"id":"k1"}],
        "functions":[{"name":"WebUrl","code":"https://w"},{"name":"DPI","code":"800dpi,1600dpi"},
                     {"name":"Laser","code":"1"},{"name":"IS_PRODUCT_TYPE","code":"keyboard"},
                     {"name":"GPTS","code":"3,5"},{"name":"HideDPI","code":"yes"}]})");
    QXUserInfoData &s = w.s.state();
    EXPECT_EQ(s.chatGPTURL(), "https://c");
    EXPECT_EQ(s.webURL(), "");
    EXPECT_EQ(w.log.calls, QStringList{"initSubViews"});
    EXPECT_TRUE(s.isLaser() && s.isKeyboard());
    EXPECT_FALSE(s.isHideDPI());
    EXPECT_EQ(s.serviceGPTS(), "3,5");
    EXPECT_EQ(s.getMouseDpiArray(), QStringList({"800dpi", "1600dpi"}));
    const QString lastProfile = w.s.store().stringValue("kMouseCustomerKey");

    w.log.clear();
    w.serve("{}");
    ASSERT_EQ(w.getCustomerKey(), 1);
    EXPECT_FALSE(s.isLaser() || s.isVoice() || s.isIFlytekChip() || s.isAmbientLightSwitch() || s.isKeyboard()
                 || s.isConfigAI() || s.isHideDPI());
    EXPECT_TRUE(s.reportRateArr().isEmpty() && s.serviceDpiArr().isEmpty());
    EXPECT_EQ(s.serviceGPTS() + s.webURL() + s.chatGPTURL() + s.region(), "");
    EXPECT_EQ(w.s.store().stringValue("appKey"), "");
    EXPECT_TRUE(w.log.calls.isEmpty());
    EXPECT_TRUE(s.mouseSettingArr().isEmpty());
    EXPECT_EQ(w.stored("kMouseSettingArrKey"), QJsonValue(QJsonArray()));
    EXPECT_EQ(w.s.store().stringValue("523_S9"), "{}");
    EXPECT_EQ(w.s.store().stringValue("kMouseCustomerKey"), lastProfile);
    // No profile list any more: plan 6 falls back to its table (chip type 1 on a fresh device).
    EXPECT_EQ(s.getMouseDpiArray(), QStringList({"1000dpi", "1200dpi", "1600dpi", "2400dpi"}));
}

// How a "functions" entry's code is read; entries of the wrong shape are skipped.
TEST(Pgs1ProfileApply, FunctionCodes)
{
    const struct {
        const char *functions;
        QStringList rates, dpis;
        bool laser;
    } rows[] = {
        {R"([{"name":"ReportRate","code":""}])", {""}, {}, false},
        {R"([{"name":"DPI","code":"800dpi, 1600dpi"}])", {}, {"800dpi", " 1600dpi"}, false},
        {R"([{"name":"ReportRate","code":1000}])", {"1000"}, {}, false},
        {R"([{"name":"Laser","code":true}])", {}, {}, true},
        {R"([{"name":"Laser","code":"YES"}])", {}, {}, true},
        {R"([{"name":"Laser","code":1}])", {}, {}, true},
        {R"([{"name":"Laser","code":[1]},{"name":"Laser","code":{"a":1}},{"name":["Laser"],"code":1},
             "Laser",7,null,{"code":1},{"name":"Laser"}])",
         {},
         {},
         false},
        {R"({"name":"Laser","code":1})", {}, {}, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.functions);
        ProfileWorld w;
        w.apply(QByteArray(R"({"functions":)") + row.functions + "}");
        EXPECT_EQ(w.s->reportRateArr(), row.rates);
        EXPECT_EQ(w.s->serviceDpiArr(), row.dpis);
        EXPECT_EQ(w.s->isLaser(), row.laser);
    }
}

TEST(Pgs1ProfileApply, KeySectionsRoundTripThroughTheStore)
{
    ProfileWorld w;
    w.apply(R"({"keyInfos":[
        {"id":"10","key":"1","names":{"ZH_CN":"左键"},"childs":[{"id":"11","operation":"1","childs":[
            {"id":"12","first":"1","cmd":"3","attr0":"a"},{"id":"13","first":"0","cmd":"4","attr0":"b"}]}]},
        {"id":"20","key":"2","names":{"EN_US":"Right"},"childs":[{"id":"21","operation":"2","childs":[
            {"id":"22","first":"0","cmd":"5","attr0":""},{"id":"23","first":"1","cmd":"6","attr0":"c"}]}]}]})");
    const QList<MouseSettingModel> back = MouseSettingModel::listFromJson(w.stored("kMouseSettingArrKey").toArray());
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back, w.ctl.mouseSettingArr());
    EXPECT_EQ(back, w.s->mouseSettingArr());
    EXPECT_EQ(back[1].idStr(), "20");
    ASSERT_EQ(back[1].childs().size(), 1);
    ASSERT_EQ(back[1].childs()[0].childs().size(), 2);
    EXPECT_EQ(back[1].childs()[0].childs()[1].cmd(), "6");
    EXPECT_EQ(back[1].childs()[0].childs()[1].attr0(), "c");
}

// A profile of about 1 MB (many languages and functions) is applied whole.
TEST(Pgs1ProfileApply, ALargeProfileIsAppliedWhole)
{
    QJsonArray languages, functions;
    for (int i = 0; i < 8000; ++i) {
        languages.append(QJsonObject{{"code", QStringLiteral("L%1").arg(i)}, {"name", QString(40, QChar('n'))}});
        functions.append(QJsonObject{{"name", "GPTS"}, {"code", QString::number(i)}});
    }
    const QByteArray json = QJsonDocument(QJsonObject{{"languages", languages}, {"functions", functions}}).toJson();
    ASSERT_GT(json.size(), 1000000);
    ProfileWorld w;
    w.apply(json);
    EXPECT_EQ(w.s.languages().audioLanguageArr().size(), 8000);
    EXPECT_EQ(w.s->serviceGPTS(), "7999");
}

} // namespace
