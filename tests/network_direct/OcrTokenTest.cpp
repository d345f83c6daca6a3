#include "DirectNetTest.h"

#include "MultipartForm.h"
#include "PZString.h"
#include "QXDirectAnswers.h"
#include "QXLanguageManager.h"

namespace {

using Kind = QXNetError::Kind;

const QByteArray kPng("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR--boundary-like--\r\n\xff", 35);

// Runs one request kind with a scripted answer and returns what it delivered.
class OcrTokenTest : public DirectNetTest {
protected:
    std::shared_ptr<Delivery> twinLark(const QByteArray &image = kPng)
    {
        auto d = std::make_shared<Delivery>();
        client().twinLarkOcrWithBase64ImageData(image, recordInto(d));
        waitFor(d);
        return d;
    }
    std::shared_ptr<Delivery> token()
    {
        auto d = std::make_shared<Delivery>();
        client().getIFlytekTokenWithCallback(recordInto(d));
        waitFor(d);
        return d;
    }
};

} // namespace

TEST(OcrAnswers, RecognisedTextsAreJoinedLineByLine)
{
    const struct {
        const char *answer;
        bool success;
        QJsonValue value;
    } rows[] = {
        {R"({"data":{"words":[{"text":"a"},{"text":"b"}]}})", true, "a\nb"},
        {R"({"data":{"words":[{"text":""},{"text":"b"}]}})", true, "b"},
        {R"({"data":{"words":[{"text":"a"},{"text":""},{"text":"b"}]}})", true, "a\n\nb"},
        {R"({"data":{"words":[{"text":"a"},{"text":7},{},"x",{"text":"b"}]}})", true, "a\n\n\n\nb"},
        {R"({"data":{}})", true, ""},
        {R"({"data":{"words":"a"}})", true, ""},
        {R"({"data":[1]})", false, QJsonDocument::fromJson(R"({"data":[1]})").object()},
        {R"([{"data":{}}])", false, QJsonDocument::fromJson(R"([{"data":{}}])").array()},
    };
    for (const auto &row : rows) {
        const QJsonDocument doc = QJsonDocument::fromJson(row.answer);
        const QXAnswerOutcome out =
            qxReadTwinLarkOcrAnswer(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()));
        EXPECT_EQ(out.success, row.success) << row.answer;
        EXPECT_EQ(out.value, row.value) << row.answer;
    }

    const QXAnswerOutcome document = qxReadIFlytekOcrAnswer(
        QJsonDocument::fromJson(
            R"({"data":{"document":{"blocks":[{"lines":[{"text":"x"},{"text":"ignored"}]},{"lines":[]},{"lines":[{"text":"y"}]}]}}})")
            .object());
    EXPECT_TRUE(document.success);
    EXPECT_EQ(document.value, QJsonValue("x\n\ny"));
    EXPECT_EQ(qxReadIFlytekOcrAnswer(QJsonDocument::fromJson(R"({"data":{"document":{}}})").object()).value,
              QJsonValue(""));
}

TEST_F(OcrTokenTest, OcrUploadsARealMultipartFormAndJoinsTheWords)
{
    QXLanguageManager &languages = QXLanguageManager::sharedInstance();
    languages.setScreenshotsTranslateFromLanguageArray(QJsonArray{QJsonObject{{"code", "JA_JP"}}});
    languages.setScreenshotsFromTag(0);
    server.enqueue(
        HttpScriptedReply::withContentType("text/javascript", R"({"data":{"words":[{"text":"a"},{"text":"b"}]}})"));
    const auto d = twinLark();
    languages.setScreenshotsTranslateFromLanguageArray(QJsonArray());

    ASSERT_EQ(d->calls, 1);
    EXPECT_TRUE(d->success);
    EXPECT_EQ(d->value, QJsonValue("a\nb"));
    EXPECT_TRUE(d->onMainThread);

    const HttpRequestRecord &r = server.lastRequest();
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.target, "/api/ocr");
    const auto form = parseMultipartForm(r.header("Content-Type"), r.body);
    ASSERT_TRUE(form) << r.header("Content-Type").constData();
    ASSERT_EQ(form->size(), 2);
    EXPECT_EQ((*form)[0].dispositionParameter("name"), "language");
    EXPECT_FALSE((*form)[0].dispositionParameter("filename"));
    EXPECT_EQ((*form)[0].body, "JA_JP");
    EXPECT_EQ((*form)[1].dispositionParameter("name"), "file");
    EXPECT_EQ((*form)[1].dispositionParameter("filename"), "1700000000.png");
    EXPECT_EQ((*form)[1].header("Content-Type"), "image");
    EXPECT_EQ((*form)[1].body, kPng);
}

TEST_F(OcrTokenTest, DocumentOcrSignsItsHeaderFields)
{
    server.enqueue(HttpScriptedReply::json(
        R"({"data":{"document":{"blocks":[{"lines":[{"text":"x"}]},{"lines":[{"text":"y"}]}]}}})"));
    auto d = std::make_shared<Delivery>();
    client().ocrWithBase64ImageData(kPng, recordInto(d));
    waitFor(d);
    ASSERT_EQ(d->calls, 1);
    EXPECT_EQ(d->value, QJsonValue("x\ny"));

    // Built-in app id and key at 1700000000.
    const HttpRequestRecord &r = server.lastRequest();
    EXPECT_EQ(r.target, "/v1/service/v1/ocr/recognize_document");
    EXPECT_EQ(r.header("X-Appid"), "7c2d91fa");
    EXPECT_EQ(r.header("X-CurTime"), "1700000000");
    EXPECT_EQ(r.header("X-Param"), "eyJlbmdpbmVfdHlwZSI6InJlY29nbml6ZV9kb2N1bWVudCJ9");
    EXPECT_EQ(r.header("X-CheckSum"), "25d47c72ce0f52c6fa63433915fcbc37");
    const auto form = parseMultipartForm(r.header("Content-Type"), r.body);
    ASSERT_TRUE(form);
    ASSERT_EQ(form->size(), 2);
    EXPECT_EQ((*form)[0].dispositionParameter("name"), "engine_type");
    EXPECT_EQ((*form)[0].body, "recognize_document");
    EXPECT_EQ((*form)[1].dispositionParameter("name"), "image");
    EXPECT_EQ((*form)[1].body, kPng.toBase64());
}

TEST_F(OcrTokenTest, OcrFailuresCallBackOnceWithWhatWentWrong)
{
    const struct {
        const char *what;
        HttpScriptedReply reply;
        Kind kind;
        QJsonValue value;
    } rows[] = {
        {"data not an object", HttpScriptedReply::json(R"({"data":[1]})"), Kind::Shape,
         QJsonDocument::fromJson(R"({"data":[1]})").object()},
        {"array answer", HttpScriptedReply::json("[1]"), Kind::Shape, QJsonArray{1}},
        {"string answer", HttpScriptedReply::json(R"("text")"), Kind::Json, QJsonValue::Undefined},
        {"not JSON", HttpScriptedReply::withContentType("text/plain", "words"), Kind::Json, QJsonValue::Undefined},
        {"unread content type", HttpScriptedReply::withContentType("application/xml", "{}"), Kind::ContentType,
         QJsonValue::Undefined},
        {"empty body", HttpScriptedReply::json(""), Kind::NoBody, QJsonValue::Undefined},
        {"not found", HttpScriptedReply::html(404, R"({"data":{"words":[]}})"), Kind::HttpStatus,
         QJsonValue::Undefined},
        {"connection closed", HttpScriptedReply::closeEarly(), Kind::Transport, QJsonValue::Undefined},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        // Every attempt gets the reply: Qt retries a request whose connection closed at once.
        server.setHandler([&](const HttpRequestRecord &) { return row.reply; });
        const auto d = twinLark();
        ASSERT_EQ(d->calls, 1);
        EXPECT_FALSE(d->success);
        EXPECT_EQ(d->error.kind, row.kind);
        EXPECT_EQ(d->value, row.value);
    }
    server.setHandler({});

    // An empty image is refused without sending, after the call returns.
    const int sent = server.requestCount();
    auto d = std::make_shared<Delivery>();
    client().twinLarkOcrWithBase64ImageData(QByteArray(), recordInto(d));
    EXPECT_EQ(d->calls, 0);
    waitFor(d);
    EXPECT_EQ(d->calls, 1);
    EXPECT_EQ(d->error.kind, Kind::InvalidRequest);
    EXPECT_EQ(server.requestCount(), sent);
}

TEST_F(OcrTokenTest, WithoutNetworkNothingIsSentAndTheCallbackRunsAtOnce)
{
    client().setReachabilityCheck([] { return true; });
    std::shared_ptr<Delivery> got[] = {std::make_shared<Delivery>(), std::make_shared<Delivery>(),
                                       std::make_shared<Delivery>()};
    client().twinLarkOcrWithBase64ImageData(kPng, recordInto(got[0]));
    client().ocrWithBase64ImageData(kPng, recordInto(got[1]));
    client().getIFlytekTokenWithCallback(recordInto(got[2]));
    for (const auto &d : got) {
        EXPECT_EQ(d->calls, 1);
        EXPECT_FALSE(d->success);
        EXPECT_EQ(d->error.kind, Kind::Unreachable);
        EXPECT_EQ(d->error.message, "请检查网络");
    }
    runUntilIdle();
    EXPECT_EQ(server.requestCount(), 0);

    // Reported reachable but nothing listens: a transport failure.
    client().setReachabilityCheck([] { return false; });
    pointAt(deadBase());
    const auto d = twinLark();
    EXPECT_EQ(d->calls, 1);
    EXPECT_EQ(d->error.kind, Kind::Transport);
}

TEST_F(OcrTokenTest, ASilentOcrServerTimesOutAfterAMinute)
{
    server.enqueue(HttpScriptedReply::neverAnswer());
    auto d = std::make_shared<Delivery>();
    client().twinLarkOcrWithBase64ImageData(kPng, recordInto(d));
    ASSERT_TRUE(server.waitForRequests(1));
    QTest::qWait(50);
    scheduler.advance(kQXDirectRequestTimeoutMs - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(d->calls, 0);
    scheduler.advance(1);
    waitFor(d, 2000);
    ASSERT_EQ(d->calls, 1);
    EXPECT_EQ(d->error.kind, Kind::Timeout);
}

TEST_F(OcrTokenTest, TokenRequestSendsTheChipDataAndStoresTheAnswer)
{
    // Nothing reported by the chip yet.
    server.enqueue(HttpScriptedReply::json(R"({"token":"T1","expireAt":1700086400})"));
    auto d = token();
    ASSERT_EQ(d->calls, 1);
    EXPECT_TRUE(d->success);
    EXPECT_EQ(d->value, QJsonValue("T1"));
    EXPECT_EQ(server.lastRequest().target, "/v1/auth/tokens");
    EXPECT_EQ(server.lastRequest().header("Content-Type"), "application/json");
    EXPECT_EQ(json(server.lastRequest().body),
              json(R"({"productId":"4c7e19b2-5d83-4f06-a1e7-92b3c8d05f61","deviceId":"","curtime":0,"checksum":""})"));
    EXPECT_EQ(state->IFlytekChip_token(), "T1");
    EXPECT_EQ(state->IFlytekChip_tokenExpireAt(), "1700086400");

    state->setIFlytekChip_DeviceID(QStringLiteral("D1"));
    state->setIFlytekChip_time(1700000000);
    state->setIFlytekChip_AuthDataStr(QStringLiteral("QUJD"));
    server.enqueue(HttpScriptedReply::withContentType("text/plain", R"({"token":"T2"})"));
    d = token();
    EXPECT_TRUE(d->success);
    EXPECT_EQ(json(server.lastRequest().body),
              json(R"({"productId":"4c7e19b2-5d83-4f06-a1e7-92b3c8d05f61","deviceId":"D1","curtime":1700000000,)"
                   R"("checksum":"QUJD"})"));
    EXPECT_EQ(state->IFlytekChip_token(), "T2");
    EXPECT_EQ(state->IFlytekChip_tokenExpireAt(), "1700086400"); // an empty expiry is not stored
}

TEST_F(OcrTokenTest, TokenAnswersWithoutATokenFailAndKeepTheStoredOne)
{
    state->setIFlytekChip_token(QStringLiteral("OLD"));
    state->setIFlytekChip_tokenExpireAt(QStringLiteral("1"));
    const struct {
        const char *what;
        HttpScriptedReply reply;
        Kind kind;
    } rows[] = {
        {"no token", HttpScriptedReply::json(R"({"msg":"denied","expireAt":5})"), Kind::Shape},
        {"token not a text", HttpScriptedReply::json(R"({"token":12,"expireAt":5})"), Kind::Shape},
        {"empty token", HttpScriptedReply::json(R"({"token":""})"), Kind::Shape},
        {"array", HttpScriptedReply::json("[1]"), Kind::Shape},
        {"string", HttpScriptedReply::json(R"("T")"), Kind::Json},
        {"server error", HttpScriptedReply::json(R"({"token":"T9"})", 500), Kind::HttpStatus},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        server.enqueue(row.reply);
        const auto d = token();
        ASSERT_EQ(d->calls, 1);
        EXPECT_FALSE(d->success);
        EXPECT_EQ(d->error.kind, row.kind);
        EXPECT_EQ(state->IFlytekChip_token(), "OLD");
        EXPECT_EQ(state->IFlytekChip_tokenExpireAt(), "1");
    }
}
