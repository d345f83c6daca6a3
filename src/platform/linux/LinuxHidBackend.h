#pragma once

#include "HidrawProperties.h"
#include "UdevSource.h"
#include "platform/IHidBackend.h"

#include <QHash>
#include <QObject>

#include <memory>

struct udev_device;

namespace platform::linuxbackend {

class HidrawChannel;

// HID interfaces through the kernel's hidraw nodes: libudev for enumeration and hot-plug
// (the "udev" monitor source, so the device-access rule has been applied when an
// arrival is reported), sysfs for the properties, /dev/hidrawN for reports.
class LinuxHidBackend final : public QObject, public IHidBackend {
public:
    LinuxHidBackend();
    ~LinuxHidBackend() override;

    QList<HidDeviceInfo> enumerate(const QList<HidMatch> &matches) override;
    bool startWatching(const QList<HidMatch> &matches, DeviceCallback arrived, DeviceCallback removed) override;
    void stopWatching() override;
    HidResult open(const QString &path) override;
    bool isOpen(const QString &path) const override;
    HidResult writeReport(const QString &path, const QByteArray &report) override;
    void setInputCallback(InputCallback callback) override { m_input = std::move(callback); }
    void close(const QString &path) override;

    // What udev and sysfs hold for one hidraw device (also used by the probe tool).
    static HidrawSnapshot snapshotOf(udev_device *hidraw);

private:
    void onMonitorEvent(udev_device *dev);
    static bool matches(const QList<HidMatch> &matches, const HidDeviceInfo &info);
    void dropChannel(const QString &path);

    UdevSource m_udev;
    QList<HidMatch> m_matches;
    DeviceCallback m_arrived;
    DeviceCallback m_removed;
    InputCallback m_input;
    // Interfaces reported as arrived, by sysfs path: a removal event no longer has the
    // attributes to describe the interface.
    QHash<QString, HidDeviceInfo> m_known;
    QHash<QString, HidrawChannel *> m_channels;
};

} // namespace platform::linuxbackend
