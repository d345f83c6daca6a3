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

namespace {

QJsonObject command(const char *word, const char *text)
{
    return {{"customCmd", word}, {"customName", text}, {"cmdType", "text"}};
}

class DayCommandLists : public AppTest {
protected:
    DayCommandLists()
    {
        EXPECT_TRUE(api.isListening());
        qputenv("QX_API_BASE", api.baseUrl().toUtf8());
    }
    ~DayCommandLists() override { qunsetenv("QX_API_BASE"); }
    // The two lists, one command each; the common one fails `commonFailures` times first.
    void serve(int commonFailures = 0)
    {
        api.setHandler([commonFailures](const HttpRequestRecord &r) mutable {
            const bool common = r.path.endsWith("/commonCmd");
            if ((!common && !r.path.endsWith("/deviceCmd")) || (common && commonFailures-- > 0))
                return HttpScriptedReply::html(common ? 503 : 404, "<p>not here</p>");
            const QJsonArray list{common ? command("open sesame", "bonjour") : command("my word", "mine")};
            return HttpScriptedReply::json(QJsonDocument(QJsonObject{{"rc", 0}, {"data", list}}).toJson());
        });
    }
    int asked(const char *path) const
    {
        return int(std::count_if(api.requests().cbegin(), api.requests().cend(),
                                 [path](const HttpRequestRecord &r) { return r.path.endsWith(path); }));
    }
    // Until the server heard `requests` requests and the application read the answers.
    void settleUntil(int requests)
    {
        EXPECT_TRUE(api.waitForRequests(requests, 5000));
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            scheduler.runDue();
        }
    }
    // A device report and the requests it sends (`requests` of them).
    void report(int requests = 1)
    {
        const int before = api.requestCount();
        NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::HadUSBInfoNotification));
        settleUntil(before + requests);
    }

    LocalHttpServer api;
};

TEST_F(DayCommandLists, LaunchAndDeviceReportsFetchTheListsWithoutBuildingThePage)
{
    serve();
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

// A slow server at launch: the common list's request fails, and each device report asks
// for it again until it has arrived, as for the custom list.
using FinCommandLists = DayCommandLists;

TEST_F(FinCommandLists, DeviceReportsAskForTheCommonListUntilItArrives)
{
    serve(2);
    AppWorld world;
    CompanionApp app(world.options());
    app.configData();
    app.configUI();
    settleUntil(2);
    report(2);
    report(2);
    EXPECT_EQ(asked("/commonCmd"), 3);
    auto &commands = dynamic_cast<QXCommandViewModel &>(app.pageContext().commands);
    ASSERT_EQ(commands.commonCmdListArray().size(), 1);
    EXPECT_EQ(commands.commonCmdListArray().first()->customCmd, "open sesame");
    report();
    EXPECT_EQ(asked("/commonCmd"), 3);
}

} // namespace
