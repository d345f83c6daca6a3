#pragma once

#include "UdevSource.h"
#include "platform/IUsbWatcher.h"

#include <QHash>
#include <QObject>

struct udev_device;

namespace platform::linuxbackend {

// USB devices through libudev: subsystem "usb", device type "usb_device".
class LinuxUsbWatcher final : public QObject, public IUsbWatcher {
public:
    LinuxUsbWatcher();
    ~LinuxUsbWatcher() override;

    QList<UsbDeviceInfo> enumerate() override;
    bool start(DeviceCallback arrived, DeviceCallback removed) override;
    void stop() override;

private:
    void onMonitorEvent(udev_device *dev);

    UdevSource m_udev;
    DeviceCallback m_arrived;
    DeviceCallback m_removed;
    QHash<QString, UsbDeviceInfo> m_known; // by sysfs path
};

// Reads the PRODUCT property of a USB uevent ("25ba/24ab/110": vendor, product,
// release in hex without padding); false when it is absent or not that shape.
bool parseUsbProductProperty(const QString &text, quint16 *vendorId, quint16 *productId);

} // namespace platform::linuxbackend
