#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace platform {

// One HID interface of a USB device, as the system describes it. Fields the system
// cannot tell are 0 or empty.
struct HidDeviceInfo {
    // Identifies the interface for open/write/close (on Linux the hidraw node,
    // "/dev/hidraw3").
    QString path;
    quint16 vendorId = 0;
    quint16 productId = 0;
    // The device release number (bcdDevice), e.g. 0x0300 for "3.00".
    quint16 versionNumber = 0;
    // The bare USB product string (iProduct), not "manufacturer product".
    QString product;
    QString serialNumber;
    // Usage page and usage of the first top-level application collection of the
    // report descriptor: what tells a receiver's command interface from its mouse,
    // keyboard or voice interfaces.
    quint32 primaryUsagePage = 0;
    quint32 primaryUsage = 0;
    // The physical USB device the interface belongs to (on Linux its sysfs path), so
    // interfaces of one receiver can be told from those of an identical second one.
    QString usbDevice;

    bool operator==(const HidDeviceInfo &) const = default;
};

// A vendor/product pair to watch.
struct HidMatch {
    quint16 vendorId = 0;
    quint16 productId = 0;
    bool operator==(const HidMatch &) const = default;
};

enum class HidError {
    None,
    NoDevice,     // unknown path, or the device went away (ENOENT, ENODEV)
    AccessDenied, // EACCES/EPERM: the device-access rule is not installed
    NotOpen,      // write to an interface that is not open
    Io,           // any other failure of the system call
};

struct HidResult {
    HidError error = HidError::None;
    int sysErrno = 0; // the errno behind the error, 0 when none
    bool ok() const { return error == HidError::None; }
};

// Access to HID interfaces: enumeration and hot-plug, open, output reports, input
// reports, close. Everything runs and calls back on the main thread, driven by the
// event loop (no polling); callbacks may call back into the backend.
class IHidBackend {
public:
    using DeviceCallback = std::function<void(const HidDeviceInfo &)>;
    using InputCallback = std::function<void(const QString &path, const QByteArray &report)>;

    virtual ~IHidBackend() = default;

    // The interfaces present now that match one of the pairs (every interface when
    // the list is empty), in a stable order.
    virtual QList<HidDeviceInfo> enumerate(const QList<HidMatch> &matches) = 0;

    // Starts reporting arrivals and removals of matching interfaces (replacing an
    // earlier watch). Interfaces already present are not reported: enumerate() them.
    // A removal carries the description read at arrival (sysfs is gone by then).
    // Returns false when the system refuses to watch (logged).
    virtual bool startWatching(const QList<HidMatch> &matches, DeviceCallback arrived, DeviceCallback removed) = 0;
    virtual void stopWatching() = 0;

    // Opens the interface for reading and writing. Opening an open interface
    // succeeds without doing anything.
    virtual HidResult open(const QString &path) = 0;
    virtual bool isOpen(const QString &path) const = 0;

    // Sends one output report. Byte 0 is the report id, as on the wire; the whole
    // buffer is the report, so the device receives exactly these bytes.
    virtual HidResult writeReport(const QString &path, const QByteArray &report) = 0;

    // Receives every input report of every open interface (report id first when the
    // device numbers its reports).
    virtual void setInputCallback(InputCallback callback) = 0;

    // Closes the interface; nothing happens when it is not open.
    virtual void close(const QString &path) = 0;
};

} // namespace platform
