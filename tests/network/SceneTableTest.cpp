#include "NetTestFixture.h"

#include "KeyValueStore.h"
#include "PZString.h"
#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "QXServiceEndpoints.h"
#include "QXToolManager.h"
#include "ScopedUserInfoData.h"
#include "models/QXGoodsModel.h"
#include "models/QXOTAModel.h"
#include "scenes/QXAIScene.h"
#include "scenes/QXAddCommandScene.h"
#include "scenes/QXBaiduAccessNetScene.h"
#include "scenes/QXBaiduAsrNetScene.h"
#include "scenes/QXCanUploadMouseScene.h"
#include "scenes/QXCheckNetWorkScene.h"
#include "scenes/QXCommonCmdListScene.h"
#include "scenes/QXCustomInstructionScene.h"
#include "scenes/QXDeleteCommandScene.h"
#include "scenes/QXGetAppKeyScene.h"
#include "scenes/QXGetCountryCodeScene.h"
#include "scenes/QXGetCustomerKeyScene.h"
#include "scenes/QXGetTranslateLangageScene.h"
#include "scenes/QXGetVerifyCodeScene.h"
#include "scenes/QXGetXunFeiKeyScene.h"
#include "scenes/QXGoodsListScene.h"
#include "scenes/QXLanguageScene.h"
#include "scenes/QXLoginScene.h"
#include "scenes/QXMicrosoftTransNetScene.h"
#include "scenes/QXModifyPasswordScene.h"
#include "scenes/QXOTAUpdateScene.h"
#include "scenes/QXProductImageScene.h"
#include "scenes/QXQueryOrderStateScene.h"
#include "scenes/QXRegisterScene.h"
#include "scenes/QXResetCustomerKeyScene.h"
#include "scenes/QXSaveCustomerKeyScene.h"
#include "scenes/QXSemanticAnalysisScene.h"
#include "scenes/QXTranslateScene.h"
#include "scenes/QXUploadBurnerInfoScene.h"
#include "scenes/QXUserInfoScene.h"
#include "scenes/QXVerifyMouseScene.h"
#include "scenes/QXiFlyAsrNetScene.h"

#include <algorithm>

namespace {

using Pairs = QList<QPair<QString, QString>>;

const Pairs kClientFields = {
    {"vid", "12625"},           {"pid", "8875"}, {"sn", "SN1"}, {"channelName", "QX"}, {"macAddr", "A1:B2:C3:D4:E5:F6"},
    {"clientversion", "1.0.3"},
};
const Pairs kHtmlHeader = {{"Content-Type", "text/html;charset=utf-8"}};
const char *const kOkDefault = R"({"rc":0,"msg":"","data":{"k":"v"}})";
const char *const kOkAccount = R"({"statusCode":200,"message":"","data":{"k":"v"}})";
const char *const kOkWhole = R"({"rc":0,"data":[{"customCmd":"c"}]})";

struct Row {
    const char *name;
    std::function<std::shared_ptr<QXNetBaseScene>(FakeSceneState::Values &)> make;
    const char *method;
    QString path; // as the server sees it
    Pairs query;  // decoded, order free
    bool clientFields;
    Pairs headers; // scene header fields, exactly
    QByteArray body;
    int timeout;
    const char *answer; // a success answer of the scene's kind...
    const char *result; // ...and what the callback gets (nullptr: undefined)
};

template <typename T, typename F>
std::function<std::shared_ptr<QXNetBaseScene>(FakeSceneState::Values &)> make(F configure)
{
    return [configure](FakeSceneState::Values &state) {
        auto scene = std::make_shared<T>();
        configure(*scene, state);
        return std::shared_ptr<QXNetBaseScene>(scene);
    };
}
template <typename T> std::function<std::shared_ptr<QXNetBaseScene>(FakeSceneState::Values &)> plain()
{
    return make<T>([](T &, FakeSceneState::Values &) {});
}

// Scalars too: "\"Hello\"" is the text Hello; nullptr is an undefined value.
QJsonValue expectedValue(const char *text)
{
    if (!text)
        return QJsonValue(QJsonValue::Undefined);
    return QJsonDocument::fromJson(QByteArray("[") + text + "]").array().first();
}

Pairs sorted(Pairs p)
{
    std::sort(p.begin(), p.end());
    return p;
}

QStringList headerNames(const HttpRequestRecord &r)
{
    QStringList names;
    for (const auto &h : r.headers)
        names << QString::fromLatin1(h.first).toLower();
    return names;
}

} // namespace

TEST_F(NetTest, EverySceneSendsItsRequestAndReadsItsAnswer)
{
    const QString hostPort = QStringLiteral("127.0.0.1:%1").arg(server.port());
    const QString asrUrl = server.baseUrl() + "/elsewhere/asr?cuid=1";
    // clang-format off
    const Row rows[] = {
        {"login", make<QXLoginScene>([](auto &s, auto &) { s.account = "a+b@x.com"; s.password = "p&w=1"; }),
         "POST", "/api/login", {{"account", "a+b@x.com"}, {"password", "p&w=1"}, {"serialNo", "SN1"}}, false,
         kHtmlHeader, {}, 10, kOkAccount, R"({"k":"v"})"},
        {"register", make<QXRegisterScene>([](auto &s, auto &) {
             s.account = "+8613800000000"; s.code = "1234"; s.password = "pw"; s.type = "PHONE"; }),
         "POST", "/api/register",
         {{"account", "+8613800000000"}, {"code", "1234"}, {"password", "pw"}, {"type", "PHONE"}}, false,
         kHtmlHeader, {}, 10, kOkAccount, R"({"k":"v"})"},
        {"verify code, no country", make<QXGetVerifyCodeScene>([](auto &s, auto &) {
             s.account = "a@b.com"; s.accountType = "EMAIL"; s.codeType = "REGISTER"; }),
         "POST", "/api/getCode",
         {{"account", "a@b.com"}, {"accountType", "EMAIL"}, {"codeType", "REGISTER"}, {"country", ""}}, false,
         kHtmlHeader, {}, 10, kOkAccount, R"({"k":"v"})"},
        {"reset password", make<QXModifyPasswordScene>([](auto &s, auto &) {
             s.account = "a@b.com"; s.code = "99"; s.password = "new pw"; }),
         "POST", "/api/resetPwd", {{"account", "a@b.com"}, {"code", "99"}, {"password", "new pw"}}, false,
         kHtmlHeader, {}, 10, kOkAccount, R"({"k":"v"})"},
        {"member info", make<QXUserInfoScene>([](auto &s, auto &) { s.token = "t/1+"; }),
         "GET", "/api/memberInfo", {{"token", "t/1+"}}, true, kHtmlHeader, {}, 10, kOkAccount, R"({"k":"v"})"},
        {"order state", make<QXQueryOrderStateScene>([](auto &s, auto &) { s.orderNo = "O1"; }),
         "GET", "/api/queryOrderStatus", {{"orderNo", "O1"}}, true, kHtmlHeader, {}, 10, kOkAccount, R"({"k":"v"})"},
        {"goods", make<QXGoodsListScene>([](auto &s, auto &) { s.type = "KEYBOARD"; }),
         "GET", "/api/goods", {{"type", "MOUSE"}}, true, kHtmlHeader, {}, 10, kOkAccount, R"({"k":"v"})"},
        {"country codes", plain<QXGetCountryCodeScene>(),
         "GET", "/api", {}, true, kHtmlHeader, {}, 10, kOkAccount, R"({"k":"v"})"},
        {"device profile, forced", make<QXGetCustomerKeyScene>([](auto &, auto &st) { st.forceGet = true; }),
         "GET", "/api/getModelInfo",
         {{"productCode", "523"}, {"languageCode", "ZH_CN"}, {"sno", "SN1"}, {"id", ""},
          {"mac", "eth0_a1b2c3d4e5f6"}, {"firmwareVersion", "1.2"}, {"forceUpdate", "1"}},
         true, kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"product image", make<QXProductImageScene>([](auto &, auto &st) { st.product = "113"; st.uiLanguage = "EN_US"; }),
         "GET", "/api/productImg", {{"productCode", "113"}, {"languageCode", "EN_US"}}, true, kHtmlHeader, {}, 10,
         kOkDefault, R"({"k":"v"})"},
        {"save key", make<QXSaveCustomerKeyScene>([](auto &s, auto &) {
             s.sn = "OTHER"; s.cmdId = "1"; s.keyId = "2"; s.opId = "3"; }),
         "POST", "/api/addCustomerKey",
         {{"cmdId", "1"}, {"keyId", "2"}, {"opId", "3"}, {"sno", "SN1"}, {"userModelId", ""}, {"attr0", ""},
          {"attr1", ""}, {"attr2", ""}},
         false, kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"reset keys", make<QXResetCustomerKeyScene>([](auto &s, auto &) { s.sn = "OTHER"; }),
         "POST", "/api/resetCustomerKey", {{"sno", "SN1"}, {"userModelId", ""}}, false, kHtmlHeader, {}, 10,
         kOkDefault, R"({"k":"v"})"},
        {"burner info", make<QXUploadBurnerInfoScene>([](auto &s, auto &) {
             s.channel = "QX"; s.firmwareVersion = "V1.2"; s.softVersion = "113"; }),
         "GET", "/api/addHardware", {{"channel", "QX"}, {"firmwareVersion", "V1.2"}, {"softVersion", "113"}}, true,
         kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"firmware check", make<QXOTAUpdateScene>([](auto &s, auto &) { s.productCode = "113"; s.type = "USB"; }),
         "GET", "/api/upgrade", {{"planCode", "PLAN001"}, {"productCode", "113"}, {"type", "USB"}, {"num", ""}}, true,
         kHtmlHeader, {}, 10, R"({"rc":0,"msg":"","data":{"num":"15","downloadUrl":"http://dl.test/fw.txt"}})",
         R"({"num":"15","downloadUrl":"http://dl.test/fw.txt"})"},
        {"translate", make<QXTranslateScene>([](auto &s, auto &) { s.toLanguage = "EN_US"; s.text = "你好 a&b=c"; }),
         "GET", "/api/translate", {{"appkey", "K1"}, {"from", "auto"}, {"to", "EN_US"}, {"text", "你好 a&b=c"}}, true,
         kHtmlHeader, {}, 10, R"({"rc":0,"data":{"text":"你好","transText":"Hello"}})",
         R"({"text":"你好","transText":"Hello"})"},
        {"custom commands", plain<QXCustomInstructionScene>(),
         "GET", "/api/deviceCmd", {{"sn", "SN1"}}, false, kHtmlHeader, {}, 10, kOkWhole, kOkWhole},
        {"common commands", plain<QXCommonCmdListScene>(),
         "POST", "/api/commonCmd", {}, false, kHtmlHeader, {}, 10, kOkWhole, kOkWhole},
        {"add command", make<QXAddCommandScene>([](auto &s, auto &) {
             QXStringMap p = QXNetBaseScene::defaultClientFields();
             p.insert("customName", "打开浏览器");
             p.insert("customCmd", "open web");
             p.insert("cmdType", "2");
             s.setMyParameters(p); }),
         "GET", "/api/saveDeviceCmd", {{"customName", "打开浏览器"}, {"customCmd", "open web"}, {"cmdType", "2"}}, true,
         kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"delete command", make<QXDeleteCommandScene>([](auto &s, auto &) {
             QXStringMap p = QXNetBaseScene::defaultClientFields();
             p.insert("customCmd", "open web");
             s.setMyParameters(p); }),
         "GET", "/api/deleteDeviceCmd", {{"customCmd", "open web"}}, true, kHtmlHeader, {}, 10, kOkDefault,
         R"({"k":"v"})"},
        {"verify mouse", make<QXVerifyMouseScene>([](auto &s, auto &) {
             s.setMyParameters({{"vid", "12625"}, {"pid", "8875"}, {"sn", "SN1"}, {"channel", "QX"},
                                {"cpusn", "A1:B2:C3:D4:E5:F6"}, {"version", "1.0.3"}}); }),
         "GET", "/api/verifyMouse",
         {{"vid", "12625"}, {"pid", "8875"}, {"sn", "SN1"}, {"channel", "QX"}, {"cpusn", "A1:B2:C3:D4:E5:F6"},
          {"version", "1.0.3"}},
         false, kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"translation languages, abroad", make<QXGetTranslateLangageScene>([](auto &, auto &st) { st.mouseSource = 1; }),
         "GET", "/api/transLanguages", {{"appkey", "K1"}, {"region", "out"}}, true, kHtmlHeader, {}, 10, kOkDefault,
         R"({"k":"v"})"},
        {"translation languages, home", plain<QXGetTranslateLangageScene>(),
         "GET", "/api/transLanguages", {{"appkey", "K1"}}, true, kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"channel update", make<QXCanUploadMouseScene>([](auto &s, auto &) { s.channel = "c1"; }),
         "GET", "/api/channelUpdate", {{"channel", "c1"}}, true, kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"speech vendor keys", plain<QXGetXunFeiKeyScene>(),
         "GET", "/api/getXfInfo", {}, true, kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"ai prompt", make<QXAIScene>([](auto &s, auto &) { s.prompt = "why?"; }),
         "POST", "/api/chat", {{"prompt", "why?"}}, false, kHtmlHeader, {}, 60, kOkDefault, R"({"k":"v"})"},
        {"languages", make<QXLanguageScene>([](auto &s, auto &) { s.productCode = "113"; }),
         "GET", "/api2/languages", {}, true, kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"app keys, asia", make<QXGetAppKeyScene>([](auto &s, auto &st) { st.mouseSource = 2; s.setMyParameters({}); }),
         "GET", "/api2/appkeys", {{"channelName", "quorvex_asia"}}, false, kHtmlHeader, {}, 10, kOkDefault,
         R"({"k":"v"})"},
        {"app keys, abroad", make<QXGetAppKeyScene>([](auto &s, auto &st) { st.mouseSource = 1; s.setMyParameters({}); }),
         "GET", "/api2/appkeys", {{"channelName", "quorvex_out"}}, false, kHtmlHeader, {}, 10, kOkDefault,
         R"({"k":"v"})"},
        {"app keys, other source", make<QXGetAppKeyScene>([](auto &s, auto &st) { st.mouseSource = 5; s.setMyParameters({}); }),
         "GET", "/api2/appkeys", {{"channelName", "quorvex"}}, false, kHtmlHeader, {}, 10, kOkDefault, R"({"k":"v"})"},
        {"network check", make<QXCheckNetWorkScene>([](auto &s, auto &) { s.setMyParameters({}); }),
         "GET", "/data/sk/101010100.html", {}, false, kHtmlHeader, {}, 10, R"({"weatherinfo":{"city":"x"}})", nullptr},
        {"microsoft translator", make<QXMicrosoftTransNetScene>([](auto &s, auto &) {
             s.setMyRequestBody(QByteArray(R"([{"Text":"你好"}])")); }),
         "POST", "/ms/translate", {{"api-version", "3.0"}, {"from", ""}, {"to", "EN_US"}}, false,
         {{"Content-Type", "application/json"}, {"Ocp-Apim-Subscription-Key", "5e0a9c3f71d84b26a8f4c90d2e7b1a63"},
          {"X-ClientTraceId", "d27f0b8c64e1493a9c5e7a1b3f08d6e2"}, {"Host", hostPort}},
         QByteArray(R"([{"Text":"你好"}])"), 10, R"([{"translations":[{"text":"Hello","to":"en"}]}])", R"("Hello")"},
        {"baidu token", plain<QXBaiduAccessNetScene>(),
         "GET", "/baidu-oauth/oauth/2.0/token", {}, true,
         {{"Content-Type", "application/json"}, {"Cache-Control", "no-store"}}, {}, 10,
         R"({"access_token":"24.abc","expires_in":2592000})", R"("24.abc")"},
        {"baidu speech", make<QXBaiduAsrNetScene>([](auto &s, auto &) { s.setMyRequestBody(QByteArray(64, '\x01')); }),
         "POST", "/baidu-asr/server_api", {}, false, {{"Content-Type", "audio/pcm;rate=16000"}}, QByteArray(64, '\x01'),
         10, R"({"err_no":0,"err_msg":"success.","result":["你好"]})", R"(["你好"])"},
        {"baidu speech, own address", make<QXBaiduAsrNetScene>([asrUrl](auto &s, auto &) { s.myRequestURL = asrUrl; }),
         "POST", "/elsewhere/asr", {{"cuid", "1"}}, false, {{"Content-Type", "audio/pcm;rate=16000"}}, {}, 10,
         R"({"err_no":0,"result":[]})", "[]"},
        {"ifly speech", make<QXiFlyAsrNetScene>([](auto &s, auto &) { s.setMyRequestBody("audio=x"); }),
         "POST", "/ifly/v1/service/v1/iat", {}, false, kHtmlHeader, "audio=x", 10,
         R"({"code":"0","desc":"success","data":"你好"})", R"("你好")"},
        {"semantic", plain<QXSemanticAnalysisScene>(),
         "GET", "/semantic/dbzy/saapi.json", {}, true, kHtmlHeader, {}, 10,
         R"({"rc":0,"semantic":[{"pars":[{"value":"v1"}]}]})", R"("v1")"},
    };
    // clang-format on

    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        state.v = {};
        auto scene = row.make(state.v);
        server.enqueue(HttpScriptedReply::json(row.answer));
        auto d = send(scene);
        ASSERT_EQ(d->calls, 1);
        EXPECT_TRUE(d->success) << d->error.message.toStdString();
        EXPECT_EQ(d->value, expectedValue(row.result));

        const HttpRequestRecord &r = server.lastRequest();
        EXPECT_EQ(r.method, row.method);
        EXPECT_EQ(QString::fromLatin1(r.path), row.path);
        Pairs query = row.query;
        if (row.clientFields)
            query += kClientFields;
        EXPECT_EQ(sorted(r.queryItems()), sorted(query));
        for (const auto &[name, value] : row.headers)
            EXPECT_EQ(QString::fromUtf8(r.header(name.toLatin1())), value) << name.toStdString();
        QStringList names = headerNames(r);
        EXPECT_EQ(names.removeDuplicates(), 0) << names.join(",").toStdString();
        bool sceneSetsType = false;
        for (const auto &h : row.headers)
            sceneSetsType = sceneSetsType || h.first == "Content-Type";
        if (!sceneSetsType) {
            EXPECT_FALSE(r.hasHeader("Content-Type"));
        }
        EXPECT_EQ(r.body, row.body);
        EXPECT_EQ(qxBuildSceneRequest(*scene).request.transferTimeout(), row.timeout * 1000);
    }
}

TEST_F(NetTest, DeviceProfileConsumesTheForceFlagOnce)
{
    state.v.forceGet = true;
    state.v.product = "113";
    for (const char *expected : {"1", "0", "0"}) {
        server.enqueue(HttpScriptedReply::json(R"({"rc":0,"data":{}})"));
        ASSERT_EQ(send(std::make_shared<QXGetCustomerKeyScene>())->calls, 1);
        EXPECT_EQ(server.lastRequest().queryValue("forceUpdate"), expected);
        EXPECT_EQ(server.lastRequest().queryValue("productCode"), "113");
    }
    // The scene is filled when created, before any URL is built.
    state.v.sn = "SN9";
    EXPECT_EQ(QXGetCustomerKeyScene().sn, "SN9");
}

TEST_F(NetTest, FreshInstallClientFieldsAndAMissingMacAddress)
{
    state.v.vid = 0;
    state.v.pid = 0;
    state.v.sn.clear();
    state.v.mac.clear();
    const QXStringMap expected{{"vid", "0"},          {"pid", "0"},    {"sn", ""},
                               {"channelName", "QX"}, {"macAddr", ""}, {"clientversion", "1.0.3"}};
    EXPECT_EQ(QXNetBaseScene::defaultClientFields(), expected);
    // A translation whose text holds "sn=" keeps its client fields.
    QXTranslateScene translate;
    translate.text = "hello sn=1";
    server.enqueue(HttpScriptedReply::json(R"({"rc":0})"));
    ASSERT_EQ(send(std::make_shared<QXTranslateScene>(translate))->calls, 1);
    EXPECT_EQ(server.lastRequest().queryValue("text"), "hello sn=1");
    EXPECT_EQ(server.lastRequest().queryValue("channelName"), "QX");
}

TEST_F(NetTest, BasesComeFromTheEnvironmentThenThePreferencesThenTheBuiltInValue)
{
    qunsetenv("QX_API_BASE");
    EXPECT_EQ(qxServiceBase(QXService::MakerApi), "http://api.quorvex.com/api");
    defaultStore().setValue(qxServiceStoreKey(QXService::MakerApi), "http://staging.test/api/");
    EXPECT_EQ(qxServiceBase(QXService::MakerApi), "http://staging.test/api");
    qputenv("QX_API_BASE", "http://127.0.0.1:1/api");
    EXPECT_EQ(qxServiceBase(QXService::MakerApi), "http://127.0.0.1:1/api");
    EXPECT_EQ(qxServiceHostName(QXService::MakerApi), "127.0.0.1:1");
    defaultStore().remove(qxServiceStoreKey(QXService::MakerApi));
}

TEST(AnswerModelsTest, FirmwareAndGoodsRecordsMapTheirKeys)
{
    const QJsonObject ota =
        QJsonDocument::fromJson(
            R"({"showNum":"1.5","num":15,"downloadUrl":"http://dl.test/fw.txt","type":"USB","planCode":"PLAN001"})")
            .object();
    const QXOTAModel m = QXOTAModel::fromJson(ota);
    EXPECT_EQ(m.num, "15");
    EXPECT_EQ(m.downloadUrl, "http://dl.test/fw.txt");
    EXPECT_EQ(m.attr1, "");

    const QXGoodsModel g = QXGoodsModel::fromJson(
        QJsonDocument::fromJson(R"({"id":"g1","name":"n","goodsSpecs":[{"id":"s1","priceShow":"9.9"},"junk"]})")
            .object());
    EXPECT_EQ(g.idStr, "g1");
    ASSERT_EQ(g.goodsSpecs.size(), 1);
    EXPECT_EQ(g.goodsSpecs[0].idStr, "s1");
    EXPECT_EQ(g.goodsSpecs[0].priceShow, "9.9");
    EXPECT_FALSE(g.goodsSpecs[0].isSelected);
    EXPECT_TRUE(QXGoodsModel::fromJson(QJsonObject{{"id", "g2"}}).goodsSpecs.isEmpty());
}

// The scenes over the application's real state objects.
class AppSceneStateTest : public NetServerTest {
protected:
    ScopedUserInfoData app;
};

TEST_F(AppSceneStateTest, ScenesReadTheStoredDeviceTheProfileAndTheMachine)
{
    pz::setMacAddressOverride(QStringLiteral("AA:BB:CC:DD:EE:01"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.3"));
    QXMouseInfoItem &device = app->mouseInfoItem();
    device.setVid(0x3151);
    device.setPid(0x22AB);
    device.setSn(QStringLiteral("SN1"));
    device.setMouseType(523);
    device.setFirmwareVersion(QStringLiteral("1.2"));
    device.setMouseSource(1);
    app->setIsForceGetRequest(true);

    const QXStringMap expected{{"vid", "12625"},
                               {"pid", "8875"},
                               {"sn", "SN1"},
                               {"channelName", "QX"},
                               {"macAddr", "AA:BB:CC:DD:EE:01"},
                               {"clientversion", "1.0.3"}};
    EXPECT_EQ(QXNetBaseScene::defaultClientFields(), expected);

    server.enqueue(HttpScriptedReply::json(R"({"rc":0,"data":{}})"));
    ASSERT_EQ(send(std::make_shared<QXGetCustomerKeyScene>())->calls, 1);
    const HttpRequestRecord profile = server.lastRequest();
    EXPECT_EQ(profile.queryValue("productCode"), "523");
    EXPECT_EQ(profile.queryValue("sno"), "SN1");
    EXPECT_EQ(profile.queryValue("firmwareVersion"), "1.2");
    EXPECT_EQ(profile.queryValue("forceUpdate"), "1");
    EXPECT_EQ(profile.queryValue("mac"), QXToolManager::macAdress());
    EXPECT_EQ(profile.queryValue("languageCode"), QXLanguageManager::sharedInstance().readUILanguageCode());
    EXPECT_FALSE(app->isForceGetRequest());

    // The built-in application key when none is stored; the region of a device sold abroad.
    server.enqueue(HttpScriptedReply::json(R"({"rc":0})"));
    ASSERT_EQ(send(std::make_shared<QXGetTranslateLangageScene>())->calls, 1);
    EXPECT_EQ(server.lastRequest().queryValue("appkey"), app->appKey());
    EXPECT_FALSE(app->appKey().isEmpty());
    EXPECT_EQ(server.lastRequest().queryValue("region"), "out");

    // An unplugged device keeps its last values; an unreadable address is sent as "".
    app->setMouseIsConnect(false);
    pz::setMacAddressOverride(QString());
    EXPECT_EQ(QXNetBaseScene::defaultClientFields().value("sn"), "SN1");
    EXPECT_EQ(QXNetBaseScene::defaultClientFields().value("macAddr"), "");
    pz::setMacAddressOverride(std::nullopt);
}
