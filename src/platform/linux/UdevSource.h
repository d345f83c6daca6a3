#pragma once

#include <QObject>
#include <QString>

#include <functional>

struct udev;
struct udev_device;
struct udev_monitor;
class QSocketNotifier;

namespace platform::linuxbackend {

// One libudev context with what the device watchers share: enumerating a subsystem
// and a hot-plug monitor on it. The monitor listens to the "udev" source, so the
// device's rules have been applied when an event is reported, and is read from the
// main loop through a socket notifier. Main thread only.
class UdevSource final : public QObject {
public:
    // Called with each device; the device is released when it returns.
    using DeviceHandler = std::function<void(udev_device *device, const char *syspath)>;
    using EventHandler = std::function<void(udev_device *device)>;

    explicit UdevSource(QObject *parent = nullptr);
    ~UdevSource() override;

    // False when udev cannot be reached: nothing is found and nothing watched.
    bool isAvailable() const { return m_udev != nullptr; }

    // Every device of the subsystem present now (of the device type, when one is
    // given), with the syspath the scan listed it under.
    void enumerate(const char *subsystem, const char *devtype, const DeviceHandler &handler);

    // Starts the monitor for the subsystem (and device type, when given); each event
    // goes to onEvent. True when it runs, also when it ran already (onEvent is kept
    // then). On failure error holds the errno of the failing step.
    bool startMonitor(const char *subsystem, const char *devtype, EventHandler onEvent, int *error = nullptr);
    void stopMonitor();
    bool isMonitoring() const { return m_monitor != nullptr; }

private:
    void onMonitorReadable();

    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    EventHandler m_onEvent;
};

// libudev's strings, which may be null.
inline QString udevText(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

} // namespace platform::linuxbackend
