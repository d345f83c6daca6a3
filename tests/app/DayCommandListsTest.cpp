// The server's voice commands reach the voice pipeline from the launch on, with no
// page built: the launch asks for both lists and each device report for the custom
// one, until the personalisation page's own list exists and takes that over.
#include "AppWorld.h"

#include "LocalHttpServer.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PageContext.h"
#include "commands/QXCommandViewModel.h"
#include "views/QXBaseViewController.h"
#include "windows/MainWindow.h"
#include "windows/TabBarEntries.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>

namespace {

class DayCommandLists : public AppTest {};

QJsonObject command(const char *word, const char *text)
{
    return {{"customCmd", word}, {"customName", text}, {"cmdType", "text"}};
}

TEST_F(DayCommandLists, LaunchAndDeviceReportsFetchTheListsWithoutBuildingThePage)
{
    LocalHttpServer api;
    ASSERT_TRUE(api.isListening());
    api.setHandler([](const HttpRequestRecord &r) {
        const bool common = r.path.endsWith("/commonCmd");
        if (!common && !r.path.endsWith("/deviceCmd"))
            return HttpScriptedReply::html(404, "<p>not here</p>");
        const QJsonArray list{common ? command("open sesame", "bonjour") : command("my word", "mine")};
        return HttpScriptedReply::json(QJsonDocument(QJsonObject{{"rc", 0}, {"data", list}}).toJson());
    });
    qputenv("QX_API_BASE", api.baseUrl().toUtf8());
    const auto restoreHost = qScopeGuard([] { qunsetenv("QX_API_BASE"); });
    const auto asked = [&api](const char *path) {
        return int(std::count_if(api.requests().cbegin(), api.requests().cend(),
                                 [path](const HttpRequestRecord &r) { return r.path.endsWith(path); }));
    };
    // Until the server heard `requests` requests and the application read the answers.
    const auto settleUntil = [&](int requests) {
        EXPECT_TRUE(api.waitForRequests(requests, 5000));
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            scheduler.runDue();
        }
    };

    AppWorld world;
    CompanionApp app(world.options());
    app.configData();
    app.configUI();
    settleUntil(2);
    EXPECT_EQ(asked("/commonCmd"), 1);
    EXPECT_EQ(asked("/deviceCmd"), 1);
    EXPECT_EQ(app.mainWindow().page(viewtag::kPersonalitySetting), nullptr) << "the page is built at launch";
    // Stored with no device yet (the tables come with one): the spoken words match.
    auto &commands = dynamic_cast<QXCommandViewModel &>(app.pageContext().commands);
    commands.setCommonCmdListArray({});
    commands.setCustomizeCmdListArray({});
    ASSERT_EQ(commands.commonCmdListArray().size(), 1);
    EXPECT_EQ(commands.commonCmdListArray().first()->customCmd, "open sesame");
    ASSERT_EQ(commands.customizeCmdListArray().size(), 1);
    EXPECT_EQ(commands.customizeCmdListArray().first()->customName, "mine");

    const auto report = [&] {
        const int before = api.requestCount();
        NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::HadUSBInfoNotification));
        settleUntil(before + 1);
    };
    report();
    report();
    EXPECT_EQ(asked("/deviceCmd"), 3);
    EXPECT_EQ(asked("/commonCmd"), 1);

    // Once the page's list is built it asks for itself: one request a report, not two.
    app.mainWindow().loadPage(viewtag::kPersonalitySetting);
    settleUntil(5);
    const int custom = asked("/deviceCmd");
    report();
    EXPECT_EQ(asked("/deviceCmd"), custom + 1);
}

} // namespace
