#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

namespace platform {

// One interface (top-level collection) of a HID device as the hidapi library lists it.
struct HidapiDeviceInfo {
    QByteArray path;
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString serialNumber; // "" when the device has none
    quint16 usagePage = 0;
    quint16 usage = 0;
    int interfaceNumber = -1;
};

// An open hidapi device. Destroying it closes the device. Not safe for concurrent
// calls: callers that use it from two threads serialise the calls themselves.
class HidapiDevice {
public:
    virtual ~HidapiDevice() = default;
    virtual int setNonblocking(bool nonblocking) = 0;
    // data[0] holds the report number; returns the bytes read (report number
    // included) or -1. May block until the device answers.
    virtual int getFeatureReport(unsigned char *data, std::size_t length) = 0;
    // data[0] is the report number (0: unnumbered); returns the bytes written or -1.
    virtual int write(const unsigned char *data, std::size_t length) = 0;
    // Text of the last failure on this device.
    virtual QString error() = 0;
};

// The few calls of the hidapi library the alternative HID transport makes, so the
// transport can be driven against a simulated library in tests.
class HidapiShim {
public:
    virtual ~HidapiShim() = default;
    virtual int init() = 0; // 0 on success
    virtual int exit() = 0;
    // Interfaces of the vendor/product pair (0 matches any).
    virtual std::vector<HidapiDeviceInfo> enumerate(quint16 vendorId, quint16 productId) = 0;
    // nullptr when the device cannot be opened.
    virtual std::unique_ptr<HidapiDevice> openPath(const QByteArray &path) = 0;
    // Text of the last failure outside a device (init, enumerate, open).
    virtual QString lastError() = 0;
};

} // namespace platform
