#include "LinuxUsbWatcher.h"

#include "HidrawProperties.h"
#include "PZLog.h"

#include <QStringList>

#include <libudev.h>

#include <cstring>

namespace platform::linuxbackend {

namespace {

UsbDeviceInfo describe(udev_device *dev)
{
    UsbDeviceInfo info;
    info.path = udevText(udev_device_get_syspath(dev));
    const auto vendor = parseSysfsHex(udevText(udev_device_get_sysattr_value(dev, "idVendor")));
    const auto product = parseSysfsHex(udevText(udev_device_get_sysattr_value(dev, "idProduct")));
    if (vendor && product) {
        info.vendorId = quint16(*vendor);
        info.productId = quint16(*product);
    } else {
        parseUsbProductProperty(udevText(udev_device_get_property_value(dev, "PRODUCT")), &info.vendorId,
                                &info.productId);
    }
    info.name = udevText(udev_device_get_sysattr_value(dev, "product"));
    return info;
}

bool isUsbDevice(udev_device *dev)
{
    const char *type = udev_device_get_devtype(dev);
    return type && std::strcmp(type, "usb_device") == 0;
}

} // namespace

bool parseUsbProductProperty(const QString &textValue, quint16 *vendorId, quint16 *productId)
{
    const QStringList parts = textValue.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return false;
    const auto v = parseSysfsHex(parts[0]);
    const auto p = parseSysfsHex(parts[1]);
    if (!v || !p)
        return false;
    *vendorId = quint16(*v);
    *productId = quint16(*p);
    return true;
}

LinuxUsbWatcher::LinuxUsbWatcher()
{
    if (!m_udev.isAvailable())
        qxWarning("usb") << "udev is not available; USB devices will not be watched";
}

LinuxUsbWatcher::~LinuxUsbWatcher()
{
    stop();
}

QList<UsbDeviceInfo> LinuxUsbWatcher::enumerate()
{
    QList<UsbDeviceInfo> out;
    m_udev.enumerate("usb", "usb_device", [&](udev_device *dev, const char *) {
        if (!isUsbDevice(dev))
            return;
        const UsbDeviceInfo info = describe(dev);
        out.append(info);
        m_known.insert(info.path, info);
    });
    return out;
}

bool LinuxUsbWatcher::start(DeviceCallback arrived, DeviceCallback removed)
{
    m_arrived = std::move(arrived);
    m_removed = std::move(removed);
    if (!m_udev.isAvailable())
        return false;
    int error = 0;
    if (!m_udev.startMonitor(
            "usb", "usb_device", [this](udev_device *dev) { onMonitorEvent(dev); }, &error)) {
        qxWarning("usb") << "cannot watch USB devices through udev:" << QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    return true;
}

void LinuxUsbWatcher::stop()
{
    m_arrived = nullptr;
    m_removed = nullptr;
    m_udev.stopMonitor();
}

void LinuxUsbWatcher::onMonitorEvent(udev_device *dev)
{
    if (!isUsbDevice(dev))
        return;
    const QString action = udevText(udev_device_get_action(dev));
    if (action == QLatin1String("add")) {
        const UsbDeviceInfo info = describe(dev);
        m_known.insert(info.path, info);
        if (auto cb = m_arrived)
            cb(info);
    } else if (action == QLatin1String("remove")) {
        UsbDeviceInfo info = m_known.take(udevText(udev_device_get_syspath(dev)));
        if (info.path.isEmpty())
            info = describe(dev); // sysfs is gone; the event's properties may still tell
        if (auto cb = m_removed)
            cb(info);
    }
}

} // namespace platform::linuxbackend
