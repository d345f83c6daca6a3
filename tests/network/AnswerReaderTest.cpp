#include "QXAnswerReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

using Kind = QXNetError::Kind;

QJsonValue parse(const char *text)
{
    if (!text)
        return QJsonValue(QJsonValue::Undefined);
    const QJsonDocument doc = QJsonDocument::fromJson(text);
    if (doc.isArray())
        return doc.array();
    if (doc.isObject())
        return doc.object();
    // a scalar result ("\"Hallo\"", "5", "null"): wrap and unwrap
    return QJsonDocument::fromJson(QByteArray("[") + text + "]").array().first();
}

QXAnswerSpec spec(qint64 mode, const char *code = "rc", qint64 success = 0, const char *message = "msg",
                  const char *data = "data", const char *two = "")
{
    QXAnswerSpec s;
    s.mode = mode;
    s.codeField = QString::fromLatin1(code);
    s.successCode = success;
    s.messageField = QString::fromLatin1(message);
    s.dataOneFloorField = QString::fromLatin1(data);
    s.dataTwoFloorField = QString::fromLatin1(two);
    return s;
}

const QXAnswerSpec kDefault = spec(2);
const QXAnswerSpec kAccount = spec(2, "statusCode", 200, "message");

struct Row {
    const char *what;
    QXAnswerSpec spec;
    const char *answer;
    bool success;
    const char *value; // expected JSON (nullptr: undefined) on success
    Kind kind = Kind::None;
    qint64 code = 0;
    const char *message = "";
};

} // namespace

TEST(AnswerReaderTest, EveryParseModeReadsItsShapesAndRefusesTheOthers)
{
    QXAnswerSpec mode1 = spec(1);
    QXAnswerSpec mode1NoCode = spec(1, "");
    QXAnswerSpec twoFloor = spec(2, "rc", 0, "msg", "data", "x");
    QXAnswerSpec mode4 = spec(4);
    QXAnswerSpec token = spec(2, "", 0, "", "access_token");
    token.dataRequired = true;
    QXAnswerSpec asr = spec(2, "err_no", 0, "err_msg", "result");
    QXAnswerSpec ifly = spec(2, "code", 0, "desc", "data");

    const Row rows[] = {
        {"mode 0 takes anything", spec(0), R"([1,"a"])", true, R"([1,"a"])"},
        {"mode 1 code 0", mode1, R"({"rc":0,"data":[{"customCmd":"c"}]})", true,
         R"({"rc":0,"data":[{"customCmd":"c"}]})"},
        {"mode 1 failure", mode1, R"({"rc":2,"msg":"no sn"})", false, nullptr, Kind::Server, 2, "no sn"},
        {"mode 1 without code field", mode1NoCode, R"([3])", true, "[3]"},
        {"mode 1 on an array", mode1, R"([3])", false, nullptr, Kind::Shape},
        {"mode 2 data", kDefault, R"({"rc":0,"msg":"","data":{"num":"7"}})", true, R"({"num":"7"})"},
        {"mode 2 textual code", kDefault, R"({"rc":"0","data":[1,2]})", true, "[1,2]"},
        {"mode 2 server failure", kDefault, R"({"rc":12,"msg":"no device"})", false, nullptr, Kind::Server, 12,
         "no device"},
        {"mode 2 no code no data", kDefault, R"({"msg":"x"})", true, nullptr},
        {"mode 2 null code reads 0", kDefault, R"({"rc":null,"data":1})", true, "1"},
        {"mode 2 code with trailing text", kDefault, R"({"rc":"12abc","msg":"m"})", false, nullptr, Kind::Server, 12,
         "m"},
        {"mode 2 fractional code", kDefault, R"({"rc":0.5,"data":2})", true, "2"},
        {"mode 2 numeric message", kDefault, R"({"rc":5,"msg":42})", false, nullptr, Kind::Server, 5, "42"},
        {"mode 2 null message", kDefault, R"({"rc":5,"msg":null})", false, nullptr, Kind::Server, 5, ""},
        {"mode 2 on an array", kDefault, R"([{"rc":0}])", false, nullptr, Kind::Shape},
        {"account success", kAccount, R"({"statusCode":200,"message":"ok","data":{"token":"t"}})", true,
         R"({"token":"t"})"},
        {"account textual failure", kAccount, R"({"statusCode":"401","message":"bad password"})", false, nullptr,
         Kind::Server, 401, "bad password"},
        {"account answer without its code", kAccount, R"({"rc":0})", false, nullptr, Kind::Server, 0, ""},
        {"two floors", twoFloor, R"({"rc":0,"data":{"x":5}})", true, "5"},
        {"two floors over an array", twoFloor, R"({"rc":0,"data":[1]})", true, "[1]"},
        {"mode 3 empty", spec(3), "[]", true, R"("")"},
        {"mode 3 text", spec(3), R"([{"translations":[{"text":"Hallo","to":"de"}]}])", true, R"("Hallo")"},
        {"mode 3 no translations", spec(3), R"([{"translations":[]}])", true, R"("")"},
        {"mode 3 error object", spec(3), R"({"error":{"code":401}})", false, nullptr, Kind::Shape},
        {"mode 3 element not object", spec(3), R"([5])", false, nullptr, Kind::Shape},
        {"mode 3 translations not array", spec(3), R"([{"translations":{}}])", false, nullptr, Kind::Shape},
        {"mode 4 value", mode4, R"({"rc":0,"semantic":[{"pars":[{"value":"v1"}]}]})", true, R"("v1")"},
        {"mode 4 empty semantic", mode4, R"({"rc":0,"semantic":[]})", true, "[]"},
        {"mode 4 empty pars", mode4, R"({"rc":0,"semantic":[{"pars":[]}]})", true, R"([{"pars":[]}])"},
        {"mode 4 failure", mode4, R"({"rc":3,"msg":"M"})", false, nullptr, Kind::Server, 3, "M"},
        {"mode 4 no semantic", mode4, R"({"rc":0})", false, nullptr, Kind::Shape},
        {"mode 4 pars element not object", mode4, R"({"rc":0,"semantic":[{"pars":["v"]}]})", false, nullptr,
         Kind::Shape},
        {"unknown mode", spec(5), R"({"rc":0})", false, nullptr, Kind::Shape},
        {"negative mode", spec(-1), R"({"rc":0})", false, nullptr, Kind::Shape},
        {"token", token, R"({"access_token":"24.abc","expires_in":2592000})", true, R"("24.abc")"},
        {"token missing is a failure", token, R"({"error":"invalid_client"})", false, nullptr, Kind::Server},
        {"speech result", asr, R"({"err_no":0,"err_msg":"success.","result":["你好"]})", true, R"(["你好"])"},
        {"speech failure", asr, R"({"err_no":3301,"err_msg":"speech quality error."})", false, nullptr, Kind::Server,
         3301, "speech quality error."},
        {"ifly result", ifly, R"({"code":"0","desc":"success","data":"你好"})", true, R"("你好")"},
        {"ifly failure", ifly, R"({"code":"10105","desc":"illegal access"})", false, nullptr, Kind::Server, 10105,
         "illegal access"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const QXAnswerOutcome out = qxReadAnswerObject(row.spec, parse(row.answer));
        EXPECT_EQ(out.success, row.success);
        if (row.success) {
            EXPECT_EQ(out.value, parse(row.value));
            EXPECT_FALSE(out.error.isError());
        } else {
            EXPECT_EQ(out.error.kind, row.kind);
            if (row.kind == Kind::Server && row.code) {
                EXPECT_EQ(out.error.code, row.code);
                EXPECT_EQ(out.error.message, QString::fromUtf8(row.message));
            }
        }
    }
}

TEST(AnswerReaderTest, BodiesAreReadOnlyWithAnAcceptedTypeAndAsJson)
{
    struct BodyRow {
        const char *contentType;
        const char *body;
        Kind kind; // None: decoded
    } rows[] = {
        {"application/json", R"({"rc":0})", Kind::None},
        {"text/json", "[]", Kind::None},
        {"text/plain", "{}", Kind::None},
        {"Text/HTML; charset=UTF-8", "{}", Kind::None},
        {"application/xml", "{}", Kind::ContentType},
        {"", "{}", Kind::ContentType},
        {"", "", Kind::NoBody},
        {"application/json", "", Kind::NoBody},
        {"application/json", " \r\n", Kind::NoBody},
        {"application/json", "not json", Kind::Json},
        {"application/json", "\"text\"", Kind::Json},
        {"text/html", "<html><body>busy</body></html>", Kind::Json},
        {"application/json", "{\"a\":1} trailing", Kind::Json},
    };
    for (const BodyRow &row : rows) {
        SCOPED_TRACE(std::string(row.contentType) + " | " + row.body);
        const QXAnswerOutcome out = qxDecodeAnswerBody(row.contentType, row.body);
        EXPECT_EQ(out.success, row.kind == Kind::None);
        EXPECT_EQ(out.error.kind, row.kind);
        if (row.kind == Kind::NoBody) {
            EXPECT_EQ(out.error.code, -2);
            EXPECT_EQ(out.error.message, QStringLiteral("系统错误"));
        }
    }
    const QXAnswerOutcome status = qxReadHttpAnswer(kDefault, 503, "application/json", R"({"rc":0,"data":1})");
    EXPECT_FALSE(status.success);
    EXPECT_EQ(status.error.kind, Kind::HttpStatus);
    EXPECT_EQ(status.error.code, 503);
}
