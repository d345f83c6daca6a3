#pragma once

// The plan-2 receiver (0x3151/0x22AB) that the umockdev benches plug in: its device tree
// and the path of its hidraw node.

#include <umockdev.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace bench {

inline const char kHidraw[] =
    "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1/0003:3151:22AB.0004/hidraw/hidraw0";
inline const char kReceiver[] =
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
    "A: idVendor=3151\nA: idProduct=22ab\nA: bcdDevice=0100\nA: product=2.4G Receiver\nA: serial=B\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1/0003:3151:22AB.0004\nE: SUBSYSTEM=hid\n"
    "E: HID_ID=0003:00003151:000022AB\nH: report_descriptor=0605FF0900A101150026FF00750895400900810209009102C0\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.1/0003:3151:22AB.0004/hidraw/hidraw0\n"
    "N: hidraw0\nE: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/hidraw0\n";

// Adds the receiver's nodes with the device side passing bytes untouched (raw), announces
// it, and returns the device side's fd.
inline int plugInReceiver(UMockdevTestbed *bed)
{
    umockdev_testbed_add_from_string(bed, kReceiver, nullptr);
    const int slave = ::open("/dev/hidraw0", O_RDWR | O_NOCTTY);
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::close(slave);
    const int fd = umockdev_testbed_get_dev_fd(bed, "/dev/hidraw0");
    umockdev_testbed_uevent(bed, kHidraw, "add");
    return fd;
}

} // namespace bench
