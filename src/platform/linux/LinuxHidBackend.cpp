#include "LinuxHidBackend.h"

#include "HidrawChannel.h"
#include "PZLog.h"

#include <QFile>

#include <libudev.h>

#include <cerrno>
#include <cstring>

namespace platform::linuxbackend {

namespace {

QString sysattr(udev_device *dev, const char *name)
{
    return dev ? udevText(udev_device_get_sysattr_value(dev, name)) : QString();
}

QString udevProperty(udev_device *dev, const char *name)
{
    return dev ? udevText(udev_device_get_property_value(dev, name)) : QString();
}

QString errnoText(int e)
{
    return QString::fromLocal8Bit(std::strerror(e));
}

} // namespace

LinuxHidBackend::LinuxHidBackend()
{
    if (!m_udev.isAvailable())
        qxWarning("hid") << "udev is not available; no HID devices will be found";
}

LinuxHidBackend::~LinuxHidBackend()
{
    stopWatching();
    for (HidrawChannel *c : std::as_const(m_channels))
        delete c;
    m_channels.clear();
}

HidrawSnapshot LinuxHidBackend::snapshotOf(udev_device *hidraw)
{
    HidrawSnapshot s;
    s.devNode = udevText(udev_device_get_devnode(hidraw));
    if (udev_device *hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr)) {
        s.hidId = udevProperty(hid, "HID_ID");
        s.hidName = udevProperty(hid, "HID_NAME");
        s.hidUniq = udevProperty(hid, "HID_UNIQ");
        // Binary attribute: udev's text accessor would stop at the first zero byte.
        if (const char *hidPath = udev_device_get_syspath(hid)) {
            QFile f(QString::fromUtf8(hidPath) + QStringLiteral("/report_descriptor"));
            if (f.open(QIODevice::ReadOnly))
                s.reportDescriptor = f.read(4096); // the kernel's descriptor size limit
        }
    }
    if (udev_device *usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device")) {
        s.usbDevicePath = udevText(udev_device_get_syspath(usb));
        s.idVendor = sysattr(usb, "idVendor");
        s.idProduct = sysattr(usb, "idProduct");
        s.bcdDevice = sysattr(usb, "bcdDevice");
        s.product = sysattr(usb, "product");
        s.serial = sysattr(usb, "serial");
    }
    return s;
}

bool LinuxHidBackend::matches(const QList<HidMatch> &list, const HidDeviceInfo &info)
{
    return list.isEmpty() || list.contains(HidMatch{info.vendorId, info.productId});
}

QList<HidDeviceInfo> LinuxHidBackend::enumerate(const QList<HidMatch> &list)
{
    QList<HidDeviceInfo> out;
    m_udev.enumerate("hidraw", nullptr, [&](udev_device *dev, const char *syspath) {
        const HidDeviceInfo info = mapHidrawSnapshot(snapshotOf(dev));
        if (info.path.isEmpty() || !matches(list, info))
            return;
        out.append(info);
        // Its removal must be reportable even though its arrival was never an event.
        m_known.insert(udevText(syspath), info);
    });
    std::sort(out.begin(), out.end(), [](const HidDeviceInfo &a, const HidDeviceInfo &b) {
        // hidraw2 before hidraw10
        return a.path.size() != b.path.size() ? a.path.size() < b.path.size() : a.path < b.path;
    });
    return out;
}

bool LinuxHidBackend::startWatching(const QList<HidMatch> &list, DeviceCallback arrived, DeviceCallback removed)
{
    m_matches = list;
    m_arrived = std::move(arrived);
    m_removed = std::move(removed);
    if (!m_udev.isAvailable())
        return false;
    int error = 0;
    if (!m_udev.startMonitor(
            "hidraw", nullptr, [this](udev_device *dev) { onMonitorEvent(dev); }, &error)) {
        qxWarning("hid") << "cannot watch for HID devices through udev:" << errnoText(error);
        return false;
    }
    return true;
}

void LinuxHidBackend::stopWatching()
{
    m_arrived = nullptr;
    m_removed = nullptr;
    m_udev.stopMonitor();
}

void LinuxHidBackend::onMonitorEvent(udev_device *dev)
{
    const QString action = udevText(udev_device_get_action(dev));
    const QString syspath = udevText(udev_device_get_syspath(dev));
    if (action == QLatin1String("add")) {
        const HidDeviceInfo info = mapHidrawSnapshot(snapshotOf(dev));
        // An event without a node or ids (vanished already, or not a USB HID
        // device we know) matches nothing.
        if (info.path.isEmpty() || !matches(m_matches, info))
            return;
        // Already handed out by enumerate() while this event was queued.
        if (m_known.value(syspath) == info)
            return;
        m_known.insert(syspath, info);
        if (auto cb = m_arrived)
            cb(info);
    } else if (action == QLatin1String("remove")) {
        const auto it = m_known.constFind(syspath);
        if (it == m_known.constEnd())
            return;
        const HidDeviceInfo info = *it;
        m_known.erase(it);
        dropChannel(info.path);
        if (!matches(m_matches, info))
            return;
        if (auto cb = m_removed)
            cb(info);
    }
}

HidResult LinuxHidBackend::open(const QString &path)
{
    if (isOpen(path))
        return {};
    int fd = -1;
    const HidResult r = HidrawChannel::openNode(path, &fd);
    if (!r.ok()) {
        if (r.error == HidError::AccessDenied)
            qxLogOnce(
                QStringLiteral("hidraw-access:") + path,
                QStringLiteral(
                    "cannot open %1: permission denied. Install the udev rule "
                    "70-quorvex-companion.rules (see the README, \"Device access\") and plug the receiver in again")
                    .arg(path));
        else
            qxLogOnce(QStringLiteral("hidraw-open:%1:%2").arg(path).arg(r.sysErrno),
                      QStringLiteral("cannot open %1: %2").arg(path, errnoText(r.sysErrno)));
        return r;
    }
    auto *channel = new HidrawChannel(
        fd, path,
        [this, path](const QByteArray &report) {
            if (auto cb = m_input)
                cb(path, report);
        },
        [this, path](int) { dropChannel(path); });
    m_channels.insert(path, channel);
    return {};
}

bool LinuxHidBackend::isOpen(const QString &path) const
{
    const HidrawChannel *c = m_channels.value(path);
    return c && c->isOpen();
}

HidResult LinuxHidBackend::writeReport(const QString &path, const QByteArray &report)
{
    HidrawChannel *c = m_channels.value(path);
    if (!c || !c->isOpen())
        return {HidError::NotOpen, EBADF};
    return c->write(report);
}

void LinuxHidBackend::close(const QString &path)
{
    dropChannel(path);
}

void LinuxHidBackend::dropChannel(const QString &path)
{
    HidrawChannel *c = m_channels.take(path);
    if (!c)
        return;
    c->shutdown();
    // May be running inside this channel's read callback.
    c->deleteLater();
}

} // namespace platform::linuxbackend
