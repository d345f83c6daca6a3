#include "UdevSource.h"

#include <QSocketNotifier>

#include <libudev.h>

#include <cerrno>

namespace platform::linuxbackend {

UdevSource::UdevSource(QObject *parent) : QObject(parent), m_udev(udev_new()) {}

UdevSource::~UdevSource()
{
    stopMonitor();
    if (m_udev)
        udev_unref(m_udev);
}

void UdevSource::enumerate(const char *subsystem, const char *devtype, const DeviceHandler &handler)
{
    if (!m_udev)
        return;
    udev_enumerate *e = udev_enumerate_new(m_udev);
    if (!e)
        return;
    udev_enumerate_add_match_subsystem(e, subsystem);
    if (devtype)
        udev_enumerate_add_match_property(e, "DEVTYPE", devtype);
    udev_enumerate_scan_devices(e);
    udev_list_entry *entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e))
    {
        const char *syspath = udev_list_entry_get_name(entry);
        udev_device *dev = udev_device_new_from_syspath(m_udev, syspath);
        if (!dev)
            continue; // gone between the scan and now
        handler(dev, syspath);
        udev_device_unref(dev);
    }
    udev_enumerate_unref(e);
}

bool UdevSource::startMonitor(const char *subsystem, const char *devtype, EventHandler onEvent, int *error)
{
    m_onEvent = std::move(onEvent);
    if (m_monitor)
        return true;
    if (!m_udev) {
        if (error)
            *error = ENODEV;
        return false;
    }
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, subsystem, devtype) < 0
        || udev_monitor_enable_receiving(m_monitor) < 0) {
        const int failure = errno; // before the clean-up can change it
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        if (error)
            *error = failure;
        return false;
    }
    m_notifier = new QSocketNotifier(qintptr(udev_monitor_get_fd(m_monitor)), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { onMonitorReadable(); });
    return true;
}

void UdevSource::stopMonitor()
{
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

void UdevSource::onMonitorReadable()
{
    // Drain every queued event; the monitor socket is non-blocking. An event's handler
    // may stop the monitor, which ends the loop.
    while (m_monitor) {
        udev_device *dev = udev_monitor_receive_device(m_monitor);
        if (!dev)
            return;
        if (const EventHandler handler = m_onEvent) // a copy: the handler may restart the monitor
            handler(dev);
        udev_device_unref(dev);
    }
}

} // namespace platform::linuxbackend
