#include "FakeDesktop.h"
#include "KeyValueStore.h"
#include "NetWorld.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"
#include "QXOTAUpdateManager.h"
#include "RecordingAlertPresenter.h"
#include "ScopedUserInfoData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kStatus = QString::fromLatin1(qx::notify::kUpdateOTAStatusNotification);

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

HttpScriptedReply firmware(const QByteArray &body, const QByteArray &contentDisposition = {})
{
    auto r = HttpScriptedReply::withContentType("application/octet-stream", body);
    if (!contentDisposition.isEmpty())
        r.headers.append(qMakePair(QByteArray("Content-Disposition"), contentDisposition));
    return r;
}

class OTAUpdateTest : public ::testing::Test, protected NetWorld {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        user->setProductCode(QStringLiteral("113"));
        user->mouseInfoItem().setFirmwareVersion(QStringLiteral("v1.V2"));
        user->mouseInfoItem().setDongleVersion(QStringLiteral("3.00"));
        server.setHandler([this](const HttpRequestRecord &r) {
            return routes.value(r.path, HttpScriptedReply::withContentType("text/plain", "no route", 404));
        });
    }
    QXOTAUpdateManager::Deps deps()
    {
        QXOTAUpdateManager::Deps d;
        d.store = &user.store();
        d.state = &user.state();
        d.alerts = &alerts;
        d.workspace = &workspace;
        d.appVersion = [this] { return appVersion; };
        d.localize = [](const QString &key) { return key; };
        return d;
    }

    // The upgrade service answers with this record.
    void answerUpgrade(const QString &downloadUrl, const QString &num = QStringLiteral("1.3"))
    {
        routes["/api/upgrade"] = HttpScriptedReply::json(
            QStringLiteral(R"({"rc":0,"msg":"","data":{"showNum":"%1","num":"%1","downloadUrl":"%2","type":"MOUSE"}})")
                .arg(num, downloadUrl)
                .toUtf8());
    }
    QString url(const QString &path) const { return server.baseUrl() + path; }
    QString inRoot(const QString &name) const { return QDir(QXOTAUpdateManager::firmwareFolder()).filePath(name); }

    int requestsFor(const QByteArray &path) const
    {
        int n = 0;
        for (const HttpRequestRecord &r : server.requests())
            n += r.path == path;
        return n;
    }

    // Runs a check and waits until it is over: the download's notification when one
    // is expected, else the upgrade answer has been handled and nothing followed.
    void check(bool dongle, bool expectDownload)
    {
        const int before = notes.count(kStatus);
        const int asked = requestsFor("/api/upgrade");
        dongle ? ota.checkDongleOTAInfo() : ota.checkOTAInfo();
        ASSERT_TRUE(QTest::qWaitFor([&] { return requestsFor("/api/upgrade") > asked; }, 5000));
        if (expectDownload) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return notes.count(kStatus) > before; }, 5000));
        } else {
            ASSERT_TRUE(QTest::qWaitFor([this] { return client().requestsInFlight() == 0; }));
            runUntilIdle(); // the answer's handling, and a download it would start
            EXPECT_EQ(notes.count(kStatus), before);
        }
        runUntilIdle();
    }

    void download(const QString &address, bool dongle = false)
    {
        const int before = notes.count(kStatus);
        dongle ? ota.downLoadDongleFileFromUrl(address) : ota.downLoadFileFromUrl(address);
        ASSERT_TRUE(QTest::qWaitFor([&] { return notes.count(kStatus) > before; }, 5000));
    }

    QStringList rootFiles() const
    {
        return QDir(QXOTAUpdateManager::firmwareFolder()).entryList(QDir::Files | QDir::Hidden);
    }

    ScopedUserInfoData user;
    QHash<QByteArray, HttpScriptedReply> routes;
    RecordingAlertPresenter alerts;
    FakeWorkspace workspace;
    QString appVersion = QStringLiteral("1.9");
    NotificationRecorder notes{QStringList{kStatus}};
    QXOTAUpdateManager ota{deps()};
};

} // namespace

TEST_F(OTAUpdateTest, ChecksSendTheFirmwareNumbersOfMouseAndReceiver)
{
    answerUpgrade(QString());
    check(false, false);
    const HttpRequestRecord mouse = server.lastRequest();
    EXPECT_EQ(mouse.path, "/api/upgrade");
    EXPECT_EQ(mouse.queryValue("planCode"), "PLAN001");
    EXPECT_EQ(mouse.queryValue("productCode"), "113");
    EXPECT_EQ(mouse.queryValue("type"), "MOUSE");
    EXPECT_EQ(mouse.queryValue("num"), "1.2") << "upper-cased, every V removed";

    user->mouseInfoItem().setFirmwareVersion(QStringLiteral("V1.2"));
    check(false, false);
    EXPECT_EQ(server.lastRequest().queryValue("num"), "1.2");

    check(true, false);
    EXPECT_EQ(server.lastRequest().queryValue("type"), "USB");
    EXPECT_EQ(server.lastRequest().queryValue("num"), "3.00") << "the receiver's version goes as it is";
}

TEST_F(OTAUpdateTest, ImageIsDownloadedOnceAndAgainAfterDeletion)
{
    answerUpgrade(url("/x/fw_1.3.bin"));
    routes["/x/fw_1.3.bin"] = firmware("image 1.3");

    check(false, true);
    const QString saved = inRoot("113_fw_1.3.bin");
    EXPECT_EQ(readFile(saved), "image 1.3");
    EXPECT_EQ(user.store().stringValue("kOTAFilePathKey_113"), saved);
    EXPECT_EQ(ota.filePath(), saved);
    EXPECT_TRUE(ota.needUpdate());
    EXPECT_EQ(ota.otaModel().num, "1.3");
    EXPECT_EQ(notes.count(kStatus), 1);

    // The same file is still here: nothing is fetched.
    check(false, false);
    EXPECT_EQ(requestsFor("/x/fw_1.3.bin"), 1);

    ota.deleteOTAFile();
    EXPECT_FALSE(QFileInfo::exists(saved));
    EXPECT_EQ(user.store().stringValue("kOTAFilePathKey_113"), "");
    EXPECT_FALSE(ota.needUpdate());

    check(false, true);
    EXPECT_EQ(requestsFor("/x/fw_1.3.bin"), 2);
    EXPECT_TRUE(ota.needUpdate());
    EXPECT_EQ(notes.count(kStatus), 2);
}

TEST_F(OTAUpdateTest, NoUsableAnswerMeansNoDownloadAndNoNotification)
{
    struct Row {
        HttpScriptedReply reply;
        const char *why;
    };
    const Row rows[] = {
        {HttpScriptedReply::html(500, "<html>down</html>"), "server error"},
        {HttpScriptedReply::json(R"({"rc":1,"msg":"no plan"})"), "service says no"},
        {HttpScriptedReply::json("{"), "malformed JSON"},
        {HttpScriptedReply::json(""), "empty body"},
        {HttpScriptedReply::json(R"({"rc":0})"), "no record"},
        {HttpScriptedReply::json(R"({"rc":0,"data":"fw.bin"})"), "record is not an object"},
        {HttpScriptedReply::json(R"({"rc":0,"data":{"num":"1.3"}})"), "no download address"},
        {HttpScriptedReply::json(R"({"rc":0,"data":{"downloadUrl":""}})"), "empty download address"},
        {HttpScriptedReply::json(R"({"rc":0,"data":{"downloadUrl":"file:///etc/passwd"}})"), "not a web address"},
        {HttpScriptedReply::json(R"({"rc":0,"data":{"downloadUrl":"http://"}})"), "no host"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.why);
        routes["/api/upgrade"] = r.reply;
        check(false, false);
        EXPECT_EQ(server.requestCount(), requestsFor("/api/upgrade"));
        EXPECT_EQ(user.store().stringValue("kOTAFilePathKey_113"), "");
    }
    EXPECT_TRUE(rootFiles().isEmpty()) << rootFiles().join(',').toStdString();
}

TEST_F(OTAUpdateTest, FailedDownloadsKeepThePreviousImageAndStillNotify)
{
    answerUpgrade(url("/x/fw_1.3.bin"));
    routes["/x/fw_1.3.bin"] = firmware("image 1.3");
    check(false, true);
    const QString good = inRoot("113_fw_1.3.bin");

    const HttpScriptedReply failures[] = {
        HttpScriptedReply::html(404, "<html><body>Not Found</body></html>"),
        HttpScriptedReply::html(503, "<html>busy</html>"),
        HttpScriptedReply::rawBytes("HTTP/1.1 200 OK\r\nContent-Length: 4096\r\n\r\n:10000000"),
        HttpScriptedReply::closeEarly(),
    };
    answerUpgrade(url("/x/fw_1.4.bin"), "1.4");
    int notified = notes.count(kStatus);
    for (const HttpScriptedReply &failure : failures) {
        routes["/x/fw_1.4.bin"] = failure;
        check(false, true);
        EXPECT_EQ(notes.count(kStatus), ++notified);
        EXPECT_EQ(user.store().stringValue("kOTAFilePathKey_113"), good);
        EXPECT_EQ(readFile(good), "image 1.3");
        EXPECT_TRUE(ota.needUpdate());
        EXPECT_EQ(rootFiles(), QStringList{"113_fw_1.3.bin"}) << "no partial file, no error page";
    }

    routes["/x/fw_1.4.bin"] = firmware("image 1.4");
    check(false, true);
    EXPECT_EQ(ota.filePath(), inRoot("113_fw_1.4.bin"));
    EXPECT_EQ(readFile(ota.filePath()), "image 1.4");
}

TEST_F(OTAUpdateTest, SuggestedNamesNeverLeaveTheFirmwareFolder)
{
    struct Row {
        QByteArray contentDisposition;
        QString saved;
    };
    const Row rows[] = {
        {"attachment; filename=\"../x\"", "113_x"},
        {"attachment; filename=\"../../../../tmp/evil.bin\"", "113_evil.bin"},
        {"attachment; filename=\"\"", "113_fw.bin"},
        {"attachment; filename=\".\"", "113_fw.bin"},
        {"attachment; filename=\"..\"", "113_fw.bin"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.contentDisposition.constData());
        routes["/d/fw.bin"] = firmware("image", r.contentDisposition);
        download(url("/d/fw.bin"));
        EXPECT_EQ(ota.filePath(), inRoot(r.saved));
        EXPECT_EQ(readFile(inRoot(r.saved)), "image");
        ota.deleteOTAFile();
    }
    EXPECT_TRUE(rootFiles().isEmpty()) << rootFiles().join(',').toStdString();
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(QXOTAUpdateManager::firmwareFolder()).dir().filePath("113_x")));

    // Neither the header nor the address names a file: nothing is saved, the end is still told.
    routes["/"] = firmware("image", "attachment; filename=\".\"");
    download(url("/"));
    EXPECT_EQ(ota.filePath(), "");
    EXPECT_TRUE(rootFiles().isEmpty());
}

TEST_F(OTAUpdateTest, ReceiverImageSetsTheReceiverVersionWhenSaved)
{
    answerUpgrade(url("/x/usb_3.10.bin"), "3.10");
    routes["/x/usb_3.10.bin"] = firmware("receiver image");
    check(true, true);
    EXPECT_EQ(ota.otaDongleModel().num, "3.10");
    EXPECT_EQ(user->mouseInfoItem().dongleVersion(), "3.10");
    EXPECT_EQ(ota.filePathDongle(), inRoot("113_usb_3.10.bin"));
    EXPECT_EQ(user.store().stringValue("kOTAFilePathDongleKey_113"), inRoot("113_usb_3.10.bin"));
    EXPECT_TRUE(ota.needUpdateDongle());
    EXPECT_EQ(ota.filePath(), "") << "the mouse key is another key";
    EXPECT_FALSE(ota.needUpdate());

    // A failed receiver download leaves the version alone.
    user->mouseInfoItem().setDongleVersion(QStringLiteral("3.00"));
    answerUpgrade(url("/x/usb_3.20.bin"), "3.20");
    routes["/x/usb_3.20.bin"] = HttpScriptedReply::html(404, "<html>gone</html>");
    check(true, true);
    EXPECT_EQ(user->mouseInfoItem().dongleVersion(), "3.00");
    EXPECT_EQ(ota.filePathDongle(), inRoot("113_usb_3.10.bin"));

    ota.deleteDongleOTAFile();
    EXPECT_FALSE(ota.needUpdateDongle());
    EXPECT_EQ(user.store().stringValue("kOTAFilePathDongleKey_113"), "");
}

TEST_F(OTAUpdateTest, PathsFollowTheProductCode)
{
    routes["/x/fw_1.3.bin"] = firmware("image 1.3");
    download(url("/x/fw_1.3.bin"));
    const QString saved113 = inRoot("113_fw_1.3.bin");
    ASSERT_TRUE(ota.needUpdate());

    user->setProductCode(QStringLiteral("56"));
    EXPECT_EQ(ota.filePath(), "");
    EXPECT_FALSE(ota.needUpdate());
    EXPECT_EQ(ota.filePathDongle(), "");
    ota.deleteOTAFile(); // nothing of product 56 to delete
    EXPECT_TRUE(QFileInfo::exists(saved113));

    user->setProductCode(QStringLiteral("113"));
    EXPECT_EQ(ota.filePath(), saved113);
    EXPECT_TRUE(ota.needUpdate());

    // The device changes while an image downloads: the image stays with the product that asked.
    routes["/x/fw_2.0.bin"] = firmware("image 2.0");
    ota.downLoadFileFromUrl(url("/x/fw_2.0.bin"));
    user->setProductCode(QStringLiteral("56"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return notes.count(kStatus) == 2; }, 5000));
    EXPECT_EQ(user.store().stringValue("kOTAFilePathKey_113"), inRoot("113_fw_2.0.bin"));
    EXPECT_FALSE(user.store().contains("kOTAFilePathKey_56"));
    EXPECT_FALSE(ota.needUpdate());
}

TEST_F(OTAUpdateTest, ApplicationVersionCheckAsksAndOpensTheDownloadPage)
{
    struct Row {
        QByteArray published;
        QString bundle;
        bool alert;
        const char *why;
    };
    const Row rows[] = {
        {"1.10", "1.9", true, "newer by number"},
        {"1.9", "1.9", false, "same version"},
        {"1.9\n", "1.9", true, "a trailing line break orders after the same version"},
        {"", "1.9", false, "empty text"},
        {"V1.9", "v1.9", false, "case is ignored"},
        {"  ", "1.9", false, "white space orders before digits"},
        {"1.8", "1.9", false, "older"},
    };
    int expected = 0;
    for (const Row &r : rows) {
        SCOPED_TRACE(r.why);
        appVersion = r.bundle;
        routes["/Zandor/update_mac.txt"] = HttpScriptedReply::withContentType("text/plain", r.published);
        const int asked = server.requestCount();
        ota.checkAppVersion();
        ASSERT_TRUE(server.waitForRequests(asked + 1));
        // The text is compared as soon as it is saved.
        ASSERT_TRUE(QTest::qWaitFor([&] { return readFile(inRoot("update_mac.txt")) == r.published; }, 5000));
        runUntilIdle();
        expected += r.alert;
        EXPECT_EQ(alerts.count(), expected);
    }

    // Error pages are not version texts.
    appVersion = QStringLiteral("1.9");
    routes["/Zandor/update_mac.txt"] = HttpScriptedReply::html(404, "<html>not found</html>");
    ota.checkAppVersion();
    ASSERT_TRUE(server.waitForRequests(int(std::size(rows)) + 1));
    // The page is answered and the connection closed; then its handling runs.
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.openConnections() == 0; }, 5000));
    runUntilIdle();
    EXPECT_EQ(alerts.count(), expected);
    EXPECT_EQ(readFile(inRoot("update_mac.txt")), "1.8") << "the last good text stays";

    // Whatever name the answer suggests, no other file of the data root is replaced.
    QFile database(inRoot("commands.sqlite"));
    ASSERT_TRUE(database.open(QIODevice::WriteOnly));
    database.write("user data");
    database.close();
    auto named = HttpScriptedReply::withContentType("text/plain", "1.7");
    named.headers.append(
        qMakePair(QByteArray("Content-Disposition"), QByteArray("attachment; filename=commands.sqlite")));
    routes["/Zandor/update_mac.txt"] = named;
    ota.checkAppVersion();
    ASSERT_TRUE(QTest::qWaitFor([&] { return readFile(inRoot("update_mac.txt")) == "1.7"; }, 5000));
    EXPECT_EQ(readFile(inRoot("commands.sqlite")), "user data");

    ASSERT_GT(alerts.count(), 0);
    EXPECT_EQ(alerts.shown.back().message, "检测到有新版本，是否升级？");
    EXPECT_EQ(alerts.shown.back().buttons, (QStringList{"取消", "确定"}));
    alerts.answer(0);
    EXPECT_TRUE(workspace.opened.empty());

    ota.showAppUpdateAlertView();
    alerts.answer(1);
    ASSERT_EQ(workspace.opened.size(), 1u);
    EXPECT_EQ(workspace.opened[0].toString(), "https://127.0.0.1:" + QString::number(server.port()) + "/Zandor/");
}

TEST(OTAUpdateAddresses, WebSiteAddressesComeFromTheConfiguredBase)
{
    qunsetenv("QX_WEB_BASE");
    EXPECT_EQ(QXOTAUpdateManager::appVersionFileUrl(), "http://www.quorvex.com/Zandor/update_mac.txt");
    EXPECT_EQ(QXOTAUpdateManager::appDownloadPageUrl(), "https://www.quorvex.com/Zandor/");
    qputenv("QX_WEB_BASE", "http://staging.example:8080/");
    EXPECT_EQ(QXOTAUpdateManager::appVersionFileUrl(), "http://staging.example:8080/Zandor/update_mac.txt");
    EXPECT_EQ(QXOTAUpdateManager::appDownloadPageUrl(), "https://staging.example:8080/Zandor/");
    qunsetenv("QX_WEB_BASE");
}
