// The real libhidapi-hidraw behind the shim, over a simulated sysfs/udev tree and a
// /dev node whose ioctls, writes and reads this test answers as the kernel would
// (umockdev): the library's own enumeration, open, feature-report and write paths
// run for real. Runs with libumockdev-preload (set up by ctest); skipped without it.

// glib first: its headers use names Qt defines as macros.
#include <umockdev.h>

#include "platform/linux/LibHidapiShim.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <cstring>
#include <mutex>

namespace {

const char kHidraw[] = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/0003:3151:22AB.0004/hidraw/hidraw1";

// A plan-2 receiver's command interface as umockdev-record would describe it.
const char kReceiver[] = "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3\n"
                         "E: SUBSYSTEM=usb\n"
                         "E: DEVTYPE=usb_device\n"
                         "A: idVendor=3151\n"
                         "A: idProduct=22ab\n"
                         "A: manufacturer=Maker\n"
                         "A: product=2.4G Receiver\n"
                         "A: serial=S-7\n"
                         "\n"
                         "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0\n"
                         "E: SUBSYSTEM=usb\n"
                         "E: DEVTYPE=usb_interface\n"
                         "A: bInterfaceNumber=01\n"
                         "\n"
                         "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/0003:3151:22AB.0004\n"
                         "E: SUBSYSTEM=hid\n"
                         "E: HID_ID=0003:00003151:000022AB\n"
                         "E: HID_NAME=Maker 2.4G Receiver\n"
                         "E: HID_UNIQ=S-7\n"
                         "H: report_descriptor=0605FF0900A101150026FF007508950F0900810209009102C0\n"
                         "\n"
                         "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/0003:3151:22AB.0004/hidraw/hidraw1\n"
                         "N: hidraw1\n"
                         "E: SUBSYSTEM=hidraw\n"
                         "E: DEVNAME=/dev/hidraw1\n";

// The kernel side of the node: answers the descriptor-size probe and feature-report
// requests, keeps what is written. Called on umockdev's worker thread.
struct KernelSide {
    std::mutex lock;
    QByteArray feature; // answer to a feature request, report number first
    QList<QByteArray> written;
    QList<int> featureRequests; // the buffer length of each

    // The test's thread reads and sets these under the lock too.
    void setFeature(const QByteArray &answer)
    {
        std::lock_guard<std::mutex> g(lock);
        feature = answer;
    }
    QList<int> requests()
    {
        std::lock_guard<std::mutex> g(lock);
        return featureRequests;
    }
    QList<QByteArray> writes()
    {
        std::lock_guard<std::mutex> g(lock);
        return written;
    }

    static gboolean onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self)
    {
        auto *k = static_cast<KernelSide *>(self);
        const gulong request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
        GError *error = nullptr;
        if (request == HIDIOCGRDESCSIZE) {
            UMockdevIoctlData *d = umockdev_ioctl_data_resolve(arg, 0, sizeof(int), &error);
            const int size = 25;
            if (d)
                std::memcpy(d->data, &size, sizeof size);
            umockdev_ioctl_client_complete(client, d ? 0 : -1, d ? 0 : EFAULT);
            return TRUE;
        }
        constexpr gulong kWithoutSize = ~(gulong(_IOC_SIZEMASK) << _IOC_SIZESHIFT);
        if ((request & kWithoutSize) == (gulong(HIDIOCGFEATURE(0)) & kWithoutSize)) {
            const int length = int(_IOC_SIZE(request));
            UMockdevIoctlData *d = umockdev_ioctl_data_resolve(arg, 0, gsize(length), &error);
            std::lock_guard<std::mutex> g(k->lock);
            k->featureRequests << length;
            const int n = std::min(length, int(k->feature.size()));
            if (d)
                std::memcpy(d->data, k->feature.constData(), size_t(n));
            umockdev_ioctl_client_complete(client, d ? n : -1, d ? 0 : EFAULT);
            return TRUE;
        }
        umockdev_ioctl_client_complete(client, -1, ENOTTY);
        return TRUE;
    }
    static gboolean onWrite(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self)
    {
        auto *k = static_cast<KernelSide *>(self);
        UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
        {
            std::lock_guard<std::mutex> g(k->lock);
            k->written << QByteArray(reinterpret_cast<const char *>(arg->data), arg->data_len);
        }
        umockdev_ioctl_client_complete(client, arg->data_len, 0);
        return TRUE;
    }
};

class LibHidapiShimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("libumockdev-preload")))
            GTEST_SKIP() << "not running under libumockdev-preload (use ctest, or umockdev-wrapper)";
        m_bed = umockdev_testbed_new();
    }
    void TearDown() override
    {
        if (m_handler)
            g_object_unref(m_handler);
        if (m_bed)
            g_object_unref(m_bed);
    }
    void plugIn()
    {
        GError *error = nullptr;
        ASSERT_TRUE(umockdev_testbed_add_from_string(m_bed, kReceiver, &error)) << (error ? error->message : "");
        // The kernel links a hidraw node to its HID device; the library reads the
        // report descriptor (and so the usage page) through that link.
        umockdev_testbed_set_attribute_link(m_bed, kHidraw, "device", "../..");
        m_handler = umockdev_ioctl_base_new();
        g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(KernelSide::onIoctl), &kernel);
        g_signal_connect(m_handler, "handle-write", G_CALLBACK(KernelSide::onWrite), &kernel);
        ASSERT_TRUE(umockdev_testbed_attach_ioctl(m_bed, "/dev/hidraw1", m_handler, &error))
            << (error ? error->message : "");
    }

    UMockdevTestbed *m_bed = nullptr;
    UMockdevIoctlBase *m_handler = nullptr;
    KernelSide kernel;
};

} // namespace

TEST_F(LibHidapiShimTest, NothingAttachedListsNothingAndOpensNothing)
{
    platform::LibHidapiShim shim;
    ASSERT_EQ(shim.init(), 0);
    EXPECT_TRUE(shim.enumerate(0, 0).empty());
    EXPECT_TRUE(shim.enumerate(0x3151, 0).empty());
    EXPECT_EQ(shim.openPath("/dev/hidraw-does-not-exist"), nullptr);
    EXPECT_FALSE(shim.lastError().isEmpty());
    EXPECT_EQ(shim.exit(), 0);
}

TEST_F(LibHidapiShimTest, ReceiverIsListedOpenedReadAndWritten)
{
    plugIn();
    platform::LibHidapiShim shim;
    ASSERT_EQ(shim.init(), 0);
    EXPECT_TRUE(shim.enumerate(0x25BA, 0).empty()) << "another vendor";
    const std::vector<platform::HidapiDeviceInfo> list = shim.enumerate(0x3151, 0x22AB);
    ASSERT_EQ(list.size(), 1u);
    const platform::HidapiDeviceInfo &d = list.front();
    EXPECT_EQ(d.path, QByteArray("/dev/hidraw1"));
    EXPECT_EQ(d.vendorId, 0x3151);
    EXPECT_EQ(d.productId, 0x22AB);
    EXPECT_EQ(d.serialNumber, QStringLiteral("S-7"));
    EXPECT_EQ(d.usagePage, 0xFF05);
    EXPECT_EQ(d.interfaceNumber, 1);

    std::unique_ptr<platform::HidapiDevice> dev = shim.openPath(d.path);
    ASSERT_NE(dev, nullptr) << shim.lastError().toStdString();
    const QByteArray feature = QByteArray::fromHex("0a112233");
    kernel.setFeature(feature);
    unsigned char buf[33] = {0x0a};
    EXPECT_EQ(dev->getFeatureReport(buf, sizeof buf), 4);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buf), 4), feature);
    EXPECT_EQ(kernel.requests(), QList<int>{33});

    const unsigned char out[] = {0x00, 0x0d, 0xa5, 0x4d};
    EXPECT_EQ(dev->write(out, sizeof out), 4);
    EXPECT_EQ(kernel.writes(), QList<QByteArray>{QByteArray::fromHex("000da54d")});
    dev.reset();
    EXPECT_EQ(shim.exit(), 0);
}
