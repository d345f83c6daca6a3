#include "NetTestFixture.h"

#include "CapturedMessages.h"
#include "HRVLocalizedString.h"
#include "QXServiceEndpoints.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QThread>

namespace {

using Kind = QXNetError::Kind;

// A scene whose every question a test can set.
struct TestScene final : QXNetBaseScene {
    QString url;
    QString method = QStringLiteral("GET");
    qint64 timeout = 10;
    qint64 mode = 2;
    QString requestURL() override { return url.isNull() ? mainApiBase() + QStringLiteral("/x") : url; }
    QString httpMethod() const override { return method; }
    qint64 timeOutInterval() const override { return timeout; }
    qint64 resultBackType() const override { return mode; }
};

std::shared_ptr<TestScene> scene(const QString &url = {})
{
    auto s = std::make_shared<TestScene>();
    s->url = url;
    return s;
}

const QList<QPair<QString, QString>> kClientFields = {
    {"channelName", "QX"}, {"clientversion", "1.0.3"}, {"macAddr", "A1:B2:C3:D4:E5:F6"}, {"pid", "8875"},
    {"sn", "SN1"},         {"vid", "12625"},
};

} // namespace

TEST_F(NetTest, GetSendsTheUrlQueryThenTheClientFieldsAndTheSceneHeader)
{
    server.enqueue(HttpScriptedReply::json(R"({"rc":0,"data":{"num":"7"}})"));
    auto d = send(scene(server.baseUrl() + "/api/productImg?productCode=113&languageCode=EN_US"));
    ASSERT_EQ(d->calls, 1);
    EXPECT_TRUE(d->success);
    EXPECT_EQ(d->value, json(R"({"num":"7"})"));
    EXPECT_TRUE(d->onMainThread);

    const HttpRequestRecord &r = server.lastRequest();
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.path, "/api/productImg");
    QList<QPair<QString, QString>> expected{{"productCode", "113"}, {"languageCode", "EN_US"}};
    expected += kClientFields;
    EXPECT_EQ(r.queryItems(), expected);
    EXPECT_EQ(r.header("Content-Type"), "text/html;charset=utf-8");
    EXPECT_TRUE(r.body.isEmpty());
}

TEST_F(NetTest, SceneOverridesOfHeaderParametersAndBodyAreTakenAsTheyAre)
{
    // POST without a body: no body, and the parameters travel nowhere.
    auto post = scene(server.baseUrl() + "/api/commonCmd");
    post->method = QStringLiteral("POST");
    server.enqueue(HttpScriptedReply::json(R"({"rc":0})"));
    ASSERT_EQ(send(post)->calls, 1);
    EXPECT_EQ(server.lastRequest().method, "POST");
    EXPECT_FALSE(server.lastRequest().hasQuery());
    EXPECT_TRUE(server.lastRequest().body.isEmpty());
    EXPECT_EQ(server.lastRequest().header("Content-Length"), "0");

    // POST with a body: exactly those bytes.
    auto withBody = scene(server.baseUrl() + "/api/asr");
    withBody->method = QStringLiteral("POST");
    withBody->setMyRequestBody(QByteArray("\x00\x01pcm", 5));
    server.enqueue(HttpScriptedReply::json(R"({"rc":0})"));
    ASSERT_EQ(send(withBody)->calls, 1);
    EXPECT_EQ(server.lastRequest().body, QByteArray("\x00\x01pcm", 5));

    // Empty header and parameter maps replace the defaults: nothing of them is sent.
    auto bare = scene();
    bare->setMyRequestHeader({});
    bare->setMyParameters({});
    server.enqueue(HttpScriptedReply::json(R"({"rc":0})"));
    ASSERT_EQ(send(bare)->calls, 1);
    EXPECT_FALSE(server.lastRequest().hasHeader("Content-Type"));
    EXPECT_FALSE(server.lastRequest().hasQuery());

    // Custom header fields replace the default Content-Type.
    auto custom = scene();
    custom->setMyRequestHeader({{"Accept", "text/json"}, {"X-Token", "t 1"}});
    server.enqueue(HttpScriptedReply::json(R"({"rc":0})"));
    ASSERT_EQ(send(custom)->calls, 1);
    EXPECT_EQ(server.lastRequest().header("X-Token"), "t 1");
    EXPECT_EQ(server.lastRequest().header("Accept"), "text/json");
    EXPECT_FALSE(server.lastRequest().hasHeader("Content-Type"));
}

TEST_F(NetTest, OnlyAnSnKeyInTheQuerySuppressesTheClientFields)
{
    struct Row {
        const char *query;
        bool clientFields;
    } rows[] = {{"?sn=SN1", false}, {"?sno=SN1", true}, {"?serialNo=SN1", true}, {"?usn=1", true}};
    for (const Row &row : rows) {
        server.enqueue(HttpScriptedReply::json(R"({"rc":0})"));
        ASSERT_EQ(send(scene(server.baseUrl() + "/api/x" + row.query))->calls, 1) << row.query;
        EXPECT_EQ(server.lastRequest().queryValue("vid") == "12625", row.clientFields) << row.query;
    }
}

TEST_F(NetTest, ValuesWithQueryCharactersAndNonAsciiArriveUnchanged)
{
    const QString values[] = {"a&b=c", "+8613800000000", "a+b@x.com", "50% #1", "two  spaces", "你好 é", "p&w=1?x/y"};
    for (const QString &v : values) {
        server.enqueue(HttpScriptedReply::json(R"({"rc":0})"));
        auto s = scene(qxBuildSceneUrl(QXNetBaseScene::mainApiBase(), "/translate", {{"text", v}, {"to", "EN_US"}}));
        auto own = std::make_shared<TestScene>(*s);
        own->setMyParameters({{"extra", v}});
        ASSERT_EQ(send(own)->calls, 1) << v.toStdString();
        EXPECT_EQ(server.lastRequest().queryValue("text"), v);
        EXPECT_EQ(server.lastRequest().queryValue("to"), "EN_US");
        EXPECT_EQ(server.lastRequest().queryValue("extra"), v);
        EXPECT_EQ(server.lastRequest().queryItems().size(), 3);
    }
}

TEST_F(NetTest, EveryFailingAnswerGivesOneFailureWithItsKind)
{
    struct Row {
        const char *what;
        HttpScriptedReply reply;
        Kind kind;
        qint64 code;
    };
    const Row rows[] = {
        {"server code", HttpScriptedReply::json(R"({"rc":12,"msg":"no device"})"), Kind::Server, 12},
        {"xml type", HttpScriptedReply::withContentType("application/xml", "{}"), Kind::ContentType, 0},
        {"no content type", HttpScriptedReply::noContentType(R"({"rc":0})"), Kind::ContentType, 0},
        {"no type, empty", HttpScriptedReply::noContentType(""), Kind::NoBody, -2},
        {"json, empty", HttpScriptedReply::json(""), Kind::NoBody, -2},
        {"not json", HttpScriptedReply::json("not json"), Kind::Json, 0},
        {"html 500", HttpScriptedReply::html(500, "<html><h1>Internal error</h1></html>"), Kind::HttpStatus, 500},
        {"html 404", HttpScriptedReply::html(404, "<html>gone</html>"), Kind::HttpStatus, 404},
        {"json 401 with rc 0", HttpScriptedReply::json(R"({"rc":0,"data":1})", 401), Kind::HttpStatus, 401},
        {"array for object", HttpScriptedReply::json("[1,2]"), Kind::Shape, 0},
        {"closed early", HttpScriptedReply::closeEarly(), Kind::Transport, -1},
        {"truncated body",
         HttpScriptedReply::rawBytes("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 40\r\n\r\n"
                                     "{\"rc\":0}"),
         Kind::Transport, -1},
        {"not http", HttpScriptedReply::rawBytes("hello there\r\n\r\n"), Kind::Transport, -1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        server.setHandler([&](const HttpRequestRecord &) { return row.reply; });
        auto d = send(scene());
        EXPECT_EQ(d->calls, 1);
        EXPECT_FALSE(d->success);
        EXPECT_EQ(d->error.kind, row.kind);
        if (row.code != -1) {
            EXPECT_EQ(d->error.code, row.code);
        }
        EXPECT_TRUE(d->onMainThread);
    }
    EXPECT_EQ(client().requestsInFlight(), 0);
}

TEST_F(NetTest, ASilentServerTimesOutAfterTheScenesTimeOut)
{
    server.enqueue(HttpScriptedReply::neverAnswer());
    auto s = scene();
    s->timeout = 1;
    QElapsedTimer clock;
    clock.start();
    auto d = send(s, 8000);
    ASSERT_EQ(d->calls, 1);
    EXPECT_FALSE(d->success);
    EXPECT_EQ(d->error.kind, Kind::Timeout);
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 5000);

    // A scene asking for no time-out still gets one.
    s->timeout = 0;
    EXPECT_EQ(qxBuildSceneRequest(*s).request.transferTimeout(), 15000);
    s->timeout = 60;
    EXPECT_EQ(qxBuildSceneRequest(*s).request.transferTimeout(), 60000);
}

// A time-out is reported like any other failure, with no warning of Qt's own.
using FinNetTimeOut = NetTest;

TEST_F(FinNetTimeOut, ATimedOutRequestLogsOnlyItsOwnFailure)
{
    CapturedMessages messages;
    server.enqueue(HttpScriptedReply::neverAnswer());
    auto s = scene();
    s->timeout = 1;
    auto d = send(s, 8000);
    ASSERT_EQ(d->calls, 1);
    EXPECT_EQ(d->error.kind, Kind::Timeout);
    // Ours begin with their area, "[net] failed ...".
    const QStringList qt = messages.warnings().filter(QRegularExpression(QStringLiteral("^[^[]")));
    EXPECT_TRUE(qt.isEmpty()) << qPrintable(qt.join(u'\n'));
}

TEST_F(NetTest, UnreachableNetworkAnswersBeforeTheCallReturnsAndSendsNothing)
{
    client().setReachabilityCheck([] { return true; });
    int calls = 0;
    QXNetError error;
    client().httpRequestWithScene(scene(), [&](bool ok, const QJsonValue &, const QXNetError &e) {
        ++calls;
        EXPECT_FALSE(ok);
        error = e;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(error.kind, Kind::Unreachable);
    EXPECT_EQ(error.message, hrvAppLocalizedString("请检查网络"));
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(NetTest, UnusableUrlsFailLaterWithoutSending)
{
    for (const char *base : {"not a url", "ftp://files.test/api", "http:///api", "http://bad host/api"}) {
        qputenv("QX_API_BASE", base);
        bool returned = false, calledBeforeReturn = false;
        auto d = std::make_shared<Delivery>();
        client().httpRequestWithScene(scene(), [&, d](bool ok, const QJsonValue &, const QXNetError &e) {
            calledBeforeReturn = !returned;
            ++d->calls;
            d->success = ok;
            d->error = e;
        });
        returned = true;
        (void)QTest::qWaitFor([&] { return d->calls > 0; }, 2000);
        EXPECT_EQ(d->calls, 1) << base;
        EXPECT_FALSE(calledBeforeReturn) << base;
        EXPECT_EQ(d->error.kind, Kind::InvalidRequest) << base;
    }
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(NetTest, RefusedConnectionIsATransportFailure)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    auto d = send(scene(QStringLiteral("http://127.0.0.1:%1/api/x").arg(closedPort)));
    ASSERT_EQ(d->calls, 1);
    EXPECT_EQ(d->error.kind, Kind::Transport);
    EXPECT_NE(d->error.code, 0);
}

TEST_F(NetTest, ConcurrentRequestsFromAnyThreadEachCompleteOnceOnTheMainThread)
{
    server.setHandler([](const HttpRequestRecord &r) {
        return HttpScriptedReply::json(R"({"rc":0,"data":")" + r.path.mid(r.path.lastIndexOf('/') + 1) + "\"}");
    });
    constexpr int kCount = 6;
    std::vector<Delivery> got(kCount);
    auto callbackFor = [&](int i) {
        return [&, i](bool ok, const QJsonValue &v, const QXNetError &) {
            ++got[i].calls;
            got[i].success = ok;
            got[i].value = v;
            got[i].onMainThread = QThread::currentThread() == qApp->thread();
        };
    };
    std::unique_ptr<QThread> worker(QThread::create([&] {
        for (int i = 0; i < kCount / 2; ++i)
            client().httpRequestWithScene(scene(server.baseUrl() + "/api/" + QString::number(i)), callbackFor(i));
    }));
    worker->start();
    for (int i = kCount / 2; i < kCount; ++i)
        client().httpRequestWithScene(scene(server.baseUrl() + "/api/" + QString::number(i)), callbackFor(i));
    worker->wait();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return std::all_of(got.begin(), got.end(), [](const Delivery &d) { return d.calls > 0; }); }, 8000));
    QCoreApplication::processEvents();
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(got[i].calls, 1) << i;
        EXPECT_TRUE(got[i].success) << i;
        EXPECT_EQ(got[i].value.toString(), QString::number(i));
        EXPECT_TRUE(got[i].onMainThread) << i;
    }

    // No callback at all is fine too.
    client().httpRequestWithScene(scene(), {});
    ASSERT_TRUE(server.waitForRequests(kCount + 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return client().requestsInFlight() == 0; }, 3000));
}
