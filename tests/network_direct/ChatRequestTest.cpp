#include "DirectNetTest.h"

#include "QXChatRequest.h"
#include "services/QXAIContentModel.h"

#include <openssl/evp.h>

namespace {

using Kind = QXNetError::Kind;
using Turns = QList<std::shared_ptr<QXAIContentModel>>;

// The server's side of the body: Base64, then AES-128-ECB with PKCS#7 padding.
std::optional<QByteArray> decryptBody(const QByteArray &body)
{
    const auto decoded = QByteArray::fromBase64Encoding(body, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    const QByteArray cipher = *decoded;
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    QByteArray plain(cipher.size() + 16, '\0');
    int n = 0, tail = 0;
    if (!EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr,
                            reinterpret_cast<const unsigned char *>(kQXChatBodyKey), nullptr)
        || !EVP_DecryptUpdate(ctx.get(), reinterpret_cast<unsigned char *>(plain.data()), &n,
                              reinterpret_cast<const unsigned char *>(cipher.constData()), int(cipher.size()))
        || !EVP_DecryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char *>(plain.data()) + n, &tail))
        return std::nullopt;
    plain.truncate(n + tail);
    return plain;
}

// Turns q1..qN; all but the last finished with answers a1..a(N-1).
Turns conversation(int n)
{
    Turns turns;
    for (int i = 1; i <= n; ++i) {
        auto turn = std::make_shared<QXAIContentModel>();
        turn->question = QStringLiteral("q%1").arg(i);
        if (i < n) {
            turn->answer = QStringLiteral("a%1").arg(i);
            turn->isFinished = true;
        }
        turns.append(turn);
    }
    return turns;
}

// The message list of user turns `from`..`to` of conversation(to).
QJsonArray expectedMessages(int from, int to)
{
    QJsonArray messages;
    for (int i = from; i <= to; ++i) {
        messages.append(QJsonObject{{"role", "user"}, {"content", QStringLiteral("q%1").arg(i)}});
        if (i < to)
            messages.append(QJsonObject{{"role", "assistant"}, {"content", QStringLiteral("a%1").arg(i)}});
    }
    return messages;
}

// Every call of one chat request, with the turn's state at that moment.
struct ChatCall {
    bool success;
    QString answer;
    bool finished;
    Kind error;
    qint64 atMs;
    bool onMainThread;
};

class ChatTest : public DirectNetTest {
protected:
    // Sends the chat and waits until the server answered and the first call ran.
    QList<ChatCall> &ask(const Turns &turns, int timeoutMs = 5000)
    {
        client().chatGPT(turns, turns.last(),
                         [this](bool ok, const std::shared_ptr<QXAIContentModel> &turn, const QXNetError &e) {
                             calls.append({ok, turn->answer, turn->isFinished, e.kind, scheduler.monotonicMs(),
                                           QThread::currentThread() == qApp->thread()});
                         });
        (void)QTest::qWaitFor([&] { return !calls.isEmpty(); }, timeoutMs);
        QCoreApplication::processEvents();
        return calls;
    }
    QList<ChatCall> calls;
};

} // namespace

TEST(ChatWire, AnswerPiecesAreTheStringTextsOfDataObjects)
{
    const struct {
        const char *what;
        QByteArray body;
        QStringList texts;
    } rows[] = {
        {"two pieces and a closing marker",
         R"({"data":{"text":"Hel"}}=====end====={"data":{"text":"Hello"}}=====end=====)",
         {"Hel", "Hello"}},
        {"no marker is one piece", R"({"data":{"text":"all"}})", {"all"}},
        {"an empty text is a text", R"({"data":{"text":""}}=====end=====)", {""}},
        {"garbage", "garbage", {}},
        {"empty body", "", {}},
        {"only markers", "=====end==========end=====", {}},
        {"piece without data", R"({"text":"x"}=====end====={"data":{"text":"y"}})", {"y"}},
        {"data not an object", R"({"data":"x"}=====end====={"data":[{"text":"x"}]})", {}},
        {"data without text", R"({"data":{}}=====end====={"data":{"txt":"x"}})", {}},
        {"texts that are not strings", R"({"data":{"text":5}}=====end====={"data":{"text":null}})", {}},
        {"an array piece", R"([{"data":{"text":"x"}}])", {}},
        {"a corrupted piece costs only itself",
         "{\"data\":{\"text\":\"a\"}}=====end====={\"data\":{\"text\":\"\xff\xfe\"}}=====end====={\"data\":{\"text\":"
         "\"c\"}}",
         {"a", "c"}},
        {"non-ASCII text", "{\"data\":{\"text\":\"你好\"}}", {QStringLiteral("你好")}},
        {"half a marker stays in the piece", R"({"data":{"text":"x"}}=====end==)", {}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(qxChatAnswerTexts(row.body), row.texts) << row.what;
}

TEST(ChatWire, BodyIsTheFixedKeyCipherOfTheMessageList)
{
    auto turn = std::make_shared<QXAIContentModel>();
    turn->question = QStringLiteral("hi");
    // Qt writes object keys sorted; the server reads JSON, not key order.
    EXPECT_EQ(qxChatRequestBody(qxChatMessageList({turn})),
              QByteArray("Lu5ZjFV4esWoIOrxbJqACf0qoTFpWN1L44KZpL5u9UCzLc8uInhHx6N7E1fsicpr"));
    EXPECT_EQ(qxChatMessageList({}), QJsonArray());
    // A finished turn whose answer is a raw stream sends the text of its last piece.
    turn->answer = QStringLiteral(R"(x=====end====={"data":{"text":"Hi!"}}=====end=====)");
    turn->isFinished = true;
    EXPECT_EQ(qxChatMessageList({turn, nullptr}), (QJsonArray{QJsonObject{{"role", "user"}, {"content", "hi"}},
                                                              QJsonObject{{"role", "assistant"}, {"content", "Hi!"}}}));
}

TEST_F(ChatTest, SendsTheLastFiveTurnsEncryptedAndReplaysThePieces5msApart)
{
    for (const auto &[turnCount, firstSent] : {std::pair{3, 1}, std::pair{7, 3}}) {
        SCOPED_TRACE(turnCount);
        calls.clear();
        server.enqueue(HttpScriptedReply::withContentType(
            "text/event-stream", R"({"data":{"text":"Hel"}}=====end====={"data":{"text":"Hello"}}=====end=====)"));
        const Turns turns = conversation(turnCount);
        const qint64 t0 = scheduler.monotonicMs();
        ask(turns);

        const HttpRequestRecord &r = server.lastRequest();
        EXPECT_EQ(r.method, "POST");
        EXPECT_EQ(r.target, "/api/chat");
        EXPECT_EQ(r.header("Accept"), "text/event-stream");
        EXPECT_EQ(r.header("Content-Type"), "application/json");
        const std::optional<QByteArray> plain = decryptBody(r.body);
        ASSERT_TRUE(plain);
        EXPECT_EQ(QJsonDocument::fromJson(*plain).array(), expectedMessages(firstSent, turnCount));

        // The first piece at once, each further call after 5 ms of virtual time.
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].answer, "Hel");
        EXPECT_FALSE(calls[0].finished);
        scheduler.advance(4);
        EXPECT_EQ(calls.size(), 1);
        scheduler.advance(1);
        ASSERT_EQ(calls.size(), 2);
        EXPECT_EQ(calls[1].answer, "Hello");
        EXPECT_FALSE(calls[1].finished);
        scheduler.advance(5);
        ASSERT_EQ(calls.size(), 3);
        EXPECT_EQ(calls[2].answer, "Hello");
        EXPECT_TRUE(calls[2].finished);
        scheduler.advance(1000);
        EXPECT_EQ(calls.size(), 3);
        for (const ChatCall &c : calls) {
            EXPECT_TRUE(c.success);
            EXPECT_TRUE(c.onMainThread);
        }
        EXPECT_EQ(calls[2].atMs - t0, 10);
        EXPECT_TRUE(turns.last()->isFinished);
        EXPECT_EQ(turns.last()->answer, "Hello");
    }
}

TEST_F(ChatTest, AnswerWithoutUsablePiecesStillFinishesButAFinishedTurnGetsNoClosingCall)
{
    // Garbage: no answer call, the closing call with the answer untouched.
    server.enqueue(HttpScriptedReply::withContentType("text/event-stream", "garbage"));
    Turns turns = conversation(1);
    turns.last()->answer = QStringLiteral("before");
    ask(turns);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].success);
    EXPECT_TRUE(calls[0].finished);
    EXPECT_EQ(calls[0].answer, "before");

    // A turn already finished: its piece, and nothing after.
    calls.clear();
    server.enqueue(HttpScriptedReply::withContentType("text/event-stream", R"({"data":{"text":"again"}})"));
    ask(turns);
    scheduler.advance(100);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].answer, "again");
}

TEST_F(ChatTest, FailuresCallBackOnceAndLeaveTheTurnUnfinished)
{
    const struct {
        const char *what;
        std::function<void()> arrange;
        Kind kind;
    } rows[] = {
        {"error page", [&] { server.enqueue(HttpScriptedReply::html(500, R"({"data":{"text":"no"}})")); },
         Kind::HttpStatus},
        // Qt retries a request whose connection closed at once: close every attempt.
        {"connection closed",
         [&] { server.setHandler([](const HttpRequestRecord &) { return HttpScriptedReply::closeEarly(); }); },
         Kind::Transport},
        {"no server", [&] { pointAt(deadBase()); }, Kind::Transport},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        calls.clear();
        pointAt(server.baseUrl());
        row.arrange();
        const Turns turns = conversation(2);
        ask(turns);
        scheduler.advance(100);
        ASSERT_EQ(calls.size(), 1);
        EXPECT_FALSE(calls[0].success);
        EXPECT_EQ(calls[0].error, row.kind);
        EXPECT_FALSE(turns.last()->isFinished);
        EXPECT_TRUE(turns.last()->answer.isEmpty());
        server.setHandler({});
    }
}

TEST_F(ChatTest, ASilentServerTimesOutAfterAMinute)
{
    server.enqueue(HttpScriptedReply::neverAnswer());
    const Turns turns = conversation(1);
    client().chatGPT(turns, turns.last(),
                     [this](bool ok, const std::shared_ptr<QXAIContentModel> &turn, const QXNetError &e) {
                         calls.append({ok, turn->answer, turn->isFinished, e.kind, scheduler.monotonicMs(), true});
                     });
    ASSERT_TRUE(server.waitForRequests(1));
    QTest::qWait(50); // let the last upload progress arrive
    scheduler.advance(kQXDirectRequestTimeoutMs - 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(calls.isEmpty());
    scheduler.advance(1);
    (void)QTest::qWaitFor([&] { return !calls.isEmpty(); }, 2000);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_FALSE(calls[0].success);
    EXPECT_EQ(calls[0].error, Kind::Timeout);
    EXPECT_FALSE(calls[0].finished);
}
