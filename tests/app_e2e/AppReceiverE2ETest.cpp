// The real application over a simulated hidraw receiver (umockdev): the receiver
// appears, the application identifies and opens it and polls it in its family's
// layout, asks for its information, reads the answers into the device state (log and
// preference file) and runs the removal when it is unplugged. Runs with
// libumockdev-preload (set up by ctest), which the application inherits.

// glib first: its headers use names Qt defines as macros.
#include <umockdev.h>

#include "AppProcess.h"

#include "KeyValueStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const char kHidraw[] = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1/0003:3151:22AB.0004/hidraw/hidraw0";

// A plan-2 receiver (0x3151/0x22AB): key setting, framed replies, a connection poll.
const char kReceiver[] =
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3\n"
    "E: SUBSYSTEM=usb\n"
    "E: DEVTYPE=usb_device\n"
    "E: PRODUCT=3151/22ab/100\n"
    "A: idVendor=3151\n"
    "A: idProduct=22ab\n"
    "A: bcdDevice=0100\n"
    "A: product=2.4G Receiver\n"
    "A: serial=E2E\n"
    "\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1\n"
    "E: SUBSYSTEM=usb\n"
    "E: DEVTYPE=usb_interface\n"
    "\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1/0003:3151:22AB.0004\n"
    "E: SUBSYSTEM=hid\n"
    "E: HID_ID=0003:00003151:000022AB\n"
    "E: HID_NAME=Maker 2.4G Receiver\n"
    "E: HID_UNIQ=E2E\n"
    "H: report_descriptor=0605FF0900A101150026FF00750895400900810209009102C0\n"
    "\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1/0003:3151:22AB.0004/hidraw/hidraw0\n"
    "N: hidraw0\n"
    "E: SUBSYSTEM=hidraw\n"
    "E: DEVNAME=/dev/hidraw0\n";

QByteArray report64(const char *hex)
{
    QByteArray r = QByteArray::fromHex(hex);
    r.append(QByteArray(64 - r.size(), '\0'));
    return r;
}

// The device side of the simulated node: reads what the application writes (one
// report per write, as the application paces them 50 ms apart) and answers.
class DeviceSide {
public:
    explicit DeviceSide(int fd) : m_fd(fd) {}

    // Reads reports until one equals `wanted`; every report read is kept.
    bool waitForReport(const QByteArray &wanted, int timeoutMs)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (m_pending.size() >= wanted.size() && m_pending.startsWith(wanted)) {
                m_pending.remove(0, wanted.size());
                m_seen << wanted;
                return true;
            }
            // Anything else that went out is a whole 64-byte report too.
            if (m_pending.size() >= 64) {
                m_seen << m_pending.left(64);
                m_pending.remove(0, 64);
                continue;
            }
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            char buf[512];
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n > 0)
                m_pending.append(buf, qsizetype(n));
        }
        return false;
    }
    bool answer(const QByteArray &report)
    {
        return ::write(m_fd, report.constData(), size_t(report.size())) == report.size();
    }
    QStringList seen() const
    {
        QStringList out;
        for (const QByteArray &r : m_seen)
            out << QString::fromLatin1(r.left(8).toHex());
        return out;
    }

private:
    int m_fd;
    QByteArray m_pending;
    QList<QByteArray> m_seen;
};

class AppReceiverE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("libumockdev-preload")))
            GTEST_SKIP() << "not running under libumockdev-preload (use ctest)";
        m_bed = umockdev_testbed_new(); // the child finds it through UMOCKDEV_DIR
        ASSERT_TRUE(m_root.isValid());
    }
    void TearDown() override
    {
        if (m_bed)
            g_object_unref(m_bed);
    }
    // Adds the receiver's nodes and makes the device side pass bytes untouched.
    int addReceiver()
    {
        GError *error = nullptr;
        if (!umockdev_testbed_add_from_string(m_bed, kReceiver, &error)) {
            ADD_FAILURE() << (error ? error->message : "cannot add the receiver");
            return -1;
        }
        const int slave = ::open("/dev/hidraw0", O_RDWR | O_NOCTTY);
        if (slave >= 0) {
            termios tio{};
            ::tcgetattr(slave, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(slave, TCSANOW, &tio);
            ::close(slave);
        }
        return umockdev_testbed_get_dev_fd(m_bed, "/dev/hidraw0");
    }

    UMockdevTestbed *m_bed = nullptr;
    QTemporaryDir m_root;
};

TEST_F(AppReceiverE2E, ReceiverIsOpenedPolledReadIntoTheStateAndRemoved)
{
    AppProcess app(m_root.path());
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();

    // Plugged in while the application runs.
    const int fd = addReceiver();
    ASSERT_GE(fd, 0);
    umockdev_testbed_uevent(m_bed, kHidraw, "add");
    ASSERT_TRUE(app.waitForUserLog(m_root.path(), "接收器插入")) << app.output().toStdString();
    DeviceSide device(fd);

    // The family's connection poll (every 3 s) asks whether the mouse is there.
    const QByteArray poll = report64("0da54d04694c");
    ASSERT_TRUE(device.waitForReport(poll, 8000)) << device.seen().join(' ').toStdString();
    // The mouse is there (status 0) ...
    ASSERT_TRUE(device.answer(report64("0d5a4d690000")));
    // ... so the application asks for its information.
    ASSERT_TRUE(device.waitForReport(report64("0da54d04614c"), 5000)) << device.seen().join(' ').toStdString()
                                                                        << app.output().toStdString();

    // Serial number (30 bytes), ids, LED, microphone, sensor, DPI, model, battery, firmware.
    QByteArray info = QByteArray::fromHex("0d5a4d6100");
    QByteArray sn("QXE2E0001");
    sn.append(QByteArray(30 - sn.size(), '\0'));
    info += sn;
    info += QByteArray::fromHex("ab22" "5131" "01" "00" "01" "02" "05" "4d"); // battery 0x4d = 77
    info += QByteArray("V1.2.3");
    info.append(QByteArray(64 - info.size(), '\0'));
    ASSERT_TRUE(device.answer(info));
    ASSERT_TRUE(app.waitFor("sn: QXE2E0001 battery: 77 firmware: V1.2.3")) << app.output().toStdString();

    // Unplugged: the removal runs (user log) and the application keeps running.
    umockdev_testbed_uevent(m_bed, kHidraw, "remove");
    umockdev_testbed_remove_device(m_bed, kHidraw);
    ASSERT_TRUE(app.waitForUserLog(m_root.path(), "接收器拔出", 10000)) << app.output().toStdString();
    EXPECT_TRUE(app.running());

    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
    const QByteArray log = AppProcess::userLog(m_root.path());
    EXPECT_TRUE(log.contains("接收器插入")) << log.toStdString();
    EXPECT_TRUE(log.contains("接收器拔出")) << log.toStdString();
    IniKeyValueStore prefs(m_root.filePath("preferences.ini"));
    EXPECT_EQ(prefs.stringValue("QX_Quorvex_Sn_Key"), "QXE2E0001");
    EXPECT_EQ(prefs.stringValue("QXFirmwareVersionKey"), "V1.2.3");
    EXPECT_EQ(prefs.intValue("QX_Quorvex_PowerPercent_Key"), 77);
}

// Plugged in before the launch: taken up, and never reported missing.
TEST_F(AppReceiverE2E, AReceiverPresentAtLaunchIsTakenUpAndNotReportedMissing)
{
    ASSERT_GE(addReceiver(), 0);
    AppProcess app(m_root.path());
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitForUserLog(m_root.path(), "接收器插入")) << app.output().toStdString();
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();
    EXPECT_EQ(app.count("no receiver connected"), 0) << app.output().toStdString();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
}

} // namespace
