#include "QXUsbInfoManager.h"

#include "FakeUsbWatcher.h"
#include "ManualScheduler.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"
#include "PZLog.h"

#include <gtest/gtest.h>

using platform::UsbDeviceInfo;

namespace {

const QString kInsert = QString::fromLatin1(qx::notify::kBootUpUSBInsertNotification);
const QString kRemove = QString::fromLatin1(qx::notify::kBootUpUSBRemoveNotification);

UsbDeviceInfo device(const char *path, quint16 vid, quint16 pid)
{
    return {QString::fromLatin1(path), vid, pid, QStringLiteral("Receiver")};
}

QVariantList ids(int vid, int pid)
{
    return {vid, pid};
}

class UsbInfoManagerTest : public ::testing::Test {
protected:
    UsbInfoManagerTest()
    {
        setWriteLogHandler([this](const QString &line) { log.append(line); });
        manager.setWatcher(&bus);
    }
    ~UsbInfoManagerTest() override { setWriteLogHandler(nullptr); }

    ManualScheduler clock;
    FakeUsbWatcher bus;
    NotificationRecorder recorder{QStringList{kInsert, kRemove}};
    QStringList log;
    QXUsbInfoManager manager;
};

} // namespace

TEST_F(UsbInfoManagerTest, ArrivalIsAnnouncedOneSecondLaterWithItsIds)
{
    manager.startMonitorUSB();
    EXPECT_EQ(bus.startCount(), 1); // one watcher for all pairs
    bus.plug(device("/usb/1-2", 0x25BA, 0x24AB));
    clock.advance(999);
    EXPECT_TRUE(recorder.names().isEmpty());
    clock.advance(1);
    EXPECT_EQ(recorder.names(), QStringList{kInsert});
    EXPECT_EQ(recorder.payloads().value(0).toList(), ids(9658, 9387));
    EXPECT_EQ(log, QStringList{QStringLiteral("接收器插入")});
    EXPECT_EQ(manager.currentVid(), 9658);
    EXPECT_EQ(manager.currentPid(), 9387);
}

TEST_F(UsbInfoManagerTest, RemovalWithinTheSecondCancelsTheInsertAnnouncement)
{
    manager.startMonitorUSB();
    bus.plug(device("/usb/1-2", 0x25BA, 0x24AB));
    clock.advance(500);
    bus.unplug(QStringLiteral("/usb/1-2"));
    clock.advance(999);
    EXPECT_TRUE(recorder.names().isEmpty());
    clock.advance(1); // t0 + 1.5 s
    EXPECT_EQ(recorder.names(), QStringList{kRemove});
    EXPECT_EQ(recorder.payloads().value(0).toList(), ids(0x25BA, 0x24AB));
    EXPECT_EQ(log, QStringList{QStringLiteral("接收器拔出")});
    EXPECT_EQ(manager.currentVid(), 0x25BA);

    // The flag is shared: another receiver's removal also cancels a pending insert,
    // and a later arrival clears it again.
    bus.plug(device("/usb/1-3", 0x3151, 0x22AB));
    bus.plug(device("/usb/1-4", 0x3151, 0x50AB));
    clock.advance(100);
    bus.unplug(QStringLiteral("/usb/1-4"));
    clock.advance(1000);
    EXPECT_EQ(recorder.count(kInsert), 0);
    EXPECT_EQ(recorder.count(kRemove), 2);
}

TEST_F(UsbInfoManagerTest, PresentDevicesAndSeveralArrivalsAreEachAnnounced)
{
    bus.plug(device("/usb/1-1", 0x10D6, 0xB010)); // present before watching
    bus.plug(device("/usb/1-5", 0x046D, 0xC077)); // an ordinary mouse: not watched
    manager.startMonitorUSB();
    bus.plug(device("/usb/1-2", 0x25AA, 0x24BB));
    bus.plug(device("/usb/1-3", 0xAC21, 0xAC22));
    clock.advance(1000);
    EXPECT_EQ(recorder.count(kInsert), 3);
    EXPECT_EQ(recorder.payloads().value(0).toList(), ids(0x10D6, 0xB010));
    // The later arrival's ids stay.
    EXPECT_EQ(manager.currentVid(), 0xAC21);
    EXPECT_EQ(manager.currentPid(), 0xAC22);

    bus.unplug(QStringLiteral("/usb/1-5"));
    clock.advance(1000);
    EXPECT_EQ(recorder.count(kRemove), 0);
}

TEST_F(UsbInfoManagerTest, WatchDefaultsAndPayloadChecks)
{
    manager.watch(0, -1);          // stands for B75C:92CD
    manager.watch(0xB75C, 0x92CD); // once is enough
    bus.plug(device("/usb/2-1", 0xB75C, 0x92CD));
    clock.advance(1000);
    EXPECT_EQ(recorder.count(kInsert), 1);

    // Handlers keep the ids when the payload does not carry two numbers.
    manager.tarnelUSBConnectDeviceNotification(QVariant());
    manager.tarnelUSBRomveDeviceNotification(QVariantList{QStringLiteral("x"), 1});
    EXPECT_EQ(manager.currentVid(), 0); // not observing: nothing stored by the post
    manager.tarnelUSBConnectDeviceNotification(ids(1, 2));
    EXPECT_EQ(manager.currentVid(), 1);
    EXPECT_EQ(manager.currentPid(), 2);
}

TEST_F(UsbInfoManagerTest, WithoutABusNothingHappens)
{
    QXUsbInfoManager lonely;
    lonely.startMonitorUSB();
    clock.advance(2000);
    EXPECT_TRUE(recorder.names().isEmpty());
}
