#pragma once

#include "BleDeviceTable.h"
#include "FakeBleCentral.h"
#include "ManualScheduler.h"
#include "QXBLEManager.h"
#include "RecordingBleManagerDelegate.h"

#include <gtest/gtest.h>

#include <memory>

// A Bluetooth LE central with the maker's mouse in range on a fake adapter; connect()
// brings the link up so frames reach the mouse as GATT writes (adapter.writes).
// Needs a ManualScheduler alive around it.
struct ConnectedBleMouse {
    static inline const QString kMouseId = QStringLiteral("C0:11:22:33:44:01");
    static inline const QString kWrite = QStringLiteral("A8253F04-0C51-4000-B84F-1500068FB5A3");
    static inline const QString kOtaWrite = QStringLiteral("A8253F06-0C51-4000-B84F-1500068FB5A3");

    FakeBleAdapter adapter;
    RecordingBleManagerDelegate app;
    std::unique_ptr<QXBLEManager> central = std::make_unique<QXBLEManager>(adapter.factory(), &app);

    ~ConnectedBleMouse() { central.reset(); } // centrals go before their adapter

    static FakeBleAdapter::Peripheral mouse()
    {
        using namespace platform::bleprop;
        FakeBleAdapter::Peripheral p;
        p.id = kMouseId;
        p.name = QString::fromLatin1(ble::kMouseName);
        p.advertisedServices = {QString::fromLatin1(ble::kMouseServiceUuid)};
        p.services = {{QString::fromLatin1(ble::kMouseServiceUuid),
                       {{QStringLiteral("A8253F03-0C51-4000-B84F-1500068FB5A3"), Read, QByteArray::fromHex("a1")},
                        {QStringLiteral("A8253F02-0C51-4000-B84F-1500068FB5A3"), Notify, {}},
                        {kWrite, Write | WriteWithoutResponse, {}},
                        {kOtaWrite, WriteWithoutResponse, {}},
                        {QStringLiteral("A8253F05-0C51-4000-B84F-1500068FB5A3"), Notify, {}}}}};
        return p;
    }

    void connect(ManualScheduler &sched)
    {
        adapter.addPeripheral(mouse());
        central->startScan();
        sched.runDue();
        ASSERT_TRUE(adapter.advertise(kMouseId));
        sched.runDue();
        ASSERT_EQ(central->stateNOW(), QXBLEManager::kStateConnected);
        adapter.writes.clear();
    }
};
