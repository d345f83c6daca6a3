#include "LinuxUsbWatcher.h"

#include "HidrawProperties.h"
#include "PZLog.h"

#include <QSocketNotifier>
#include <QStringList>

#include <libudev.h>

#include <cerrno>
#include <cstring>

namespace platform::linuxbackend {

namespace {

QString text(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

UsbDeviceInfo describe(udev_device *dev)
{
    UsbDeviceInfo info;
    info.path = text(udev_device_get_syspath(dev));
    const auto vendor = parseSysfsHex(text(udev_device_get_sysattr_value(dev, "idVendor")));
    const auto product = parseSysfsHex(text(udev_device_get_sysattr_value(dev, "idProduct")));
    if (vendor && product) {
        info.vendorId = quint16(*vendor);
        info.productId = quint16(*product);
    } else {
        parseUsbProductProperty(text(udev_device_get_property_value(dev, "PRODUCT")), &info.vendorId,
                                &info.productId);
    }
    info.name = text(udev_device_get_sysattr_value(dev, "product"));
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
    m_udev = udev_new();
    if (!m_udev)
        qxWarning("usb") << "udev is not available; USB devices will not be watched";
}

LinuxUsbWatcher::~LinuxUsbWatcher()
{
    stop();
    if (m_udev)
        udev_unref(m_udev);
}

QList<UsbDeviceInfo> LinuxUsbWatcher::enumerate()
{
    QList<UsbDeviceInfo> out;
    if (!m_udev)
        return out;
    udev_enumerate *e = udev_enumerate_new(m_udev);
    if (!e)
        return out;
    udev_enumerate_add_match_subsystem(e, "usb");
    udev_enumerate_add_match_property(e, "DEVTYPE", "usb_device");
    udev_enumerate_scan_devices(e);
    udev_list_entry *entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e))
    {
        udev_device *dev = udev_device_new_from_syspath(m_udev, udev_list_entry_get_name(entry));
        if (!dev)
            continue;
        if (isUsbDevice(dev)) {
            const UsbDeviceInfo info = describe(dev);
            out.append(info);
            m_known.insert(info.path, info);
        }
        udev_device_unref(dev);
    }
    udev_enumerate_unref(e);
    return out;
}

bool LinuxUsbWatcher::start(DeviceCallback arrived, DeviceCallback removed)
{
    m_arrived = std::move(arrived);
    m_removed = std::move(removed);
    if (m_monitor)
        return true;
    if (!m_udev)
        return false;
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "usb", "usb_device") < 0
        || udev_monitor_enable_receiving(m_monitor) < 0) {
        qxWarning("usb") << "cannot watch USB devices through udev:" << QString::fromLocal8Bit(std::strerror(errno));
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        return false;
    }
    m_notifier = new QSocketNotifier(qintptr(udev_monitor_get_fd(m_monitor)), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { onMonitorReadable(); });
    return true;
}

void LinuxUsbWatcher::stop()
{
    m_arrived = nullptr;
    m_removed = nullptr;
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_monitor) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
    }
}

void LinuxUsbWatcher::onMonitorReadable()
{
    while (m_monitor) {
        udev_device *dev = udev_monitor_receive_device(m_monitor);
        if (!dev)
            return;
        const QString action = text(udev_device_get_action(dev));
        if (!isUsbDevice(dev)) {
            udev_device_unref(dev);
            continue;
        }
        if (action == QLatin1String("add")) {
            const UsbDeviceInfo info = describe(dev);
            udev_device_unref(dev);
            m_known.insert(info.path, info);
            if (auto cb = m_arrived)
                cb(info);
        } else if (action == QLatin1String("remove")) {
            UsbDeviceInfo info = m_known.take(text(udev_device_get_syspath(dev)));
            if (info.path.isEmpty())
                info = describe(dev); // sysfs is gone; the event's properties may still tell
            udev_device_unref(dev);
            if (auto cb = m_removed)
                cb(info);
        } else {
            udev_device_unref(dev);
        }
    }
}

} // namespace platform::linuxbackend
