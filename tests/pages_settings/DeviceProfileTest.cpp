// When the device profile is fetched or read from the cache, and what applying it
// resets and sets. The full profile's result is checked against an expected file
// (ProfileExpectedTest.cpp).
#include "ProfileWorld.h"

namespace {

const QByteArray kP = R"({"appkey":"K1","sno":"S9X","id":"M7"})";

TEST(Pgs1ProfileCache, FetchedOnceThenReadFromTheCacheUntilAKeyReset)
{
    ProfileWorld w;
    w.s.languages().setUiLanguageIndex(0);
    w.serve(kP);
    ASSERT_EQ(w.getCustomerKey(), 1);
    const QUrl url(w.page.ports.requests.back().first->requestURL());
    EXPECT_TRUE(url.path().endsWith("/getModelInfo"));
    EXPECT_EQ(url.query().left(url.query().indexOf("&mac=")), "productCode=523&languageCode=ZH_CN&sno=S9&id=");
    EXPECT_EQ(QUrlQuery(url).queryItemValue("forceUpdate"), "0");
    EXPECT_EQ(w.stored("523_S9"), ProfileWorld::json(kP));
    EXPECT_EQ(w.stored("kMouseCustomerKey"), ProfileWorld::json(kP));
    EXPECT_EQ(w.store().stringValue("kLastProductCode") + w.store().stringValue("kLastSN"), "523S9");
    EXPECT_EQ(w.store().stringValue("appKey"), "K1");

    w.events.clear();
    EXPECT_EQ(w.getCustomerKey(), 0); // the cached copy, applied again
    EXPECT_EQ(w.events, QStringList{"kUpdateLeftItemNotification"});
    w.store().setValue("523_S9", ""); // what a key reset writes
    w.serve(kP);
    EXPECT_EQ(w.getCustomerKey(), 1);
    EXPECT_EQ(w.lastQuery().queryItemValue("id"), ""); // a fresh request: no id of the profile reset

    // A product without AI pages has no profile.
    w.s->setProductCode("412");
    w.events.clear();
    w.s->setRegion("kept");
    EXPECT_EQ(w.getCustomerKey(), 0);
    EXPECT_TRUE(w.events.isEmpty());
    EXPECT_EQ(w.s->region(), "kept");
}

// A cached text or a reply that is not an object is never kept: the last profile of
// the same device stands in, else an empty one, and the server is asked.
TEST(Pgs1ProfileCache, WhatIsNoObjectFallsBackAndIsNotCached)
{
    const struct {
        const char *cached, *reply, *lastSn, *appKey;
    } rows[] = {{"not json", "null", "S9", "K2"},
                {"[1,2]", "[1]", "S9", "K2"},
                {"not json", "\"x\"", "S8", ""},
                {"", "7", "S9", "K2"},
                {"", "[1]", "S8", ""}};
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.cached) + " / " + row.reply);
        ProfileWorld w;
        w.store().setValue("kLastProductCode", "523");
        w.store().setValue("kLastSN", row.lastSn);
        w.store().setValue("kMouseCustomerKey", R"({"appkey":"K2"})");
        w.store().setValue("523_S9", row.cached);
        w.serve(row.reply);
        EXPECT_EQ(w.getCustomerKey(), 1);
        EXPECT_EQ(w.s->appKey(), row.appKey);
        EXPECT_EQ(w.store().stringValue("523_S9"), "");
        EXPECT_EQ(w.store().stringValue("kMouseCustomerKey"), R"({"appkey":"K2"})");
    }
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
    EXPECT_EQ(s.chatGPTURL() + "|" + s.webURL() + "|" + s.serviceGPTS(), "https://c||3,5");
    EXPECT_EQ(w.log.calls, QStringList{"initSubViews"});
    EXPECT_TRUE(s.isLaser() && s.isKeyboard() && !s.isHideDPI());
    EXPECT_EQ(s.getMouseDpiArray(), QStringList({"800dpi", "1600dpi"}));
    const QString lastProfile = w.store().stringValue("kMouseCustomerKey");

    w.log.clear();
    w.serve("{}");
    ASSERT_EQ(w.getCustomerKey(), 1);
    EXPECT_FALSE(s.isLaser() || s.isVoice() || s.isIFlytekChip() || s.isAmbientLightSwitch() || s.isKeyboard()
                 || s.isConfigAI() || s.isHideDPI());
    EXPECT_TRUE(s.reportRateArr().isEmpty() && s.serviceDpiArr().isEmpty() && s.mouseSettingArr().isEmpty());
    EXPECT_EQ(s.serviceGPTS() + s.webURL() + s.chatGPTURL() + s.region() + w.store().stringValue("appKey"), "");
    EXPECT_EQ(w.log.calls, QStringList{"httpRequestWithScene"});
    EXPECT_EQ(w.stored("kMouseSettingArrKey"), QJsonValue(QJsonArray()));
    EXPECT_EQ(w.store().stringValue("523_S9"), "{}");
    EXPECT_EQ(w.store().stringValue("kMouseCustomerKey"), lastProfile);
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
        {R"([{"name":"ReportRate","code":1000},{"name":"Laser","code":true}])", {"1000"}, {}, true},
        {R"([{"name":"Laser","code":"YES"}])", {}, {}, true},
        {R"([{"name":"Laser","code":[1]},{"name":"Laser","code":{}},{"name":["Laser"],"code":1},"Laser",null,
             {"code":1}])",
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

// About 1 MB of languages and functions is applied whole (its time: bench/profile_apply_bench).
TEST(Pgs1ProfileApply, ALargeProfileIsAppliedWhole)
{
    QJsonArray languages, functions;
    for (int i = 0; i < 8000; ++i) {
        languages.append(QJsonObject{{"code", QString::number(i)}, {"name", QString(40, QChar('n'))}});
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
