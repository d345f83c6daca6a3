// The application's life over recording services on virtual time: the launch steps in
// their order, the Bluetooth LE burst, the battery table, reopen and termination.
#include "root/AppDelegate.h"
#include "root/AppSteps.h"

#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "ScopedUserInfoData.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXUserInfoData.h"

#include <QCoreApplication>
#include <QThread>

#include <cmath>
#include <optional>
#include <thread>

namespace {

// Every call as text, in order, with the thread it came on.
class RecordingAppSteps final : public DeviceSteps, public VoiceSteps, public ShellSteps {
public:
    QStringList calls;
    std::pair<quint16, quint16> ids{0, 0};
    bool offMainThread = false;
    std::optional<bool> watching; // the pointer, as last asked

    void record(const QString &call)
    {
        offMainThread |= QThread::currentThread() != qApp->thread();
        calls << call;
    }
    // Everything recorded since the last take().
    QStringList take() { return std::exchange(calls, {}); }

    void applyLightAppearance() override { record("applyLightAppearance"); }
    void setIsFirstShow(bool on) override { record(QStringLiteral("setIsFirstShow(%1)").arg(on)); }
    void setIsFromMicData(bool on) override { record(QStringLiteral("setIsFromMicData(%1)").arg(on)); }
    void startMonitor() override { record("startMonitor"); }
    void checkAppVersion() override { record("checkAppVersion"); }
    void openApp() override { record("openApp"); }
    void installExceptionWriter() override { record("installExceptionWriter"); }
    void setAsrLanguageType(int type) override { record(QStringLiteral("setAsrLanguageType(%1)").arg(type)); }
    void addStatusItem() override { record("addStatusItem"); }
    void startCenterMouseMonitor() override { record("startCenterMouseMonitor"); }
    void createTable(const QString &name) override { record("createTable(" + name + ")"); }
    void startSelectionMonitors() override { record("startSelectionMonitors"); }
    void watchPointer(bool on) override { watching = on; }
    void bindSnipShortcut() override { record("bindSnipShortcut"); }
    std::pair<quint16, quint16> currentIds() override { return ids; }
    void setDefaultInput(const QString &name) override { record("setDefaultInput(" + name + ")"); }
    void startScan() override { record("startScan"); }
    void configUI() override { record("configUI"); }
    void checkPermission(bool show) override { record(QStringLiteral("checkPermission(%1)").arg(show)); }
    void probeReachability() override { record("probeReachability"); }
    void openCompanionApp() override { record("openCompanionApp"); }
    void cancelPeripheralConnection() override { record("cancelPeripheralConnection"); }
    void sendGetMouseInfoData() override { record("sendGetMouseInfoData"); }
    void sendClosePopUpWebSiteData() override { record("sendClosePopUpWebSiteData"); }
    void invalidateTimer() override { record("invalidateTimer"); }
    void closeHIDDevice() override { record("closeHIDDevice"); }
    void openHIDDevice() override { record("openHIDDevice"); }
    void setLowElectricShown(bool shown) override { record(QStringLiteral("setLowElectricShown(%1)").arg(shown)); }
    void reopenStatusItem() override { record("reopenStatusItem"); }
    void prepareForApplicationTermination() override { record("prepareForApplicationTermination"); }
    void shutdownSparkChainBeforeTermination() override { record("shutdownSparkChainBeforeTermination"); }
    void waitForPendingLogsBeforeTermination() override { record("waitForPendingLogsBeforeTermination"); }
};

struct DelegateWorld {
    ScopedUserInfoData state;
    ManualScheduler scheduler;
    RecordingAppSteps services;
    CallLog log;
    FakePopupTips tips{log};
    AppDelegate delegate{{{&services, &services, &services}, &state.state(), &tips, nullptr, &scheduler}};

    void post(const char *name) { postNotification(QString::fromLatin1(name)); }
};

TEST(AppLaunchOrder, EveryStepInItsPlaceAndWhatAReceiverNeedsWhenOneIsThere)
{
    const QStringList launch =
        QStringLiteral(
            "setIsFirstShow(1) applyLightAppearance setIsFromMicData(0) startMonitor checkAppVersion openApp "
            "installExceptionWriter setAsrLanguageType(1) addStatusItem startCenterMouseMonitor "
            "startSelectionMonitors bindSnipShortcut startScan configUI "
            "checkPermission(1) probeReachability openCompanionApp")
            .split(u' ');
    const QStringList tables{"createTable(DBCommonCmdList)", "createTable(DBCustomizeCmdList)"};
    // No receiver: no default input and no tables at launch; the first receiver gets both.
    DelegateWorld w;
    w.delegate.applicationDidFinishLaunching();
    EXPECT_EQ(w.services.take(), launch);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.services.take().isEmpty());
    w.services.ids = {0x3151, 0x22AB};
    w.post(qx::notify::kUSBInsertNotification);
    w.post(qx::notify::kUSBInsertNotification);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.services.take(),
              QStringList({"cancelPeripheralConnection", "addStatusItem", "setDefaultInput(Quorvex)",
                           "cancelPeripheralConnection", "addStatusItem", "setDefaultInput(Quorvex)"})
                  + tables);

    // A receiver at launch: its input right after the shortcut, the tables once the launch
    // returned; only the one receiver whose microphone carries the other name.
    const struct {
        quint16 vid, pid;
        const char *name;
    } rows[] = {{0x25CA, 0x24AC, "ORVANE"}, {0x25CA, 0x1234, "Quorvex"}, {0x3151, 0x24AC, "Quorvex"}};
    for (const auto &row : rows) {
        DelegateWorld again;
        again.services.ids = {row.vid, row.pid};
        again.delegate.configData();
        const QStringList calls = again.services.take();
        EXPECT_EQ(calls.indexOf(QStringLiteral("setDefaultInput(%1)").arg(row.name)), calls.indexOf("startScan") - 1)
            << row.vid << ":" << row.pid;
        QCoreApplication::processEvents();
        EXPECT_EQ(again.services.take(), tables);
    }
}

TEST(DeviceReactions, ReceiverAndBluetoothEventsReachTheirStepsOnTheMainThreadAfterLaunchOnly)
{
    DelegateWorld w;
    // Before the launch registered its observers nothing answers.
    w.post(qx::notify::kUSBInsertNotification);
    EXPECT_TRUE(w.services.take().isEmpty());

    w.delegate.configData();
    QCoreApplication::processEvents();
    w.services.take();
    EXPECT_EQ(w.services.watching, false) << "no device: the pointer is not watched";
    w.state->setMouseIsConnect(true);
    w.post(qx::notify::kUSBInsertNotification);
    EXPECT_EQ(w.services.take(),
              QStringList({"cancelPeripheralConnection", "addStatusItem", "setDefaultInput(Quorvex)"}));
    EXPECT_EQ(w.services.watching, true);
    QCoreApplication::processEvents();
    w.services.take();
    w.state->setMouseIsConnect(false);
    w.post(qx::notify::kUSBRemoveNotification);
    EXPECT_EQ(w.services.take(), QStringList({"startScan", "addStatusItem"}));
    EXPECT_EQ(w.services.watching, false);
    w.state->setBleConnect(true);
    w.post(qx::notify::kBleConnectNotification);
    EXPECT_EQ(w.services.watching, true) << "a mouse over Bluetooth LE is a device too";
    w.services.take();
    w.state->setBleConnect(false);

    // Posted by a worker thread: handled on the main thread.
    std::thread([] { postNotification(QString::fromLatin1(qx::notify::kBleDisConnectNotification)); }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.services.take(), QStringList({"addStatusItem", "openHIDDevice"}));
    EXPECT_FALSE(w.services.offMainThread);
}

TEST(BleConnectBurst, ConnectionsInARowAskTheMouseOnceThreeSecondsAfterTheLast)
{
    DelegateWorld w;
    w.delegate.configData();
    QCoreApplication::processEvents();
    w.services.take();

    for (int second = 0; second < 3; ++second) {
        w.state->setChipPlan(0);
        w.state->setIsSupportKeySetting(false);
        w.post(qx::notify::kBleConnectNotification);
        EXPECT_EQ(w.state->chipPlan(), 2);
        EXPECT_TRUE(w.state->isSupportKeySetting());
        EXPECT_EQ(w.services.take(), QStringList({"addStatusItem", "invalidateTimer", "closeHIDDevice"}));
        w.scheduler.advance(1000);
    }
    w.scheduler.advance(1999); // t = 4.999 s
    EXPECT_TRUE(w.services.take().isEmpty());
    w.scheduler.advance(1);
    EXPECT_EQ(w.services.take(), QStringList({"sendGetMouseInfoData", "sendClosePopUpWebSiteData"}));

    w.post(qx::notify::kBleDisConnectNotification);
    EXPECT_EQ(w.state->chipPlan(), 0);
    EXPECT_FALSE(w.state->isSupportKeySetting());
    w.services.take();

    // A mouse flapping every 200 ms for 10 s: one request, 3 s after its last connection.
    for (int i = 0; i < 25; ++i) {
        w.post(qx::notify::kBleConnectNotification);
        w.scheduler.advance(200);
        w.post(qx::notify::kBleDisConnectNotification);
        w.scheduler.advance(200);
    }
    w.scheduler.advance(3000);
    const QStringList storm = w.services.take();
    EXPECT_EQ(storm.count("sendGetMouseInfoData"), 1);
    EXPECT_EQ(storm.count("sendClosePopUpWebSiteData"), 1);
    EXPECT_EQ(storm.count("closeHIDDevice"), 25);

    // Another delegate (a second application world) asks its own mouse: the groups
    // of two delegates are apart.
    RecordingAppSteps otherServices;
    AppDelegate other{
        {{&otherServices, &otherServices, &otherServices}, &w.state.state(), &w.tips, nullptr, &w.scheduler}};
    other.configData();
    QCoreApplication::processEvents();
    w.services.take();
    otherServices.take();
    w.post(qx::notify::kBleConnectNotification);
    w.scheduler.advance(3000);
    EXPECT_EQ(w.services.take().count("sendGetMouseInfoData"), 1);
    EXPECT_EQ(otherServices.take().count("sendGetMouseInfoData"), 1);
}

TEST(LowBattery, ATipAtMostEveryMinuteAndTheImageFollowsEveryReading)
{
    DelegateWorld w;
    w.state->setLowPowerNum(10);
    w.delegate.configData();
    QCoreApplication::processEvents();
    const double nan = std::nan("");
    const struct {
        qint64 atMs;
        double percent;
        int tips; // so far
        bool shown;
    } rows[] = {
        {0, 10, 1, true},       // exactly the threshold
        {30000, 5, 1, true},    // within the minute: no second tip
        {61000, 5, 2, true},    // after it: the next
        {62000, 0, 2, false},   // no reading
        {63000, 7, 2, true},    // still quiet, but the image comes back with the low reading
        {64000, 11, 2, false},  // above
        {65000, -3, 2, false},  // not a percentage
        {66000, nan, 2, false}, // nor this
        {122000, 9, 3, true},
    };
    for (const auto &row : rows) {
        w.scheduler.advance(row.atMs - w.scheduler.monotonicMs());
        w.services.take();
        w.state->mouseInfoItem().setPowerPercent(row.percent);
        w.post(qx::notify::HadElectricInfoNotification);
        EXPECT_EQ(int(w.tips.tips.size()), row.tips) << row.atMs;
        EXPECT_EQ(w.services.take(), QStringList{QStringLiteral("setLowElectricShown(%1)").arg(row.shown)}) << row.atMs;
    }
    EXPECT_EQ(w.tips.tips.front(), std::make_pair(QStringLiteral("电量低，请充电"), QStringLiteral("info_icon")));
}

TEST(Reopen, WithoutADeviceATipSaysWhyAndTheWindowIsAskedForAnyway)
{
    DelegateWorld w;
    w.delegate.applicationShouldHandleReopen();
    ASSERT_EQ(w.tips.tips.size(), 1u);
    EXPECT_EQ(w.tips.tips.front(), std::make_pair(QStringLiteral("设备未连接"), QStringLiteral("info_icon")));
    EXPECT_EQ(w.services.take(), QStringList({"openApp", "reopenStatusItem"}));

    w.state->setMouseIsConnect(true);
    w.delegate.applicationShouldHandleReopen();
    EXPECT_EQ(w.tips.tips.size(), 1u);
    EXPECT_EQ(w.services.take(), QStringList({"openApp", "reopenStatusItem"}));
}

TEST(QuitSequence, TerminationClosesSpeechThenTheSdkThenTheLogOnce)
{
    DelegateWorld w;
    w.delegate.applicationWillTerminate();
    w.delegate.applicationWillTerminate();
    EXPECT_EQ(w.services.take(), QStringList({"prepareForApplicationTermination", "shutdownSparkChainBeforeTermination",
                                              "waitForPendingLogsBeforeTermination"}));
}

} // namespace
