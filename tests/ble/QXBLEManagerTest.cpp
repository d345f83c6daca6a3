#include "QXBLEManager.h"
#include "BleDeviceTable.h"
#include "FakeBleCentral.h"
#include "ManualScheduler.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"
#include "RecordingBleManagerDelegate.h"

#include <gtest/gtest.h>

using platform::BleAdapterState;
using namespace platform::bleprop;

namespace {

const QString kConnect = QString::fromLatin1(qx::notify::kBleConnectNotification);
const QString kDisconnect = QString::fromLatin1(qx::notify::kBleDisConnectNotification);

const QString kMouseId = QStringLiteral("C0:11:22:33:44:01");
const QString kPointerId = QStringLiteral("C0:11:22:33:44:02");
const QString kRead = QStringLiteral("A8253F03-0C51-4000-B84F-1500068FB5A3");
const QString kNotify = QStringLiteral("A8253F02-0C51-4000-B84F-1500068FB5A3");
const QString kWrite = QStringLiteral("A8253F04-0C51-4000-B84F-1500068FB5A3");
const QString kOtaWrite = QStringLiteral("A8253F06-0C51-4000-B84F-1500068FB5A3");
const QString kOtaNotify = QStringLiteral("A8253F05-0C51-4000-B84F-1500068FB5A3");
const QString kBattery = QStringLiteral("0000180F-0000-1000-8000-00805F9B34FB");

FakeBleAdapter::Peripheral mouse(QList<FakeBleAdapter::Characteristic> extra = {})
{
    FakeBleAdapter::Peripheral p;
    p.id = kMouseId;
    p.name = QStringLiteral("Quorvex Mouse");
    p.advertisedServices = {QString::fromLatin1(ble::kMouseServiceUuid)};
    QList<FakeBleAdapter::Characteristic> chars{
        {kRead, Read, QByteArray::fromHex("a1")},
        {kNotify, Notify, {}},
        {kWrite.toLower(), Write | WriteWithoutResponse, {}}, // case must not matter
        {kOtaWrite, WriteWithoutResponse, {}},
        {kOtaNotify, Notify, {}},
    };
    chars += extra;
    p.services = {{kBattery, {{QStringLiteral("00002A19-0000-1000-8000-00805F9B34FB"), Read | Notify, "\x50"}}},
                  {QString::fromLatin1(ble::kMouseServiceUuid), chars}};
    return p;
}

FakeBleAdapter::Peripheral pointer()
{
    FakeBleAdapter::Peripheral p;
    p.id = kPointerId;
    p.name = QStringLiteral("Pointer BT5.2");
    p.advertisedServices = {QString::fromLatin1(ble::kPointerServiceUuid)};
    p.services = {{QString::fromLatin1(ble::kPointerServiceUuid),
                   {{QStringLiteral("A1520003-5A21-4F05-BC7D-AF01F617B664"), Read, QByteArray::fromHex("0102")},
                    {kNotify, Notify, {}},
                    {QStringLiteral("A1520002-5A21-4F05-BC7D-AF01F617B664"), Write, {}}}}};
    return p;
}

class BleCentralTest : public ::testing::Test {
protected:
    ManualScheduler sched;
    FakeBleAdapter adapter;
    RecordingBleManagerDelegate app;
    NotificationRecorder rec{QStringList{kConnect, kDisconnect}};
    std::unique_ptr<QXBLEManager> mgr = std::make_unique<QXBLEManager>(adapter.factory(), &app);

    void TearDown() override { mgr.reset(); } // centrals go before their adapter

    // Launch: scan asked for, the adapter reports powered on.
    void launch()
    {
        mgr->startScan();
        sched.runDue();
    }
    void connectMouse(const FakeBleAdapter::Peripheral &p = mouse())
    {
        adapter.addPeripheral(p);
        launch();
        ASSERT_TRUE(adapter.advertise(p.id));
        sched.runDue();
    }
};

TEST(BleDeviceTable, AnyPartOfTheJoinedNamesMatches)
{
    const struct {
        const char *name;
        bool match;
    } rows[] = {
        {"Quorvex Mouse", true},    {"Quorvex KeyBoard", true},
        {"Pointer BT5.2", true},    {"Mouse", true}, // a part of one name
        {"Quorvex Mo", true},                        // a shortened advertised name
        {"Mouse,Quorvex", true},                     // the joined text spans two names
        {"Quorvex Mouse 2", false}, {"Logitech Mouse", false},
        {"quorvex mouse", false}, // case counts
        {"Pointer BT5.2 ", false},  {"", false},
    };
    for (const auto &r : rows)
        EXPECT_EQ(ble::matchesDeviceName(QString::fromUtf8(r.name)), r.match) << r.name;
}

TEST(BleDeviceTable, AdapterStateTextsAndServiceSets)
{
    const QStringList texts{"未知蓝牙状态",   "蓝牙重置",   "该设备不支持蓝牙",
                            "未授权蓝牙权限", "蓝牙已关闭", "蓝牙已打开"};
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(ble::adapterStateText(i), texts[i]);
    EXPECT_EQ(ble::adapterStateText(9), QStringLiteral("未知的蓝牙错误"));
    EXPECT_EQ(ble::adapterStateText(-1), QStringLiteral("未知的蓝牙错误"));

    const ble::BleServiceSet &p = ble::serviceSetForName(QStringLiteral("Pointer BT5.2"));
    EXPECT_EQ(p.neededCharacteristics, 2);
    EXPECT_EQ(p.deviceType, 5);
    const ble::BleServiceSet &k = ble::serviceSetForName(QStringLiteral("Quorvex KeyBoard"));
    EXPECT_EQ(k.neededCharacteristics, 5);
    EXPECT_EQ(k.deviceType, 0);
    EXPECT_STREQ(k.serviceUuid, ble::kMouseServiceUuid);
}

TEST_F(BleCentralTest, StartScanCreatesCentralAndPoweredOnOnlyRestartsTheCheck)
{
    mgr->startScan();
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning);
    EXPECT_EQ(adapter.centralsCreated(), 1);
    EXPECT_EQ(adapter.callCount("scan"), 1);
    EXPECT_TRUE(mgr->isCheckTimerRunning());

    sched.runDue(); // powered on arrives
    EXPECT_EQ(mgr->connectState(), QStringLiteral("蓝牙已打开"));
    EXPECT_EQ(adapter.callCount("scan"), 1) << "the scan request is not repeated";
    EXPECT_EQ(adapter.centralsCreated(), 1);
    EXPECT_EQ(adapter.callCount("retrieve"), 1) << "the check runs at once";

    sched.advance(3000);
    EXPECT_EQ(adapter.callCount("retrieve"), 4) << "and every second";

    // While scanning, a second start only restarts the check.
    mgr->startScan();
    EXPECT_EQ(adapter.centralsCreated(), 1);
}

TEST_F(BleCentralTest, StartScanDoesNothingWhileAUsbMouseIsConnected)
{
    app.usbMouseConnected = true;
    mgr->startScan();
    EXPECT_EQ(adapter.centralsCreated(), 0);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateIdle);
    EXPECT_FALSE(mgr->isCheckTimerRunning());
}

TEST_F(BleCentralTest, MouseConnectsSubscribesAndForwardsValues)
{
    connectMouse();
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateConnected);
    EXPECT_EQ(rec.count(kConnect), 1);
    EXPECT_TRUE(app.bleConnect);
    EXPECT_EQ(app.deviceName, QStringLiteral("Quorvex Mouse"));
    EXPECT_EQ(app.blueDeviceMac, kMouseId);
    EXPECT_EQ(app.deviceType, 0);
    EXPECT_FALSE(app.isFromMicData);
    EXPECT_FALSE(mgr->isCheckTimerRunning()) << "connecting ends the periodic check";
    EXPECT_EQ(mgr->BLEServiceID(), QString::fromLatin1(ble::kMouseServiceUuid));

    // Subscribed where the characteristic can notify, nowhere else.
    EXPECT_TRUE(adapter.isSubscribed(kMouseId, kNotify));
    EXPECT_TRUE(adapter.isSubscribed(kMouseId, kOtaNotify));
    EXPECT_EQ(adapter.callCount("notify("), 2);
    // Nothing of the battery service is touched.
    EXPECT_FALSE(adapter.isSubscribed(kMouseId, QStringLiteral("00002A19-0000-1000-8000-00805F9B34FB")));

    // Pushed values reach the parser, whatever characteristic they come from.
    ASSERT_TRUE(adapter.notify(kMouseId, kNotify, QByteArray::fromHex("5a0102")));
    ASSERT_TRUE(adapter.notify(kMouseId, kOtaNotify, QByteArray::fromHex("ff")));
    sched.runDue();
    EXPECT_EQ(app.values, (QByteArrayList{QByteArray::fromHex("5a0102"), QByteArray::fromHex("ff")}));
}

TEST_F(BleCentralTest, ConnectionNotificationRepeatsForLaterCharacteristicsOfTheService)
{
    connectMouse(mouse({{QStringLiteral("0000FFF1-0000-1000-8000-00805F9B34FB"), Read, {}},
                        {QStringLiteral("0000FFF2-0000-1000-8000-00805F9B34FB"), Read, {}}}));
    EXPECT_EQ(rec.count(kConnect), 3);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateConnected);
}

TEST_F(BleCentralTest, MouseMissingARoleNeverCountsAsConnected)
{
    FakeBleAdapter::Peripheral p = mouse();
    p.services[1].characteristics.removeLast();
    connectMouse(p);
    EXPECT_EQ(rec.count(kConnect), 0);
    EXPECT_FALSE(app.bleConnect);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateConnecting);
}

TEST_F(BleCentralTest, PointerNeedsTwoCharacteristicsAndStreamsItsOwnVoice)
{
    connectMouse(pointer());
    // Read and notify make it connected; the write characteristic after them posts again.
    EXPECT_EQ(rec.count(kConnect), 2);
    EXPECT_TRUE(app.bleConnect);
    EXPECT_EQ(app.deviceType, 5);
    EXPECT_TRUE(app.isFromMicData);
    EXPECT_EQ(mgr->BLEServiceID(), QString::fromLatin1(ble::kPointerServiceUuid));
    EXPECT_EQ(adapter.callCount("notify("), 1) << "only the characteristic that can notify";
    EXPECT_TRUE(mgr->sendData(QByteArray::fromHex("01")));
    ASSERT_EQ(adapter.writes.size(), 1);
    EXPECT_EQ(adapter.writes[0].characteristic.characteristic, QStringLiteral("A1520002-5A21-4F05-BC7D-AF01F617B664"));
}

TEST_F(BleCentralTest, ValueIsReadOnceAfterNotificationsTurnOn)
{
    FakeBleAdapter::Peripheral p = mouse();
    p.services[1].characteristics[1].properties = Read | Notify;
    p.services[1].characteristics[1].value = QByteArray::fromHex("beef");
    connectMouse(p);
    EXPECT_EQ(adapter.callCount("read("), 1);
    EXPECT_EQ(app.values, QByteArrayList{QByteArray::fromHex("beef")});
}

TEST_F(BleCentralTest, DiscoveryIgnoresWhatIsNotOurPeripheral)
{
    adapter.addPeripheral(mouse());
    FakeBleAdapter::Peripheral noName = mouse();
    noName.id = QStringLiteral("C0:11:22:33:44:10");
    noName.name.clear();
    FakeBleAdapter::Peripheral similar = mouse();
    similar.id = QStringLiteral("C0:11:22:33:44:11");
    similar.name = QStringLiteral("Logitech Mouse");
    FakeBleAdapter::Peripheral cached = mouse();
    cached.id = QStringLiteral("C0:11:22:33:44:12");
    cached.cached = true;
    for (const auto &p : {noName, similar, cached})
        adapter.addPeripheral(p);
    launch();
    for (const auto &p : {noName, similar, cached})
        adapter.advertise(p.id);
    sched.runDue();
    EXPECT_EQ(adapter.callCount("connect("), 0);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning);

    // The real one, heard three times, is connected once.
    adapter.advertise(kMouseId);
    adapter.advertise(kMouseId);
    adapter.advertise(kMouseId);
    sched.runDue();
    EXPECT_EQ(adapter.callCount("connect("), 1);
    EXPECT_EQ(rec.count(kConnect), 1);
}

TEST_F(BleCentralTest, MatchWithoutAdvertisedServicesOnlyRestartsTheCheck)
{
    FakeBleAdapter::Peripheral p = mouse();
    p.advertisedServices.clear();
    adapter.addPeripheral(p);
    launch();
    sched.advance(600);
    const int checks = adapter.callCount("retrieve");
    adapter.advertise(kMouseId);
    sched.runDue();
    EXPECT_EQ(adapter.callCount("connect("), 0);
    sched.advance(500); // 1100 ms after launch: an untouched timer would have fired
    EXPECT_EQ(adapter.callCount("retrieve"), checks);
    sched.advance(500);
    EXPECT_EQ(adapter.callCount("retrieve"), checks + 1);
}

TEST_F(BleCentralTest, UsbMouseTakesPrecedenceOnEveryDiscovery)
{
    connectMouse();
    app.usbMouseConnected = true;
    mgr->startScan(); // not scanning and a USB mouse: nothing happens
    EXPECT_EQ(adapter.centralsCreated(), 1);

    // A discovery while the USB mouse is there drops the peripheral.
    adapter.current()->scanForPeripherals();
    adapter.advertise(kMouseId);
    sched.runDue();
    EXPECT_EQ(rec.count(kDisconnect), 1);
    EXPECT_FALSE(app.bleConnect);
    EXPECT_EQ(adapter.connectionState(kMouseId), platform::BlePeripheralState::Disconnected);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateStopped);
    EXPECT_FALSE(mgr->isCheckTimerRunning());
    EXPECT_FALSE(mgr->sendData("x"));
    // The disconnection report finds the USB mouse still there: no new scan.
    EXPECT_EQ(adapter.centralsCreated(), 1);
}

TEST_F(BleCentralTest, AdapterOffDropsThePeripheralAndOnScansAgain)
{
    connectMouse();
    adapter.setState(BleAdapterState::PoweredOff);
    sched.runDue();
    EXPECT_EQ(mgr->connectState(), QStringLiteral("蓝牙已关闭"));
    EXPECT_EQ(rec.count(kDisconnect), 1);
    EXPECT_FALSE(app.bleConnect);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateStopped);
    EXPECT_FALSE(mgr->isCheckTimerRunning());

    adapter.setState(BleAdapterState::PoweredOn);
    sched.runDue();
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning);
    EXPECT_TRUE(mgr->isCheckTimerRunning());
    EXPECT_TRUE(adapter.advertise(kMouseId));
    sched.runDue();
    EXPECT_EQ(rec.count(kConnect), 2);

    for (auto [state, text] : {std::pair{BleAdapterState::Unsupported, "该设备不支持蓝牙"},
                               std::pair{BleAdapterState::Resetting, "蓝牙重置"}}) {
        adapter.setState(state);
        sched.runDue();
        EXPECT_EQ(mgr->connectState(), QString::fromUtf8(text));
        EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateStopped);
        EXPECT_FALSE(mgr->isCheckTimerRunning());
    }
}

TEST_F(BleCentralTest, PeripheralGoingAwayPostsDisconnectAndRescans)
{
    connectMouse();
    ASSERT_TRUE(adapter.dropConnection(kMouseId));
    sched.runDue();
    EXPECT_EQ(rec.names(), (QStringList{kConnect, kDisconnect}));
    EXPECT_FALSE(app.bleConnect);
    EXPECT_TRUE(mgr->discoveredPeripheral().isEmpty());
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning);
    EXPECT_EQ(adapter.centralsCreated(), 2);
    EXPECT_FALSE(mgr->sendOTAData("x"));

    adapter.advertise(kMouseId);
    sched.runDue();
    EXPECT_EQ(rec.count(kConnect), 2);
    EXPECT_TRUE(mgr->sendData("x"));
}

TEST_F(BleCentralTest, FailedConnectIsRetriedByANewScan)
{
    FakeBleAdapter::Peripheral p = mouse();
    p.connectError = QStringLiteral("page timeout");
    adapter.addPeripheral(p);
    launch();
    adapter.advertise(kMouseId);
    sched.runDue();
    EXPECT_EQ(adapter.callCount("connect("), 1);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning) << "scanning again";
    EXPECT_TRUE(mgr->discoveredPeripheral().isEmpty());
    EXPECT_EQ(rec.count(kDisconnect), 0);

    adapter.peripheral(kMouseId)->connectError.clear();
    adapter.advertise(kMouseId);
    sched.runDue();
    EXPECT_EQ(rec.count(kConnect), 1);
}

TEST_F(BleCentralTest, PeriodicCheckConnectsWhatTheSystemAlreadyHolds)
{
    FakeBleAdapter::Peripheral p = mouse();
    p.heldBySystem = true;
    p.advertisedServices.clear(); // connected devices do not advertise
    adapter.addPeripheral(p);
    launch(); // the check at power-on finds it
    EXPECT_EQ(rec.count(kConnect), 1);
    EXPECT_FALSE(mgr->isCheckTimerRunning());
    EXPECT_EQ(app.deviceName, QStringLiteral("Quorvex Mouse"));
}

TEST_F(BleCentralTest, PeriodicCheckSkipsWhileUsbMouseOrPeripheralBusy)
{
    FakeBleAdapter::Peripheral p = mouse();
    p.heldBySystem = true;
    adapter.addPeripheral(p);
    app.usbMouseConnected = false;
    mgr->startScan();
    app.usbMouseConnected = true;
    sched.runDue(); // powered on: the check sees the USB mouse
    sched.advance(2000);
    EXPECT_EQ(adapter.callCount("retrieve"), 0);
    app.usbMouseConnected = false;
    sched.advance(1000);
    EXPECT_EQ(adapter.callCount("retrieve"), 1);
    sched.runDue();
    EXPECT_EQ(rec.count(kConnect), 1);
    mgr->checkConnectCBPeripheral();
    EXPECT_EQ(adapter.callCount("connect("), 1) << "no second connection to a connected peripheral";
}

TEST_F(BleCentralTest, ErrorsInServiceDiscoveryDropThePeripheralAndRescan)
{
    FakeBleAdapter::Peripheral p = mouse();
    p.servicesError = QStringLiteral("gatt error");
    connectMouse(p);
    EXPECT_EQ(rec.count(kConnect), 0);
    EXPECT_EQ(rec.count(kDisconnect), 1);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning);

    adapter.peripheral(kMouseId)->servicesError.clear();
    adapter.peripheral(kMouseId)->characteristicsError.insert(QString::fromLatin1(ble::kMouseServiceUuid),
                                                              QStringLiteral("gatt error"));
    adapter.advertise(kMouseId);
    sched.runDue();
    EXPECT_EQ(rec.count(kConnect), 0);
    EXPECT_EQ(rec.count(kDisconnect), 2);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning);
}

TEST_F(BleCentralTest, ErrorsOutsideOurServiceAreHarmless)
{
    FakeBleAdapter::Peripheral p = mouse();
    p.characteristicsError.insert(kBattery, QStringLiteral("insufficient authentication"));
    p.notifyError.insert(kOtaNotify, QStringLiteral("write not permitted"));
    connectMouse(p);
    EXPECT_EQ(rec.count(kConnect), 1);
    EXPECT_TRUE(adapter.isSubscribed(kMouseId, kNotify));
    EXPECT_FALSE(adapter.isSubscribed(kMouseId, kOtaNotify));
}

TEST_F(BleCentralTest, DisconnectDuringDiscoveryLeavesNoHalfConnection)
{
    adapter.setResponseDelay(10);
    adapter.addPeripheral(mouse());
    mgr->startScan();
    sched.advance(10); // powered on
    adapter.advertise(kMouseId);
    sched.advance(10); // discovered -> connect
    sched.advance(10); // connected -> discover services
    ASSERT_EQ(adapter.callCount("discoverServices("), 1);
    adapter.dropConnection(kMouseId);
    sched.advance(100);
    EXPECT_EQ(rec.count(kConnect), 0);
    EXPECT_EQ(rec.count(kDisconnect), 1);
    EXPECT_FALSE(app.bleConnect);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning);
    EXPECT_EQ(adapter.callCount("discoverCharacteristics("), 0);
}

TEST_F(BleCentralTest, WritesGoToTheirCharacteristicInTheirMode)
{
    adapter.addPeripheral(mouse());
    EXPECT_FALSE(mgr->sendData("a")) << "no peripheral";
    launch();
    adapter.setResponseDelay(10);
    adapter.advertise(kMouseId);
    sched.advance(30); // discovered, connected, services found: characteristics not yet known
    ASSERT_FALSE(mgr->discoveredPeripheral().isEmpty());
    EXPECT_FALSE(mgr->sendData("b"));
    EXPECT_FALSE(mgr->sendOTAData("c"));
    sched.advance(100);
    ASSERT_EQ(rec.count(kConnect), 1);

    EXPECT_TRUE(mgr->sendData(QByteArray::fromHex("0102")));
    EXPECT_TRUE(mgr->sendOTAData(QByteArray::fromHex("0304")));
    ASSERT_EQ(adapter.writes.size(), 2);
    EXPECT_EQ(adapter.writes[0].characteristic.characteristic, kWrite);
    EXPECT_EQ(adapter.writes[0].mode, platform::BleWriteMode::WithResponse);
    EXPECT_EQ(adapter.writes[1].characteristic.characteristic, kOtaWrite);
    EXPECT_EQ(adapter.writes[1].mode, platform::BleWriteMode::WithoutResponse);
    EXPECT_EQ(adapter.writes[1].data, QByteArray::fromHex("0304"));
}

TEST_F(BleCentralTest, SimulatedMouseAnswersCommands)
{
    // A device answering each command on its notify characteristic, as protocol tests do.
    adapter.onWrite = [this](const FakeBleAdapter::Write &w) {
        if (w.mode == platform::BleWriteMode::WithResponse)
            adapter.notify(w.characteristic.peripheral, kNotify, QByteArray("ack:") + w.data);
    };
    connectMouse();
    mgr->sendData("dpi");
    sched.runDue();
    EXPECT_EQ(app.values.constLast(), QByteArray("ack:dpi"));
}

TEST_F(BleCentralTest, NewCentralWhileConnectedReportsTheLostConnection)
{
    connectMouse();
    // After a firmware transfer the scan is started again while the peripheral is still held.
    mgr->stopScan();
    mgr->startScan();
    EXPECT_EQ(adapter.centralsCreated(), 2);
    EXPECT_EQ(rec.count(kDisconnect), 1);
    EXPECT_FALSE(app.bleConnect);
    EXPECT_FALSE(mgr->sendData("x"));
    sched.runDue();
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateScanning);
    adapter.advertise(kMouseId);
    sched.runDue();
    EXPECT_EQ(rec.count(kConnect), 2);
}

} // namespace

namespace {

TEST_F(BleCentralTest, LateDisconnectOfAnEarlierPeripheralKeepsTheCurrentOne)
{
    FakeBleAdapter::Peripheral held = pointer();
    held.heldBySystem = true;
    adapter.addPeripheral(held);
    adapter.addPeripheral(mouse());
    launch(); // the check at power-on connects the pointer the system holds
    ASSERT_EQ(mgr->discoveredPeripheral(), kPointerId);

    // The pointer is let go; before its disconnection is reported the mouse is taken.
    adapter.setResponseDelay(10);
    mgr->cancelPeripheralConnection();
    mgr->connectBluetoothDevice({kMouseId, QStringLiteral("Quorvex Mouse"), {}, false, 0});
    sched.advance(100);
    EXPECT_EQ(mgr->discoveredPeripheral(), kMouseId);
    EXPECT_TRUE(app.bleConnect);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateConnected);
}

TEST_F(BleCentralTest, PoweredOnWhileConnectingKeepsTheConnection)
{
    FakeBleAdapter::Peripheral held = pointer();
    held.heldBySystem = true;
    adapter.addPeripheral(held);
    launch();
    ASSERT_EQ(rec.count(kConnect), 2);
    // Adapter switched off and on: a new central, and its own "powered on" report
    // must not tear down the connection the first report set up.
    adapter.setState(BleAdapterState::PoweredOff);
    sched.runDue();
    adapter.setState(BleAdapterState::PoweredOn);
    sched.advance(5000);
    EXPECT_EQ(adapter.centralsCreated(), 2);
    EXPECT_EQ(rec.count(kDisconnect), 1);
    EXPECT_EQ(mgr->stateNOW(), QXBLEManager::kStateConnected);
    EXPECT_EQ(adapter.connectionState(kPointerId), platform::BlePeripheralState::Connected);
}

} // namespace
