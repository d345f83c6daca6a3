// Opening a receiver (family set-up, announcements), retries, and removal.
#include "HidTransportFixture.h"
#include "InstalledInstance.h"

using Role = SimulatedReceiver::Role;

namespace {

constexpr int U = -1; // left as it was

// What opening each receiver of the table leaves behind. Written out from the product
// list, independently of the receiver table.
struct OpenOutcome {
    int row;
    int plan;
    int deviceType;
    int source;
    int keySetting;
    bool ids, timer, connected, pen;
    const char *log;
};
const OpenOutcome kOutcomes[] = {
    {1, 1, 1, 0, U, true, false, false, false, "国内版接收器"},
    {2, 1, 1, 1, U, true, false, false, false, "国际版接收器"},
    {3, 1, 1, 2, U, true, false, false, false, "亚太版接收器"},
    {4, 1, 2, U, U, true, false, false, true, "激光笔接收器"},
    {5, 1, 1, U, U, true, false, false, false, nullptr},
    {6, 1, 1, U, U, true, false, false, false, nullptr},
    {7, 1, 1, U, U, true, false, false, false, nullptr},
    {8, 2, 2, 0, 0, true, false, false, true, "Korvel激光笔接收器"},
    {9, 2, 1, 0, 1, false, true, false, false, nullptr},
    {10, 2, 1, 0, 1, false, true, false, false, nullptr},
    {11, 1, 1, U, U, true, false, false, false, nullptr},
    {12, 1, 1, U, U, true, false, false, false, nullptr},
    {13, 2, 4, 0, 1, false, true, false, false, nullptr},
    {14, 1, 1, U, U, true, false, false, false, nullptr},
    {15, U, 5, 0, 1, false, true, false, false, "泰凌微接收器"},
    {16, 1, 1, U, U, true, false, false, false, nullptr},
    {17, 4, 1, 0, 1, false, true, false, false, "Damsen鼠标接收器"},
    {18, 4, 1, 0, 1, false, true, true, false, "Damsen鼠标接收器"},
    {19, 4, 1, 0, 1, false, true, false, false, "Damsen鼠标接收器"},
    {20, 4, 1, 0, 1, false, true, true, false, "Damsen鼠标接收器"},
    {21, 6, 1, 0, 1, false, true, false, false, nullptr},
    {22, 6, 1, 0, 1, false, true, false, false, nullptr},
    {23, 6, 1, 0, 1, false, true, true, false, nullptr},
    {24, 6, 2, 0, 1, false, true, false, true, "激光笔接收器"},
    {25, 6, 2, 0, 1, false, true, true, true, "激光笔接收器"},
    {26, 1, 1, U, U, true, false, false, false, nullptr},
    {27, 6, 1, 0, 1, false, true, false, false, nullptr},
    {28, 7, 1, U, 1, false, false, false, false, "AB接收器"},
    {29, 7, 1, U, 1, false, false, false, false, "AB接收器"},
    {30, 7, 1, U, 1, false, false, false, false, "AB接收器"},
    {31, 1, 1, U, U, true, false, false, false, nullptr},
    {32, 7, 1, U, 1, false, false, false, false, "AB接收器"},
    {33, 7, 1, U, 1, false, false, false, false, "AB接收器"},
    {34, 7, 1, U, 1, false, false, false, false, "AB接收器"},
};

void PrintTo(const OpenOutcome &o, std::ostream *os)
{
    *os << "row " << o.row;
}

} // namespace

class HidOpenPerRow : public HidTransportTest, public ::testing::WithParamInterface<OpenOutcome> {};

TEST_P(HidOpenPerRow, FamilyAndAnnouncements)
{
    const OpenOutcome &o = GetParam();
    const auto &row = qx::receivers::receiverTable()[std::size_t(o.row - 1)];
    // Markers for "left as it was".
    item().setMouseSource(9);
    item().setVid(1);
    item().setPid(1);
    item().setSn(QString("old"));
    watch();
    SimulatedReceiver::Options opts;
    opts.serialNumber = "R1";
    auto rx = plugRow(o.row, opts);

    ASSERT_EQ(hid->devicePath(), rx->path(Role::Command));
    EXPECT_TRUE(bus.isOpen(rx->path(Role::Command)));
    EXPECT_EQ(hid->currentVid(), row.vendorId);
    EXPECT_EQ(hid->currentPid(), row.productId);
    EXPECT_EQ(item().dongleVersion(), "1.00");
    EXPECT_EQ(st().chipPlan(), o.plan == U ? 0 : o.plan);
    EXPECT_EQ(item().deviceType(), quint64(o.deviceType));
    EXPECT_EQ(item().mouseSource(), quint64(o.source == U ? 9 : o.source));
    EXPECT_EQ(st().isSupportKeySetting(), o.keySetting == 1);
    EXPECT_EQ(item().vid(), o.ids ? row.vendorId : 1);
    EXPECT_EQ(item().pid(), o.ids ? row.productId : 1);
    EXPECT_EQ(item().sn(), o.ids ? "R1" : "old");
    EXPECT_EQ(st().mouseIsConnect(), o.connected);
    EXPECT_TRUE(st().usbInsert());
    EXPECT_TRUE(st().usbConnect());
    EXPECT_FALSE(st().isNeedMouseInfo());
    EXPECT_EQ(fakes.log.count("startTimer"), o.timer ? 1 : 0);
    EXPECT_EQ(fakes.log.count("changeLaserPenStatus(1)"), o.pen ? 1 : 0);
    if (o.log) {
        EXPECT_EQ(fakes.log.count("log:" + QString::fromUtf8(o.log)), 1);
    }

    // The common tail, in order, after the family's own lines.
    QStringList tail{"cancelPeripheralConnection", "post:kUSBInsertNotification", "registerHotKey",
                     "hidCallbackType(0)"};
    if (o.row == 15) // the Telink pointer receiver announces itself at once
        tail = QStringList{"setIsFromMicData(1)", "post:kUSBInsertNotification", "post:HadUSBInfoNotification"} + tail;
    ASSERT_GE(fakes.log.calls.size(), tail.size());
    EXPECT_EQ(fakes.log.calls.mid(fakes.log.calls.size() - tail.size()), tail);
    EXPECT_EQ(fakes.log.calls.first(), "log:接收器插入");

    // A second later: the first requests.
    fakes.log.clear();
    sched.advance(999);
    EXPECT_EQ(fakes.log.calls, QStringList{});
    sched.advance(1);
    QStringList first{"sendGetMouseInfoData"};
    if (o.deviceType == 1)
        first << "sendClosePopUpWebSiteData";
    EXPECT_EQ(fakes.log.calls, first);
}

INSTANTIATE_TEST_SUITE_P(EveryReceiver, HidOpenPerRow, ::testing::ValuesIn(kOutcomes),
                         [](const auto &info) { return "row" + std::to_string(info.param.row); });

TEST_F(HidTransportTest, LaserPenOnlineRequestWhenThePointerIsOn)
{
    st().setIsLaser(true);
    watch();
    auto rx = plugRow(24);
    sched.advance(1000);
    EXPECT_EQ(fakes.log.calls.mid(fakes.log.calls.size() - 2),
              (QStringList{"sendGetMouseInfoData", "sendTelinkLaserPenOnlineData"}));
}

TEST_F(HidTransportTest, EveryOpenGetsItsOwnFirstRequests)
{
    watch();
    auto rx = plugRow(1);
    sched.advance(500);
    hid->openHIDDevice();
    sched.advance(499);
    EXPECT_EQ(fakes.log.count("sendGetMouseInfoData"), 0);
    sched.advance(1);
    EXPECT_EQ(fakes.log.count("sendGetMouseInfoData"), 1);
    sched.advance(500);
    EXPECT_EQ(fakes.log.count("sendGetMouseInfoData"), 2);
}

TEST_F(HidTransportTest, FailedOpensAreRetriedTwentyTimesThenDropped)
{
    watch();
    SimulatedReceiver rx(bus, qx::receivers::receiverTable()[0], {});
    bus.fake().setOpenError(rx.path(Role::Command), platform::HidError::AccessDenied);
    rx.plugIn();
    EXPECT_EQ(bus.fake().openAttempts(rx.path(Role::Command)), 21);
    EXPECT_EQ(hid->openHandleNum(), 0);
    EXPECT_EQ(fakes.log.count("post:"), 0);
    EXPECT_EQ(fakes.log.count("startTimer"), 0);
    EXPECT_FALSE(st().usbConnect());
    EXPECT_TRUE(st().usbInsert());
    // The next look succeeds once the access is there.
    bus.fake().setOpenError(rx.path(Role::Command), platform::HidError::None);
    hid->openHIDDevice();
    EXPECT_TRUE(st().usbConnect());
}

TEST_F(HidTransportTest, FailedOpenWithAVoiceInterfaceClosesTheMicrophone)
{
    watch();
    SimulatedReceiver rx(bus, 0x4C4A, 0x5055, {});
    const QString voice = rx.addInterface(Role::Voice, 0xFF0C, 1).path;
    const QString command = rx.addInterface(Role::Command, 0xFF05, 0).path;
    bus.fake().setOpenError(command, platform::HidError::Io);
    rx.plugIn();
    sched.runDue();
    EXPECT_EQ(bus.fake().openAttempts(command), 1);
    EXPECT_EQ(fakes.log.count("sendCloseMicData"), 1);
    EXPECT_TRUE(bus.isOpen(voice));
    EXPECT_EQ(st().chipPlan(), 3);
}

// A receiver whose only interface so far is its voice interface looks for its command
// interface; that must neither recurse nor spin on the event loop.
TEST_F(HidTransportTest, VoiceOnlyReceiverWaitsForItsCommandInterface)
{
    watch();
    SimulatedReceiver rx(bus, 0x4C4A, 0x5055, {});
    const QString voice = rx.addInterface(Role::Voice, 0xFF0C, 1).path;
    rx.plugIn();
    EXPECT_EQ(hid->voiceDevicePath(), voice);
    EXPECT_FALSE(hid->hasDevice());
    EXPECT_TRUE(bus.isOpen(voice));
    EXPECT_EQ(st().chipPlan(), 3);
    sched.advance(5000);
    EXPECT_EQ(sched.pendingCount(), 0);
    EXPECT_EQ(fakes.log.count("log:接收器插入"), 1);

    // Its command interface opens the receiver; the voice layout stays.
    const QString command = rx.addInterface(Role::Command, 0xFF05, 0).path;
    EXPECT_EQ(hid->devicePath(), command);
    EXPECT_EQ(st().chipPlan(), 3);
    EXPECT_EQ(fakes.log.count("post:kUSBInsertNotification"), 1);
}

TEST_F(HidTransportTest, RemovalSequence)
{
    watch();
    auto rx = plugRow(1);
    st().setMouseIsConnect(true);
    st().setIsSupportKeySetting(true);
    ASSERT_EQ(hid->sendData(hex("0d01")), 0u);
    ASSERT_EQ(hid->sendData(hex("0d02")), 0u);
    fakes.log.clear();
    const QString command = rx->path(Role::Command);

    fakes.keys.setVioceMode(3);
    rx->unplug();
    EXPECT_EQ(fakes.keys.vioceMode(), 1);
    EXPECT_EQ(fakes.log.calls,
              (QStringList{"invalidateTimer", "log:接收器拔出", "dismissEffect", "setIsStartVoice(0)", "cancelAsr",
                           "break(WordShortcutKey)", "break(TranslateShortcutKey)", "break(SearchShortcutKey)",
                           "break(ChangeModeShortcutKey)", "break(SnipShortcutKey)", "invalidateTimer",
                           "post:kUSBRemoveNotification"}));
    EXPECT_EQ(hid->currentPid(), 0);
    EXPECT_EQ(hid->currentVid(), 0);
    EXPECT_FALSE(hid->isLength33());
    EXPECT_FALSE(st().usbInsert());
    EXPECT_FALSE(st().usbConnect());
    EXPECT_FALSE(st().mouseIsConnect());
    EXPECT_FALSE(st().isSupportKeySetting());
    EXPECT_EQ(st().chipPlan(), 0);
    EXPECT_FALSE(hid->hasDevice());
    EXPECT_FALSE(bus.isOpen(command));
    // The commands that waited went with the device.
    EXPECT_TRUE(hid->commandArr().isEmpty());
    bus.fake().clearWrites();
    sched.advance(200);
    EXPECT_TRUE(bus.fake().writes().isEmpty());

    // Watching again: the receiver comes back.
    EXPECT_TRUE(hid->isWatching());
    rx->plugIn();
    EXPECT_TRUE(hid->hasDevice());
    EXPECT_EQ(fakes.log.count("post:kUSBInsertNotification"), 1);
}

TEST_F(HidTransportTest, RemovalOfAnotherReceiverChangesNothing)
{
    watch();
    SimulatedReceiver::Options o;
    o.versionNumber = 0x0110;
    auto rx = plugRow(1, o);
    st().setMouseIsConnect(true); // the mouse reported in: further receivers are not taken up

    SimulatedReceiver::Options other;
    other.versionNumber = 0x0200;
    auto second = plugRow(10, other);
    auto twin = plugRow(1, other); // identical ids, another USB device
    fakes.log.clear();
    second->unplug();
    twin->unplug();
    EXPECT_EQ(fakes.log.calls, QStringList{});
    EXPECT_EQ(item().dongleVersion(), "1.10");
    EXPECT_TRUE(hid->hasDevice());
    EXPECT_EQ(hid->currentPid(), 0x24AB);
}

TEST_F(HidTransportTest, AfterRemovalAWaitingReceiverIsTakenUp)
{
    watch();
    auto first = plugRow(1);
    st().setMouseIsConnect(true);
    auto waiting = plugRow(2);
    EXPECT_EQ(hid->devicePath(), first->path(Role::Command));

    first->unplug();
    EXPECT_FALSE(hid->hasDevice());
    sched.runDue();
    EXPECT_EQ(hid->devicePath(), waiting->path(Role::Command));
    EXPECT_EQ(item().mouseSource(), 1u);
}

TEST_F(HidTransportTest, CloseAndReopenFromTheBluetoothSide)
{
    watch();
    auto rx = plugRow(9);
    const QString command = rx->path(Role::Command);
    hid->closeHIDDevice(); // a Bluetooth LE mouse connected
    EXPECT_FALSE(hid->hasDevice());
    EXPECT_FALSE(hid->isWatching());
    EXPECT_FALSE(bus.isOpen(command));
    EXPECT_EQ(bus.fake().closeCount(command), 1);

    hid->openHIDDevice(); // it went away again: watch and take the receiver up
    EXPECT_TRUE(hid->isWatching());
    sched.runDue();
    EXPECT_EQ(hid->devicePath(), command);
    EXPECT_EQ(fakes.log.count("post:kUSBInsertNotification"), 2);
}

TEST_F(HidTransportTest, SharedInstanceIsTheInstalledOne)
{
    HIDDevice *previous = HIDDevice::setSharedInstance(hid.get());
    EXPECT_EQ(&HIDDevice::sharedInstance(), hid.get());
    {
        // A transport without a backend finds nothing and sends nothing.
        HIDDevice bare(nullptr);
        ScopedInstall<HIDDevice> installed(&bare);
        EXPECT_EQ(&HIDDevice::sharedInstance(), &bare);
        EXPECT_EQ(HIDDevice::sharedInstance().sendData(hex("0d")), HIDDevice::kIOReturnNoDevice);
    }
    EXPECT_EQ(&HIDDevice::sharedInstance(), hid.get());
    HIDDevice::setSharedInstance(previous);
}
