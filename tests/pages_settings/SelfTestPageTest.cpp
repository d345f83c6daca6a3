// The self-test page over PageWorld's recorders; the maker's API answers when told.
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXHttpRequestManager.h"
#include "QXUserInfoData.h"
#include "SmartDetectionViewController.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "scenes/QXCheckNetWorkScene.h"
#include "scenes/QXGetAppKeyScene.h"

#include <QLabel>

namespace {
const QString kSound = QStringLiteral("当前设备和环境一切正常,请放心使用,如有问题请联系客服");
const QString kFailed = QStringLiteral("当前设备和环境异常,如有问题请联系客服");

struct SelfTestWorld {
    PageWorld world;
    RecordingPagePorts &api = world.ports;
    std::unique_ptr<SmartDetectionViewController> page;

    explicit SelfTestWorld(bool connected)
    {
        world.state().setMouseIsConnect(connected);
        page = std::make_unique<SmartDetectionViewController>(world.context());
        page->view()->resize(880, 720);
        page->view()->show();
    }
    ~SelfTestWorld() { world.scheduler.advance(2000); } // no group outlives the clock
    // Answers the probe sent `index`-th (0: internet, 1: server of the first run).
    void answer(size_t index, bool ok) { api.requests.at(index).second(ok, QJsonValue(), QXNetError{}); }
    QStringList lines() const { return {page->lineImageName(1), page->lineImageName(2), page->lineImageName(3)}; }
    QString status() const { return page->statusLabel()->text(); }
};

QStringList images(bool l1, bool l2, bool l3)
{
    QStringList out;
    int n = 1;
    for (bool sound : {l1, l2, l3}) {
        out << (sound ? QStringLiteral("5_line%1_icon") : QStringLiteral("5_line%1_error_icon")).arg(n);
        ++n;
    }
    return out;
}
} // namespace

TEST(Pgs3SelfTestRun, EachLinkDecidesItsLineAndAnyFailureTheVerdict)
{
    const struct Row {
        bool connected, internet, server, serverFirst;
        QStringList lines;
        QString status;
    } rows[] = {
        {false, true, false, false, images(false, true, false), kFailed},
        {true, true, true, false, images(true, true, true), kSound},
        {true, false, true, false, images(true, false, true), kFailed}, // a later success keeps the failure
        {true, true, false, true, images(true, true, false), kFailed},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.connected << r.internet << r.server);
        SelfTestWorld w(r.connected);
        // The launch run: the device link at once, both probes without parameters.
        ASSERT_EQ(w.api.requests.size(), 2u);
        EXPECT_NE(dynamic_cast<QXCheckNetWorkScene *>(w.api.requests[0].first.get()), nullptr);
        EXPECT_NE(dynamic_cast<QXGetAppKeyScene *>(w.api.requests[1].first.get()), nullptr);
        for (const auto &request : w.api.requests)
            EXPECT_EQ(request.first->myParam(), QXStringMap());
        EXPECT_EQ(w.status(), r.connected ? kSound : kFailed);
        w.answer(r.serverFirst ? 1 : 0, r.serverFirst ? r.server : r.internet);
        w.answer(r.serverFirst ? 0 : 1, r.serverFirst ? r.internet : r.server);
        EXPECT_EQ(w.lines(), r.lines);
        EXPECT_EQ(w.status(), r.status);
    }
}

TEST(Pgs3SelfTestBetweenRuns, DeviceNewsRedrawsTheDeviceLinkAloneAndLateAnswersAreIgnored)
{
    SelfTestWorld w(false);
    w.answer(0, false);
    w.answer(1, true);
    w.world.state().setMouseIsConnect(true);
    w.world.notifications.post(QString::fromLatin1(qx::notify::kUSBInsertNotification));
    EXPECT_EQ(w.lines(), images(true, false, true));
    EXPECT_EQ(w.status(), kFailed);
    EXPECT_EQ(w.api.requests.size(), 2u);

    // As the page has it: a language change writes the sound verdict beside the error image.
    w.world.notifications.post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    EXPECT_EQ(w.status(), kSound);
    EXPECT_EQ(w.lines(), images(true, false, true));

    // "一键检测" runs everything again; answers that come after the page has gone find nothing.
    w.page->detectionBtn()->click();
    EXPECT_EQ(w.api.requests.size(), 4u);
    w.page.reset();
    w.answer(2, false);
    w.answer(3, true);
}

TEST(Pgs3SelfTestRepair, EveryClickReopensAndRunsAreThrottledToOnePerSecond)
{
    SelfTestWorld w(true);
    ManualScheduler &clock = w.world.scheduler;
    w.api.requests.clear();
    w.page->repairBtn()->click();
    EXPECT_EQ(w.api.reopens, 1);
    EXPECT_EQ(w.api.requests.size(), 2u);
    clock.advance(400);
    w.page->repairBtn()->click();
    EXPECT_EQ(w.api.reopens, 2);
    clock.advance(999);
    EXPECT_EQ(w.api.requests.size(), 2u);
    clock.advance(1);
    EXPECT_EQ(w.api.requests.size(), 4u);

    // Ten clicks within a second: ten reopens, one run at once and one a second after the last.
    clock.advance(2000);
    w.api.requests.clear();
    for (int i = 0; i < 10; ++i) {
        w.page->repairBtn()->click();
        clock.advance(90);
    }
    EXPECT_EQ(w.api.reopens, 12);
    clock.advance(909); // 1 s after the last click, less 1 ms
    EXPECT_EQ(w.api.requests.size(), 2u);
    clock.advance(1);
    EXPECT_EQ(w.api.requests.size(), 4u);
}

// Over the real client with no network: both probes fail at once, before any answer
// could come from a server.
TEST(Pgs3SelfTestRun, NoNetworkShowsTheFailureImagesAtOnce)
{
    class ClientApi final : public IMakerApi {
    public:
        QXHttpRequestManager client;
        void httpRequestWithScene(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback) override
        {
            client.httpRequestWithScene(std::move(scene), std::move(callback));
        }
        bool validNetworkIsNotReable() const override { return client.validNetworkIsNotReable(); }
    } api;
    api.client.setReachabilityCheck([] { return true; });
    PageWorld world;
    world.state().setMouseIsConnect(true);
    const PageContext c = world.context();
    SmartDetectionViewController page(PageContext{c.state,
                                                  c.store,
                                                  c.languages,
                                                  c.notifications,
                                                  c.scheduler,
                                                  c.device,
                                                  c.hidCommands,
                                                  c.firmware,
                                                  c.receiver,
                                                  api,
                                                  c.images,
                                                  c.aiWindow,
                                                  c.translate,
                                                  c.tips,
                                                  c.alerts,
                                                  c.errorAlert,
                                                  c.permissionsWindow,
                                                  c.shell,
                                                  c.startAtLogin,
                                                  c.shortcuts,
                                                  c.workspace,
                                                  c.commands,
                                                  c.commandDialogs,
                                                  c.files,
                                                  c.accountHeaders,
                                                  c.hotWords,
                                                  c.makeTransferAudioView});
    // Loaded as at launch: the checks run, the widgets wait for the first show and then
    // draw what was found.
    page.view();
    EXPECT_EQ(page.statusLabel(), nullptr);
    page.view()->show();
    EXPECT_TRUE(page.statusLabel()->isVisible());
    EXPECT_EQ(page.lineImageName(2), "5_line2_error_icon");
    EXPECT_EQ(page.view()->findChild<QLabel *>(QStringLiteral("lineImageView3"))->property("imageName"),
              "5_line3_error_icon");
    EXPECT_EQ(page.statusLabel()->text(), kFailed);
}
