#include "NetWorld.h"
#include "QXFileDownload.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class FileDownloadTest : public ::testing::Test, protected NetWorld {
protected:
    struct Outcome {
        int calls = 0;
        QXDownloadResult result;
        QString suggested = QStringLiteral("<not asked>");
    };

    // Downloads path from the server into the folder; nameFor defaults to the suggestion.
    Outcome run(const QString &path, std::optional<QString> name = std::nullopt)
    {
        auto outcome = std::make_shared<Outcome>();
        QXFileDownload::start(
            QUrl(server.baseUrl() + path), dir.path(),
            [outcome, name](const QString &suggested) {
                outcome->suggested = suggested;
                return name ? *name : suggested;
            },
            [outcome](const QXDownloadResult &r) {
                ++outcome->calls;
                outcome->result = r;
            });
        EXPECT_EQ(outcome->calls, 0) << "completion ran before start() returned";
        (void)QTest::qWaitFor([&] { return outcome->calls > 0; }, 5000);
        runUntilIdle(); // a second completion would show here
        return *outcome;
    }

    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(FileDownloadTest, SavesACompleteAnswerUnderTheSuggestedName)
{
    auto withName = HttpScriptedReply::withContentType("application/octet-stream", "image-1");
    withName.headers.append(
        qMakePair(QByteArray("Content-Disposition"), QByteArray("attachment; filename=\"named.bin\"")));
    server.enqueue(withName);
    Outcome o = run("/x/fw_1.3.bin");
    ASSERT_EQ(o.calls, 1);
    EXPECT_TRUE(o.result.ok) << o.result.error.toStdString();
    EXPECT_EQ(o.suggested, "named.bin");
    EXPECT_EQ(o.result.filePath, dir.filePath("named.bin"));
    EXPECT_EQ(o.result.httpStatus, 200);
    EXPECT_EQ(readFile(o.result.filePath), "image-1");

    // Without the header the URL's last segment names it; an existing file is replaced.
    QFile old(dir.filePath("fw_1.3.bin"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old image");
    old.close();
    server.enqueue(HttpScriptedReply::withContentType("application/octet-stream", "image-2"));
    o = run("/x/fw_1.3.bin");
    ASSERT_TRUE(o.result.ok);
    EXPECT_EQ(o.result.filePath, dir.filePath("fw_1.3.bin"));
    EXPECT_EQ(readFile(o.result.filePath), "image-2");
    EXPECT_EQ(files(), (QStringList{"fw_1.3.bin", "named.bin"})) << "no temporary file is left";
}

TEST_F(FileDownloadTest, CompressedBodyIsSavedInflated)
{
    const QByteArray image(5000, 'x');
    auto reply = HttpScriptedReply::withContentType("application/octet-stream", qCompress(image).mid(4));
    reply.headers.append(qMakePair(QByteArray("Content-Encoding"), QByteArray("deflate")));
    server.enqueue(reply);
    const Outcome o = run("/x/fw.bin");
    ASSERT_TRUE(o.result.ok) << o.result.error.toStdString();
    EXPECT_EQ(readFile(o.result.filePath), image);
}

TEST_F(FileDownloadTest, FailuresLeaveTheExistingFileAndNoPartialOne)
{
    QFile old(dir.filePath("fw.bin"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("good image");
    old.close();

    struct Row {
        HttpScriptedReply reply;
        std::optional<QString> name;
        int status;
        const char *why;
    };
    const Row rows[] = {
        {HttpScriptedReply::html(404, "<html>not found</html>"), std::nullopt, 404, "error page"},
        {HttpScriptedReply::html(500, "<html>oops</html>"), std::nullopt, 500, "server error"},
        {HttpScriptedReply::rawBytes("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\npartial image"), std::nullopt, 200,
         "connection dropped mid-body"},
        {HttpScriptedReply::closeEarly(), std::nullopt, 0, "connection closed before an answer"},
        {HttpScriptedReply::rawBytes("garbage\r\n\r\n"), std::nullopt, 0, "not HTTP"},
        {HttpScriptedReply::withContentType("application/octet-stream", "x"), QString(), 200, "name refused"},
        {HttpScriptedReply::withContentType("application/octet-stream", "x"), QString("../fw.bin"), 200,
         "a name that is not plain"},
    };
    // The network stack retries a GET whose connection closed without an answer, so
    // every request gets the row's reply.
    HttpScriptedReply current;
    server.setHandler([&current](const HttpRequestRecord &) { return current; });
    for (const Row &r : rows) {
        current = r.reply;
        const Outcome o = run("/x/fw.bin", r.name);
        EXPECT_EQ(o.calls, 1) << r.why;
        EXPECT_FALSE(o.result.ok) << r.why;
        EXPECT_FALSE(o.result.error.isEmpty()) << r.why;
        EXPECT_EQ(o.result.httpStatus, r.status) << r.why;
        EXPECT_EQ(readFile(dir.filePath("fw.bin")), "good image") << r.why;
        EXPECT_EQ(files(), QStringList{"fw.bin"}) << r.why;
    }
}

TEST_F(FileDownloadTest, UnusableStartsStillCompleteOnce)
{
    // No server at all: connection refused.
    quint16 unusedPort = 0;
    {
        LocalHttpServer gone;
        unusedPort = gone.port();
    }
    auto calls = std::make_shared<int>(0);
    QXFileDownload::start(QUrl(QString("http://127.0.0.1:%1/fw.bin").arg(unusedPort)), dir.path(), {},
                          [calls](const QXDownloadResult &r) { *calls += r.ok ? 100 : 1; });
    // A folder that cannot be made.
    QXFileDownload::start(QUrl(server.baseUrl() + "/fw.bin"), "/proc/no/such/folder", {},
                          [calls](const QXDownloadResult &r) { *calls += r.ok ? 100 : 1; });
    EXPECT_EQ(*calls, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return *calls == 2; }, 5000));
    runUntilIdle();
    EXPECT_EQ(*calls, 2);
    EXPECT_EQ(server.requestCount(), 0);
}
