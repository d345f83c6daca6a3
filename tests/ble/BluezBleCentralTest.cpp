#include "PZLog.h"
#include "QXBLEManager.h"
#include "RecordingBleManagerDelegate.h"
#include "RunUntilIdle.h"
#include "platform/linux/BluetoothBackend.h"
#include "platform/linux/BluezConnectedDevices.h"

#include <QBluetoothLocalDevice>
#include <QDBusArgument>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

using namespace platform;
using platform::linuxbackend::createBleCentral;

namespace {

struct StateRecorder final : IBleCentralDelegate {
    QList<BleAdapterState> states;
    QStringList failures;
    void centralDidUpdateState(BleAdapterState s) override { states << s; }
    void centralDidDiscoverPeripheral(const BlePeripheralInfo &) override {}
    void centralDidConnectPeripheral(const QString &) override {}
    void centralDidFailToConnectPeripheral(const QString &id, const QString &e) override { failures << id + ": " + e; }
    void centralDidDisconnectPeripheral(const QString &, const QString &) override {}
    void peripheralDidDiscoverServices(const QString &, const QStringList &, const QString &) override {}
    void peripheralDidDiscoverCharacteristics(const QString &, const QString &, const QList<BleCharacteristicInfo> &,
                                              const QString &) override
    {
    }
    void peripheralDidUpdateNotificationState(const BleCharacteristicRef &, bool, const QString &) override {}
    void peripheralDidUpdateValue(const BleCharacteristicRef &, const QByteArray &, const QString &) override {}
};

bool hasAdapter()
{
    return !QBluetoothLocalDevice::allDevices().isEmpty();
}

TEST(BluezBleCentral, WithoutAdapterReportsUnsupportedOnceAndAnswersEverything)
{
    if (hasAdapter())
        GTEST_SKIP() << "a Bluetooth adapter is present; this checks the machine without one";
    QElapsedTimer t;
    t.start();
    StateRecorder rec;
    {
        const std::unique_ptr<IBleCentral> made = createBleCentral();
        IBleCentral &central = *made;
        central.setDelegate(&rec);
        central.scanForPeripherals();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !rec.states.isEmpty(); }, 5000));
        EXPECT_EQ(rec.states, QList<BleAdapterState>{BleAdapterState::Unsupported});
        EXPECT_TRUE(qxLoggedOnce(QStringLiteral("ble.noadapter")));
        EXPECT_FALSE(central.isScanning());
        EXPECT_TRUE(
            central.retrieveConnectedPeripherals({QStringLiteral("A8253F01-0C51-4000-B84F-1500068FB5A3")}).isEmpty());
        central.connectPeripheral(QStringLiteral("C0:11:22:33:44:01"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !rec.failures.isEmpty(); }, 5000));
        central.writeValue({QStringLiteral("C0:11:22:33:44:01"), QStringLiteral("S"), QStringLiteral("C")}, "x",
                           BleWriteMode::WithResponse);
        central.stopScan();
        QTest::qWait(20);
    }
    EXPECT_LT(t.elapsed(), 5000) << "nothing may block on a missing BlueZ";
}

TEST(BluezBleCentral, ManagerOnTheRealBackendStopsCleanlyWithoutAdapter)
{
    if (hasAdapter())
        GTEST_SKIP() << "a Bluetooth adapter is present";
    RecordingBleManagerDelegate app;
    int created = 0;
    QXBLEManager mgr(
        [&created]() -> std::unique_ptr<IBleCentral> {
            ++created;
            return createBleCentral();
        },
        &app);
    mgr.startScan();
    EXPECT_EQ(mgr.stateNOW(), QXBLEManager::kStateScanning);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mgr.connectState().isEmpty(); }, 5000));
    EXPECT_EQ(mgr.connectState(), QStringLiteral("该设备不支持蓝牙"));
    EXPECT_EQ(mgr.stateNOW(), QXBLEManager::kStateStopped);
    EXPECT_FALSE(mgr.isCheckTimerRunning()) << "no adapter, nothing to wake up for";
    EXPECT_FALSE(mgr.sendData("x"));
    // A later start (USB receiver removed) goes through the same path again, quietly.
    mgr.startScan();
    ASSERT_TRUE(QTest::qWaitFor([&] { return created == 2 && mgr.stateNOW() == QXBLEManager::kStateStopped; }, 5000));
    runUntilIdle();
    EXPECT_EQ(mgr.stateNOW(), QXBLEManager::kStateStopped);
    EXPECT_EQ(created, 2);
    EXPECT_FALSE(app.bleConnect);
}

TEST(BluezConnectedDevices, PicksConnectedDevicesOfferingOurServices)
{
    using linuxbackend::BluezObjects;
    auto device = [](const char *addr, const char *name, bool connected, QStringList uuids) {
        linuxbackend::BluezInterfaces ifaces;
        ifaces.insert(QStringLiteral("org.bluez.Device1"), QVariantMap{{"Address", QString::fromLatin1(addr)},
                                                                       {"Name", QString::fromLatin1(name)},
                                                                       {"Connected", connected},
                                                                       {"UUIDs", uuids}});
        return ifaces;
    };
    BluezObjects objects;
    objects.insert(QDBusObjectPath("/org/bluez/hci0"),
                   {{QStringLiteral("org.bluez.Adapter1"), QVariantMap{{"Powered", true}}}});
    objects.insert(QDBusObjectPath("/org/bluez/hci0/dev_1"),
                   device("c0:11:22:33:44:01", "Quorvex Mouse", true, {"a8253f01-0c51-4000-b84f-1500068fb5a3"}));
    objects.insert(QDBusObjectPath("/org/bluez/hci0/dev_2"),
                   device("C0:11:22:33:44:02", "Pointer BT5.2", false, {"A1520001-5A21-4F05-BC7D-AF01F617B664"}));
    objects.insert(QDBusObjectPath("/org/bluez/hci0/dev_3"),
                   device("C0:11:22:33:44:03", "Headset", true, {"0000110B-0000-1000-8000-00805F9B34FB"}));
    objects.insert(QDBusObjectPath("/org/bluez/hci0/dev_4"),
                   device("", "No address", true, {"A8253F01-0C51-4000-B84F-1500068FB5A3"}));

    const QList<BlePeripheralInfo> found = linuxbackend::connectedPeripheralsIn(
        objects, {"A8253F01-0C51-4000-B84F-1500068FB5A3", "A1520001-5A21-4F05-BC7D-AF01F617B664"});
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].id, QStringLiteral("C0:11:22:33:44:01"));
    EXPECT_EQ(found[0].name, QStringLiteral("Quorvex Mouse"));

    // Bluetooth's module loads for an adapter, powered or not; devices the tree still
    // lists after their adapter went do not count as one.
    EXPECT_TRUE(linuxbackend::hasAdapterIn(objects));
    objects.remove(QDBusObjectPath("/org/bluez/hci0"));
    EXPECT_FALSE(linuxbackend::hasAdapterIn(objects));
}

} // namespace
