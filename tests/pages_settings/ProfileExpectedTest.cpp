// tests/data/profile_full.json served and applied over a fresh state: the state, the
// language lists, the notification order and the calls out must equal
// profile_full.expected.json. QX_UPDATE_EXPECTED=1 rewrites that file after a wanted change.
#include "ProfileWorld.h"

namespace {

TEST(Pgs1ProfileExpected, FullProfileGivesTheExpectedState)
{
    QFile in(QStringLiteral(QX_TEST_DATA "/profile_full.json"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    ProfileWorld w;
    w.s->setChipPlan(7);
    w.s->mouseInfoItem().setIcType(1);
    w.s.languages().setUiLanguageIndex(2); // English
    w.serve(in.readAll());
    ASSERT_EQ(w.getCustomerKey(), 1);

    QXUserInfoData &s = w.s.state();
    QXLanguageManager &l = w.s.languages();
    const auto texts = &QJsonArray::fromStringList;
    const QJsonObject got{{"state", QJsonObject{{"appKey", s.appKey()},
                                                {"region", s.region()},
                                                {"sno", s.sno()},
                                                {"xunFeiAppId", s.xunFeiAppId()},
                                                {"xunFeiAppKey", s.xunFeiAppKey()},
                                                {"isLaser", s.isLaser()},
                                                {"isVoice", s.isVoice()},
                                                {"isIFlytekChip", s.isIFlytekChip()},
                                                {"isAmbientLightSwitch", s.isAmbientLightSwitch()},
                                                {"isKeyboard", s.isKeyboard()},
                                                {"isConfigAI", s.isConfigAI()},
                                                {"isHideDPI", s.isHideDPI()},
                                                {"reportRateArr", texts(s.reportRateArr())},
                                                {"serviceDpiArr", texts(s.serviceDpiArr())},
                                                {"mouseDpiArray", texts(s.getMouseDpiArray())},
                                                {"serviceGPTS", s.serviceGPTS()},
                                                {"webURL", s.webURL()},
                                                {"chatGPTURL", s.chatGPTURL()},
                                                {"modelId", w.ctl.mouseModelSettingModel().modelId().value_or("")},
                                                {"kMouseSettingArrKey", w.stored("kMouseSettingArrKey")}}},
                          {"languages", QJsonObject{{"audio", l.audioLanguageArr()},
                                                    {"to", l.toLanguageArr()},
                                                    {"screenshotsFrom", l.screenshotsTranslateFromLanguageArray()}}},
                          {"events", texts(w.events)},
                          {"calls", texts(w.log.calls)}};

    QFile expected(QStringLiteral(QX_TEST_DATA "/profile_full.expected.json"));
    if (qEnvironmentVariableIsSet("QX_UPDATE_EXPECTED")) {
        ASSERT_TRUE(expected.open(QIODevice::WriteOnly | QIODevice::Truncate));
        expected.write(QJsonDocument(got).toJson());
        GTEST_SKIP() << "expected file rewritten";
    }
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(got, QJsonDocument::fromJson(expected.readAll()).object()) << QJsonDocument(got).toJson().toStdString();
}

} // namespace
