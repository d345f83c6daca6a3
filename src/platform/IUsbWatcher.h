#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace platform {

// A USB device (not an interface) as the bus describes it.
struct UsbDeviceInfo {
    QString path; // identifies the device (on Linux its sysfs path)
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString name; // the product string, empty when the device has none
    bool operator==(const UsbDeviceInfo &) const = default;
};

// Arrival and removal of USB devices, driven by the event loop on the main thread.
class IUsbWatcher {
public:
    using DeviceCallback = std::function<void(const UsbDeviceInfo &)>;
    virtual ~IUsbWatcher() = default;

    // The USB devices present now.
    virtual QList<UsbDeviceInfo> enumerate() = 0;
    // Starts reporting arrivals and removals (replacing earlier callbacks). A removal
    // carries the ids read at arrival or enumeration; a removal whose device was never
    // seen carries whatever ids the event still holds (0 when none).
    virtual bool start(DeviceCallback arrived, DeviceCallback removed) = 0;
    virtual void stop() = 0;
};

} // namespace platform
