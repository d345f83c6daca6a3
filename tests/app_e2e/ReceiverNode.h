#pragma once

// A plan-2 receiver (0x3151/0x22AB) in umockdev's simulated device tree, the device
// side of its hidraw node, and a fixture for tests of the real application over it.
// The test program runs with libumockdev-preload (set up by ctest), which the
// application inherits.

// glib first: its headers use names Qt defines as macros.
#include <umockdev.h>

#include "AppProcess.h"
#include "SimulatedNodeBacklog.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

namespace receiver_node {

const char kHidraw[] = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1/0003:3151:22AB.0004/hidraw/hidraw0";

// A plan-2 receiver (0x3151/0x22AB): key setting, framed replies, a connection poll.
const char kReceiver[] = "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3\n"
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

inline QByteArray hex4(quint16 v)
{
    return QByteArray::number(v, 16).rightJustified(4, '0');
}

// A receiver as umockdev-record would describe it: the USB device, its second
// interface, the HID device with one vendor collection (64-byte input and output
// reports), the hidraw node.
struct Receiver {
    quint16 vid, pid;
    quint16 usagePage;
    QByteArray serial;
    QByteArray product = "2.4G Receiver";
    quint8 usage = 0;
    // Another receiver in another USB port gets another node: hidraw1 in port 1-4.
    int node = 0;

    QByteArray port() const { return "1-" + QByteArray::number(3 + node); }
    QByteArray usb() const { return "/devices/pci0000:00/0000:00:14.0/usb1/" + port(); }
    QByteArray hid() const
    {
        return usb() + '/' + port() + ":1.1/0003:" + hex4(vid).toUpper() + ':' + hex4(pid).toUpper() + ".000"
               + QByteArray::number(4 + node);
    }
    QByteArray devNode() const { return "/dev/hidraw" + QByteArray::number(node); }
    QByteArray hidraw() const { return "/sys" + hid() + "/hidraw/hidraw" + QByteArray::number(node); }
    QByteArray text() const
    {
        const QByteArray page = hex4(usagePage).toUpper();
        return "P: " + usb()
               + "\n"
                 "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: PRODUCT="
               + hex4(vid) + '/' + hex4(pid)
               + "/100\n"
                 "A: idVendor="
               + hex4(vid) + "\nA: idProduct=" + hex4(pid)
               + "\nA: bcdDevice=0100\n"
                 "A: product="
               + product + "\nA: serial=" + serial
               + "\n\n"
                 "P: "
               + usb() + '/' + port()
               + ":1.1\n"
                 "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\n"
                 "P: "
               + hid()
               + "\nE: SUBSYSTEM=hid\n"
                 "E: HID_ID=0003:0000"
               + hex4(vid).toUpper() + ":0000" + hex4(pid).toUpper()
               + "\n"
                 "E: HID_NAME=Maker 2.4G Receiver\nE: HID_UNIQ="
               + serial
               + "\n"
                 "H: report_descriptor=06"
               + page.right(2) + page.left(2) + "09" + QByteArray::number(usage, 16).rightJustified(2, '0')
               + "A101150026FF00750895400900810209009102C0\n\n"
                 "P: "
               + hidraw().mid(4) + "\nN: " + devNode().mid(5) + "\nE: SUBSYSTEM=hidraw\nE: DEVNAME=" + devNode() + '\n';
    }
};

inline QByteArray report64(const char *hex)
{
    QByteArray r = QByteArray::fromHex(hex);
    r.append(QByteArray(64 - r.size(), '\0'));
    return r;
}

// The device side of the simulated node: reads what the application writes (one
// report per write, as the application paces them 50 ms apart) and answers.
class DeviceSide {
public:
    explicit DeviceSide(int fd) : m_fd(fd), m_appSide(openAppSide(fd)) {}
    ~DeviceSide()
    {
        if (m_appSide >= 0)
            ::close(m_appSide);
    }
    DeviceSide(const DeviceSide &) = delete;
    DeviceSide &operator=(const DeviceSide &) = delete;

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
    // A hidraw node hands over one report a read, a terminal everything written so far:
    // a report goes out only once the application has read the one before.
    bool answer(const QByteArray &report)
    {
        return waitUntilAppRead(m_appSide) && ::write(m_fd, report.constData(), size_t(report.size())) == report.size();
    }
    // Reads until nothing has come for quietMs; the reports read are kept.
    void drain(int quietMs)
    {
        while (true) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0)
                break;
            char buf[512];
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n <= 0)
                break;
            m_pending.append(buf, qsizetype(n));
        }
        m_seen << m_pending;
        m_pending.clear();
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
    int m_appSide;
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
    int addReceiver() { return addNodes(kReceiver); }
    int addReceiver(const Receiver &receiver)
    {
        return addNodes(receiver.text().constData(), receiver.devNode().constData());
    }
    int addNodes(const char *description, const char *devNode = "/dev/hidraw0")
    {
        GError *error = nullptr;
        if (!umockdev_testbed_add_from_string(m_bed, description, &error)) {
            ADD_FAILURE() << (error ? error->message : "cannot add the receiver");
            return -1;
        }
        const int slave = ::open(devNode, O_RDWR | O_NOCTTY);
        if (slave >= 0) {
            termios tio{};
            ::tcgetattr(slave, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(slave, TCSANOW, &tio);
            ::close(slave);
        }
        return umockdev_testbed_get_dev_fd(m_bed, devNode);
    }

    UMockdevTestbed *m_bed = nullptr;
    QTemporaryDir m_root;
};

} // namespace receiver_node
