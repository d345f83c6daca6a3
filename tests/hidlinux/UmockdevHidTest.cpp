// The Linux HID backend against a simulated sysfs/udev tree and /dev node (umockdev):
// libudev enumeration and monitor, the sysfs property and report-descriptor reads, the
// hidraw open, write and read paths all run for real; only the kernel is simulated.
// Runs with libumockdev-preload (set up by ctest); skipped without it.

// glib first: its headers use names Qt defines as macros.
#include <umockdev.h>

#include "ReceiverTable.h"
#include "platform/linux/LinuxHidBackend.h"
#include "platform/linux/LinuxUsbWatcher.h"
#include "platform/linux/X11PermissionProbe.h"

#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace platform;
using platform::linuxbackend::LinuxHidBackend;
using platform::linuxbackend::LinuxUsbWatcher;

namespace {

const char kUsbDevice[] = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
const char kHidraw[] = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:25BA:24AB.0002/hidraw/hidraw0";

// A domestic-edition receiver as umockdev-record would describe it: the USB device,
// its second interface, the HID device with a vendor 0xFF05 collection, the hidraw node.
const char kReceiver[] = "P: /devices/pci0000:00/0000:00:14.0/usb1/1-2\n"
                         "E: SUBSYSTEM=usb\n"
                         "E: DEVTYPE=usb_device\n"
                         "E: PRODUCT=25ba/24ab/110\n"
                         "A: idVendor=25ba\n"
                         "A: idProduct=24ab\n"
                         "A: bcdDevice=0110\n"
                         "A: product=2.4G Receiver\n"
                         "A: serial=R1\n"
                         "\n"
                         "P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1\n"
                         "E: SUBSYSTEM=usb\n"
                         "E: DEVTYPE=usb_interface\n"
                         "\n"
                         "P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:25BA:24AB.0002\n"
                         "E: SUBSYSTEM=hid\n"
                         "E: HID_ID=0003:000025BA:000024AB\n"
                         "E: HID_NAME=Maker 2.4G Receiver\n"
                         "E: HID_UNIQ=R1\n"
                         "H: report_descriptor=0605FF0900A101150026FF007508950F0900810209009102C0\n"
                         "\n"
                         "P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:25BA:24AB.0002/hidraw/hidraw0\n"
                         "N: hidraw0\n"
                         "E: SUBSYSTEM=hidraw\n"
                         "E: DEVNAME=/dev/hidraw0\n";

QByteArray readAvailable(int fd, int expected)
{
    QByteArray out;
    while (out.size() < expected) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0)
            break;
        char buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, qsizetype(n));
    }
    return out;
}

class UmockdevHid : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("libumockdev-preload")))
            GTEST_SKIP() << "not running under libumockdev-preload (use ctest, or umockdev-wrapper)";
        m_bed = umockdev_testbed_new();
    }
    void TearDown() override
    {
        if (m_bed)
            g_object_unref(m_bed);
    }
    UMockdevTestbed *m_bed = nullptr;
};

} // namespace

TEST_F(UmockdevHid, ReceiverArrivesIsIdentifiedTalksAndLeaves)
{
    LinuxHidBackend backend;
    QList<HidMatch> matches;
    for (const auto &row : qx::receivers::receiverTable())
        matches.append({row.vendorId, row.productId});

    QList<HidDeviceInfo> arrived, removed;
    ASSERT_TRUE(backend.startWatching(
        matches, [&](const HidDeviceInfo &d) { arrived.append(d); },
        [&](const HidDeviceInfo &d) { removed.append(d); }));
    QList<QPair<QString, QByteArray>> input;
    backend.setInputCallback([&](const QString &path, const QByteArray &r) { input.append({path, r}); });

    // Plug in.
    GError *error = nullptr;
    ASSERT_TRUE(umockdev_testbed_add_from_string(m_bed, kReceiver, &error)) << (error ? error->message : "");
    umockdev_testbed_uevent(m_bed, kHidraw, "add");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !arrived.isEmpty(); }, 5000)) << "no arrival from the udev monitor";
    ASSERT_EQ(arrived.size(), 1);
    const HidDeviceInfo info = arrived.first();
    EXPECT_EQ(info.path, QStringLiteral("/dev/hidraw0"));
    EXPECT_EQ(info.vendorId, 0x25BA);
    EXPECT_EQ(info.productId, 0x24AB);
    EXPECT_EQ(info.versionNumber, 0x0110);
    EXPECT_EQ(info.product, QStringLiteral("2.4G Receiver"));
    EXPECT_EQ(info.serialNumber, QStringLiteral("R1"));
    EXPECT_EQ(info.primaryUsagePage, 0xFF05u);
    EXPECT_EQ(info.primaryUsage, 0u);
    EXPECT_EQ(info.usbDevice, QString::fromLatin1(kUsbDevice));
    // Enumeration sees the same interface.
    EXPECT_EQ(backend.enumerate(matches), QList<HidDeviceInfo>{info});

    // Identified by the receiver table: the domestic edition, whose command interface
    // is the one this node carries.
    const auto *row = qx::receivers::findReceiver(info.vendorId, info.productId);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->number, 1);
    EXPECT_EQ(info.primaryUsagePage, row->command.page);
    EXPECT_EQ(info.primaryUsage, row->command.usage);

    // The simulated node is a pty: make the device side pass bytes untouched.
    const int device = umockdev_testbed_get_dev_fd(m_bed, "/dev/hidraw0");
    ASSERT_GE(device, 0);
    const int slave = ::open("/dev/hidraw0", O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(slave, &tio), 0);
    ::cfmakeraw(&tio);
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &tio), 0);
    ::close(slave);

    ASSERT_TRUE(backend.open(info.path).ok());
    EXPECT_TRUE(backend.isOpen(info.path));

    // A command goes out whole.
    const QByteArray command = QByteArray::fromHex("0d14") + QByteArray(14, '\0');
    ASSERT_TRUE(backend.writeReport(info.path, command).ok());
    EXPECT_EQ(readAvailable(device, command.size()).toHex(), command.toHex());

    // The receiver answers with its information report.
    const QByteArray report = QByteArray::fromHex("0d01640121 2a013302");
    ASSERT_EQ(::write(device, report.constData(), size_t(report.size())), report.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !input.isEmpty(); }, 5000)) << "no input report";
    EXPECT_EQ(input.first().first, info.path);
    EXPECT_EQ(input.first().second.toHex(), report.toHex());

    // Unplug: the removal carries the description read at arrival.
    umockdev_testbed_uevent(m_bed, kHidraw, "remove");
    umockdev_testbed_remove_device(m_bed, kHidraw);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !removed.isEmpty(); }, 5000)) << "no removal from the udev monitor";
    EXPECT_EQ(removed, QList<HidDeviceInfo>{info});
    EXPECT_FALSE(backend.isOpen(info.path));
    EXPECT_TRUE(backend.enumerate(matches).isEmpty());
}

TEST_F(UmockdevHid, EventsWithoutAttributesAndForeignDevicesAreIgnored)
{
    LinuxHidBackend backend;
    int arrivals = 0;
    ASSERT_TRUE(backend.startWatching(
        {{0x25BA, 0x24AB}}, [&](const HidDeviceInfo &) { ++arrivals; }, [](const HidDeviceInfo &) {}));
    // A second watcher of every interface shows that the events did arrive.
    LinuxHidBackend everything;
    QList<HidDeviceInfo> seen;
    ASSERT_TRUE(everything.startWatching(
        {}, [&](const HidDeviceInfo &d) { seen.append(d); }, [](const HidDeviceInfo &) {}));
    // A hidraw node with no parents and no attributes, and an ordinary mouse.
    const char bare[] = "P: /devices/virtual/misc/hidraw/hidraw5\n"
                        "N: hidraw5\n"
                        "E: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/hidraw5\n";
    const char mouse[] = "P: /devices/pci0000:00/usb1/1-3\n"
                         "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
                         "A: idVendor=046d\nA: idProduct=c077\nA: bcdDevice=zz\n"
                         "\n"
                         "P: /devices/pci0000:00/usb1/1-3/1-3:1.0/0003:046D:C077.0003\n"
                         "E: SUBSYSTEM=hid\n"
                         "E: HID_ID=garbage\n"
                         "H: report_descriptor=0501\n"
                         "\n"
                         "P: /devices/pci0000:00/usb1/1-3/1-3:1.0/0003:046D:C077.0003/hidraw/hidraw6\n"
                         "N: hidraw6\nE: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/hidraw6\n";
    ASSERT_TRUE(umockdev_testbed_add_from_string(m_bed, bare, nullptr));
    ASSERT_TRUE(umockdev_testbed_add_from_string(m_bed, mouse, nullptr));
    umockdev_testbed_uevent(m_bed, "/sys/devices/virtual/misc/hidraw/hidraw5", "add");
    umockdev_testbed_uevent(m_bed, "/sys/devices/pci0000:00/usb1/1-3/1-3:1.0/0003:046D:C077.0003/hidraw/hidraw6",
                            "add");
    // Every interface, unfiltered: the bare node reads as zeros, the mouse keeps its ids.
    const QList<HidDeviceInfo> all = backend.enumerate({});
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0].vendorId, 0);
    EXPECT_EQ(all[1].vendorId, 0x046D);
    EXPECT_EQ(all[1].versionNumber, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 5000));
    EXPECT_EQ(seen[0].path, QStringLiteral("/dev/hidraw5"));
    EXPECT_EQ(seen[0].vendorId, 0);
    EXPECT_EQ(seen[1].vendorId, 0x046D);
    EXPECT_EQ(seen[1].primaryUsagePage, 0u); // the descriptor stops mid-item
    EXPECT_EQ(arrivals, 0);
}

TEST_F(UmockdevHid, UsbWatcherReportsReceiversComingAndGoing)
{
    LinuxUsbWatcher watcher;
    QList<UsbDeviceInfo> arrived, removed;
    ASSERT_TRUE(watcher.start([&](const UsbDeviceInfo &d) { arrived.append(d); },
                              [&](const UsbDeviceInfo &d) { removed.append(d); }));
    ASSERT_TRUE(umockdev_testbed_add_from_string(m_bed, kReceiver, nullptr));
    // Present at start: enumeration finds the USB device (not its interface).
    const QList<UsbDeviceInfo> present = watcher.enumerate();
    ASSERT_EQ(present.size(), 1);
    EXPECT_EQ(present[0].vendorId, 0x25BA);
    EXPECT_EQ(present[0].productId, 0x24AB);
    EXPECT_EQ(present[0].name, QStringLiteral("2.4G Receiver"));

    umockdev_testbed_uevent(m_bed, kUsbDevice, "add");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !arrived.isEmpty(); }, 5000));
    EXPECT_EQ(arrived.first(), present[0]);

    umockdev_testbed_uevent(m_bed, kUsbDevice, "remove");
    umockdev_testbed_remove_device(m_bed, kUsbDevice);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !removed.isEmpty(); }, 5000));
    EXPECT_EQ(removed.first().vendorId, 0x25BA);
    EXPECT_EQ(removed.first().productId, 0x24AB);
}

// Input monitoring needs the connected receivers' nodes: none connected tells nothing,
// a connected one is opened for reading and writing (here by root, so it can be).
TEST_F(UmockdevHid, PermissionProbeLooksAtTheConnectedReceiversNodesOnly)
{
    using platform::linuxbackend::X11PermissionProbe;
    const QList<HidMatch> receivers{{0x25BA, 0x24AB}};
    EXPECT_EQ(X11PermissionProbe::receiverNodeAccess(receivers).state, PermissionState::Undetermined);
    ASSERT_TRUE(umockdev_testbed_add_from_string(m_bed, kReceiver, nullptr));
    EXPECT_EQ(X11PermissionProbe::receiverNodeAccess(receivers).state, PermissionState::Granted);
    EXPECT_EQ(X11PermissionProbe::receiverNodeAccess({{0x046D, 0xC52B}}).state, PermissionState::Undetermined);
}
