// The composition root over simulated backends: the graph is built, driven and torn
// down, twice in one process; the device reactions move the connection between USB and
// Bluetooth LE; and a machine with nothing attached leaves no timer of ours running.
#include "root/CompanionApp.h"
#include "AppWorld.h"

#include "FakeBleCentral.h"
#include "FakePermissionProbe.h"
#include "FakeSecretStore.h"
#include "FakeStatusItem.h"
#include "FrameDecoder.h"
#include "ManualScheduler.h"
#include "SimulatedHidBus.h"
#include "SimulatedReceiver.h"
#include "TempDataRoot.h"

#include "BleNotificationParser.h"
#include "HIDDevice.h"
#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "LocalHttpServer.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PageContext.h"
#include "PagePorts.h"
#include "QXBLECommandManager.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXHttpRequestManager.h"
#include "QXImageLoader.h"
#include "QXLanguageManager.h"
#include "QXLaserPenManager.h"
#include "QXMouseCommandManager.h"
#include "QXNetSceneState.h"
#include "QXOTAUpdateManager.h"
#include "QXSemanticManager.h"
#include "QXSnip.h"
#include "QXToolManager.h"
#include "QXTranslateManager.h"
#include "QXUserInfoData.h"
#include "ReceiverTable.h"
#include "aiweb/QXAIWindowTool.h"
#include "asr/QXAudioMonitorService.h"
#include "audio/AppAudioTool.h"
#include "audio/QXAudioQueueCapture.h"
#include "audio/TKTTSManager.h"
#include "commands/QXHotWordViewModel.h"
#include "desktop/QXToolManagerUI.h"
#include "launch/StartAtLoginController.h"
#include "platform/IWorkspace.h"
#include "platform/ShortcutBinder.h"
#include "popup/QXPopupWindowTool.h"
#include "root/AppPagePorts.h"
#include "services/IImageLoader.h"
#include "services/IMouseCommands.h"
#include "sqlite/WQSSqliteOperation.h"
#include "windows/MainWindow.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using Role = SimulatedReceiver::Role;
using platform::BleAdapterState;

namespace {

constexpr int kPlan2Row = 9; // 0x3151/0x22AB: key setting, connection poll

const qx::receivers::ReceiverRow &row(int n)
{
    return qx::receivers::receiverTable()[std::size_t(n - 1)];
}

// Every process-wide instance the root installs, by name: what is installed now.
std::vector<std::pair<const char *, const void *>> installedManagers()
{
    return {
        {"HIDDevice", InstalledInstance<HIDDevice>::installed()},
        {"QXBLEManager", InstalledInstance<QXBLEManager>::installed()},
        {"QXUserInfoData", InstalledInstance<QXUserInfoData>::installed()},
        {"QXLanguageManager", InstalledInstance<QXLanguageManager>::installed()},
        {"QXToolManager", InstalledInstance<QXToolManager>::installed()},
        {"QXToolManagerUI", InstalledInstance<QXToolManagerUI>::installed()},
        {"QXHttpRequestManager", InstalledInstance<QXHttpRequestManager>::installed()},
        {"QXNetSceneState", InstalledInstance<QXNetSceneState>::installed()},
        {"WQSSqliteOperation", InstalledInstance<WQSSqliteOperation>::installed()},
        {"QXHotWordViewModel", InstalledInstance<QXHotWordViewModel>::installed()},
        {"ShortcutBinder", InstalledInstance<platform::ShortcutBinder>::installed()},
        {"QXHidCommandManager", InstalledInstance<QXHidCommandManager>::installed()},
        {"QXBLEMouseCommandManager", InstalledInstance<QXBLEMouseCommandManager>::installed()},
        {"QXMouseCommandManager", InstalledInstance<QXMouseCommandManager>::installed()},
        {"QXBLECommandManager", InstalledInstance<QXBLECommandManager>::installed()},
        {"QXHidReportParser", InstalledInstance<QXHidReportParser>::installed()},
        {"BleNotificationParser", InstalledInstance<BleNotificationParser>::installed()},
        {"QXOTAUpdateManager", InstalledInstance<QXOTAUpdateManager>::installed()},
        {"QXPopupWindowTool", InstalledInstance<QXPopupWindowTool>::installed()},
        {"QXTranslateManager", InstalledInstance<QXTranslateManager>::installed()},
        {"QXSemanticManager", InstalledInstance<QXSemanticManager>::installed()},
        {"QXSnip", InstalledInstance<QXSnip>::installed()},
        {"QXLaserPenManager", InstalledInstance<QXLaserPenManager>::installed()},
        {"QXAIWindowTool", InstalledInstance<QXAIWindowTool>::installed()},
        {"QXAudioMonitorService", InstalledInstance<QXAudioMonitorService>::installed()},
        {"QXAudioQueueCapture", QXAudioQueueCapture::sharedInstance()},
        {"TKTTSManager", TKTTSManager::sharedInstance()},
        {"AppAudioTool", AppAudioTool::sharedManager()},
    };
}

class CompanionAppTest : public ::testing::Test {
protected:
    CompanionAppTest() { Scheduler::setInstance(&scheduler); }
    ~CompanionAppTest() override { Scheduler::setInstance(nullptr); }

    // Everything a graph is built on, fresh each time.
    using World = AppWorld;

    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            scheduler.runDue();
        }
    }
    static QStringList heard(const SimulatedReceiver &rx, int plan)
    {
        QStringList out;
        for (const QByteArray &r : rx.writtenTo(Role::Command)) {
            const auto d = sim::FrameDecoder::decodeHid(plan, r);
            out << (d ? d->command : QStringLiteral("?"));
        }
        return out;
    }

    ManualScheduler scheduler;
};

TEST_F(CompanionAppTest, GraphIsBuiltUsedAndTakenDownTwiceInOneProcess)
{
    NotificationCenter *const centre = InstalledInstance<NotificationCenter>::installed();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        World world;
        HIDDevice *hid = nullptr;
        Q_UNUSED(hid);
        {
            CompanionApp app(world.options());
            hid = &app.hid();
            EXPECT_EQ(&HIDDevice::sharedInstance(), hid);
            EXPECT_EQ(&QXUserInfoData::sharedInstance(), &app.state());
            EXPECT_EQ(&QXBLEManager::sharedInstance(), &app.ble());
            EXPECT_EQ(QXHidCommandManager::sharedInstance().hidSink(), hid);
            for (const auto &[name, instance] : installedManagers())
                EXPECT_NE(instance, nullptr) << name << " is not installed by the root";

            app.configData();
            app.configUI();
            settle();
            // The self-test page, which has no tab, is loaded at launch: its checks have run.
            EXPECT_NE(app.mainWindow().page(viewtag::kSmartDetection), nullptr);
            EXPECT_EQ(world.tray.imageName, "Icon_Dis");
            EXPECT_FALSE(app.mainWindow().isVisible());
            EXPECT_TRUE(world.bus.fake().watching());
            EXPECT_EQ(app.ble().stateNOW(), QXBLEManager::kStateScanning);
            EXPECT_TRUE(world.adapter.isScanning());
            EXPECT_EQ(QXLanguageManager::sharedInstance().asrLanguageType(), 1);

            // The receiver arrives: it is opened in its family's layout, Bluetooth LE gives way,
            // and the protocol's poll asks every 3 s whether the mouse is there.
            SimulatedReceiver rx(world.bus, row(kPlan2Row), {});
            rx.plugIn();
            settle();
            ASSERT_TRUE(hid->hasDevice());
            EXPECT_EQ(app.state().chipPlan(), 2);
            EXPECT_FALSE(world.adapter.isScanning());
            EXPECT_EQ(app.ble().stateNOW(), QXBLEManager::kStateStopped);
            EXPECT_TRUE(QXHidCommandManager::sharedInstance().isTimerRunning());
            rx.clearWritten();
            scheduler.advance(QXHidCommandManager::kPollIntervalMs + HIDDevice::kPacingMs);
            EXPECT_TRUE(heard(rx, 2).contains(QStringLiteral("sendSearchMouseConnectStatusData")))
                << heard(rx, 2).join(',').toStdString();
            // The mouse behind it answers: the status item offers its menu.
            rx.sendInput(Role::Command, QByteArray::fromHex("0d5a4d6900").leftJustified(64, '\0'));
            settle();
            EXPECT_EQ(world.tray.imageName, "Icon");
            EXPECT_EQ(world.tray.menu.size(), 2);

            // Unplugged: the state forgets the receiver, the poll stops and the scan resumes.
            rx.unplug();
            settle();
            EXPECT_FALSE(hid->hasDevice());
            EXPECT_EQ(app.state().chipPlan(), 0);
            EXPECT_FALSE(QXHidCommandManager::sharedInstance().isTimerRunning());
            EXPECT_EQ(app.ble().stateNOW(), QXBLEManager::kStateScanning);
            EXPECT_EQ(world.tray.imageName, "Icon_Dis");

            // Plugged again before the teardown: the graph goes down with a device open.
            rx.plugIn();
            settle();
            EXPECT_TRUE(hid->hasDevice());
        }
        // Nothing of the graph stays installed or running; the program's own centre is back.
        for (const auto &[name, instance] : installedManagers())
            EXPECT_EQ(instance, nullptr) << name << " stays installed";
        EXPECT_EQ(InstalledInstance<NotificationCenter>::installed(), centre);
        EXPECT_FALSE(world.bus.fake().watching());
        EXPECT_EQ(
            NotificationCenter::defaultCenter().observerCount(QString::fromLatin1(qx::notify::kUSBInsertNotification)),
            0);
        // What was still due (the open's delayed information request) finds nothing, and
        // nothing repeats.
        settle();
        scheduler.advance(10000);
        EXPECT_EQ(scheduler.pendingCount(), 0);
    }
}

TEST_F(CompanionAppTest, BluetoothConnectionTakesTheDeviceFromUsbAndGivesItBack)
{
    World world;
    CompanionApp app(world.options());
    app.configData();
    SimulatedReceiver rx(world.bus, row(kPlan2Row), {});
    rx.plugIn();
    settle();
    ASSERT_TRUE(app.hid().hasDevice());
    app.state().setIsSupportKeySetting(false);

    postNotification(QString::fromLatin1(qx::notify::kBleConnectNotification));
    settle();
    EXPECT_EQ(app.state().chipPlan(), 2);
    EXPECT_TRUE(app.state().isSupportKeySetting());
    EXPECT_FALSE(app.hid().hasDevice());
    EXPECT_FALSE(QXHidCommandManager::sharedInstance().isTimerRunning());

    postNotification(QString::fromLatin1(qx::notify::kBleDisConnectNotification));
    EXPECT_EQ(app.state().chipPlan(), 0);
    EXPECT_FALSE(app.state().isSupportKeySetting());
    // The receiver still plugged in is taken up again, in its own family.
    settle();
    EXPECT_TRUE(app.hid().hasDevice());
    EXPECT_TRUE(app.state().isSupportKeySetting());
    EXPECT_EQ(app.state().chipPlan(), 2);
}

TEST_F(CompanionAppTest, NothingAttachedMeansNoTimerOfOursAndALaterReceiverStillWorks)
{
    World world(BleAdapterState::Unsupported);
    CompanionApp app(world.options());
    app.configData();
    settle();
    scheduler.advance(5000);
    // No adapter: the scan stops with its check timer; no receiver: nothing polls.
    EXPECT_EQ(app.ble().stateNOW(), QXBLEManager::kStateStopped);
    EXPECT_FALSE(app.ble().isCheckTimerRunning());
    EXPECT_FALSE(app.hid().hasDevice());
    EXPECT_EQ(scheduler.pendingCount(), 0);

    // A receiver that vanishes while it is being opened: every open fails, the transport
    // gives up without taking it, and the application carries on.
    SimulatedReceiver rx(world.bus, row(kPlan2Row), {});
    world.bus.fake().setOpenError(rx.path(Role::Command), platform::HidError::NoDevice);
    rx.plugIn();
    settle();
    EXPECT_GT(world.bus.fake().openAttempts(rx.path(Role::Command)), 1);
    EXPECT_FALSE(world.bus.fake().isOpen(rx.path(Role::Command)));
    rx.unplug();
    settle();

    // The next one opens normally.
    world.bus.fake().setOpenError(rx.path(Role::Command), platform::HidError::None);
    rx.plugIn();
    settle();
    EXPECT_TRUE(world.bus.fake().isOpen(rx.path(Role::Command)));
    EXPECT_EQ(app.state().chipPlan(), 2);
}

// A life over the real graph: device events before there is an interface, the first
// connection opening the window a second later, and the menu's quit a second after the
// mouse got its pop-up web site back.
TEST_F(CompanionAppTest, EventsBeforeTheInterfaceTheFirstConnectionAndTheQuitOverTheRealGraph)
{
    World world;
    FakePermissionProbe probe;
    int quits = 0;
    CompanionApp::Options options = world.options();
    options.permissionProbe = &probe;
    options.quit = [&quits] { ++quits; };
    CompanionApp app(options);
    const auto postAll = [] {
        using namespace qx::notify;
        for (const char *name : {kUSBInsertNotification, kUSBRemoveNotification, kBleConnectNotification,
                                 kBleDisConnectNotification, HadUSBInfoNotification, HadElectricInfoNotification,
                                 kUpdateTitleNotification, kUpdateLeftItemNotification})
            postNotification(QString::fromLatin1(name));
    };
    postAll();
    app.configData();
    postAll();
    app.configUI();
    settle();
    EXPECT_FALSE(app.mainWindow().isVisible());

    SimulatedReceiver rx(world.bus, row(kPlan2Row), {});
    rx.plugIn();
    settle();
    rx.sendInput(Role::Command, QByteArray::fromHex("0d5a4d6900").leftJustified(64, '\0'));
    settle();
    ASSERT_TRUE(app.state().isConnect());
    scheduler.advance(999);
    EXPECT_FALSE(app.mainWindow().isVisible());
    scheduler.advance(1);
    EXPECT_TRUE(app.mainWindow().isVisible());

    rx.clearWritten();
    ASSERT_EQ(world.tray.menu.size(), 2);
    world.tray.menu.at(1).action();
    scheduler.advance(999);
    EXPECT_TRUE(heard(rx, 2).contains(QStringLiteral("sendOpenPopUpWebSiteData")))
        << heard(rx, 2).join(',').toStdString();
    EXPECT_EQ(quits, 0);
    scheduler.advance(1);
    EXPECT_EQ(quits, 1);
}

} // namespace

// The pages' context is the application's own objects, and its picture loader reads
// what a web server sends.
TEST_F(CompanionAppTest, HousePageContextIsTheApplicationsOwnObjects)
{
    World world;
    CompanionApp app(world.options());
    const PageContext c = app.pageContext();
    EXPECT_EQ(&c.state, &app.state());
    EXPECT_EQ(&c.device, static_cast<IMouseCommands *>(&QXMouseCommandManager::sharedInstance()));
    EXPECT_EQ(&c.shell, static_cast<IAppShell *>(&app.mainWindow()));
    EXPECT_EQ(&c.startAtLogin, static_cast<IStartAtLogin *>(&app.startAtLoginController()));
    EXPECT_EQ(&c.errorAlert, static_cast<IErrorAlert *>(&QXToolManagerUI::sharedInstance()));
    // Without desktop services the pages open nothing, and say so.
    EXPECT_FALSE(c.workspace.openUrl(QUrl(QStringLiteral("https://example.invalid/"))));

    LocalHttpServer server;
    QImage red(3, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    red.save(&buffer, "PNG");
    server.setHandler([&png](const HttpRequestRecord &r) {
        if (r.path == "/big.png") // more than a picture may be: cut off, not read whole
            return HttpScriptedReply::withContentType("image/png", png + QByteArray(QXImageLoader::kMaxImageBytes, 0));
        return r.path == "/p.png" ? HttpScriptedReply::withContentType("image/png", png)
                                  : HttpScriptedReply::withContentType("text/plain", "not a picture");
    });
    struct Got {
        QSize size;
        QString error;
        bool done = false;
    };
    const auto load = [&](const char *path) {
        Got got;
        const std::unique_ptr<IImageLoader::Load> pending = c.images.loadImage(
            QUrl(server.baseUrl() + QLatin1String(path)), [&got](bool ok, const QByteArray &body, const QString &e) {
                QImage image;
                got = {ok && image.loadFromData(body) ? image.size() : QSize(), e, true};
            });
        // (Generous: under a sanitizer the large body takes seconds to serve.)
        EXPECT_TRUE(QTest::qWaitFor([&] { return got.done; }, 20000)) << path;
        return got;
    };
    const Got picture = load("/p.png");
    EXPECT_EQ(picture.size, QSize(3, 2));
    EXPECT_TRUE(picture.error.isEmpty());
    const Got text = load("/t.txt");
    EXPECT_TRUE(text.size.isEmpty());
    // Too large a body is cut off and fails, whatever it holds.
    const Got big = load("/big.png");
    EXPECT_TRUE(big.size.isEmpty());
    EXPECT_FALSE(big.error.isEmpty());
}
