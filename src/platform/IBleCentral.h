#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A Bluetooth LE central: the adapter, scanning, and the GATT client of the peripherals
// it connects. Peripherals are named by an id (the device address on Linux); services
// and characteristics by their UUID text in upper case, without braces.
//
// Every request completes asynchronously through the delegate, on the main thread,
// never from inside the request itself. A central never calls its delegate after it
// has been destroyed; destroying it drops its connections.
namespace platform {

// The adapter states, numbered as the application has always stored them.
enum class BleAdapterState {
    Unknown = 0,
    Resetting = 1,
    Unsupported = 2, // also: no adapter at all
    Unauthorized = 3,
    PoweredOff = 4,
    PoweredOn = 5,
};

enum class BlePeripheralState { Disconnected, Connecting, Connected, Disconnecting };

enum class BleWriteMode { WithResponse, WithoutResponse };

// GATT characteristic properties (the bit values of the attribute protocol).
namespace bleprop {
inline constexpr int Read = 0x02;
inline constexpr int WriteWithoutResponse = 0x04;
inline constexpr int Write = 0x08;
inline constexpr int Notify = 0x10;
inline constexpr int Indicate = 0x20;
} // namespace bleprop

struct BlePeripheralInfo {
    QString id;
    QString name;             // advertised or known name; may be empty
    QStringList serviceUuids; // advertised service UUIDs; empty when none were advertised
    bool cached = false;      // known to the adapter from earlier, not heard advertising now
    int rssi = 0;
};

struct BleCharacteristicInfo {
    QString uuid;
    int properties = 0; // bleprop bits
};

// The three names that locate a characteristic on a connected peripheral.
struct BleCharacteristicRef {
    QString peripheral;
    QString service;
    QString characteristic;
    bool isValid() const { return !peripheral.isEmpty() && !service.isEmpty() && !characteristic.isEmpty(); }
    bool operator==(const BleCharacteristicRef &) const = default;
};

// Receives the events of a central. `error` is empty on success.
class IBleCentralDelegate {
public:
    virtual ~IBleCentralDelegate() = default;
    virtual void centralDidUpdateState(BleAdapterState state) = 0;
    virtual void centralDidDiscoverPeripheral(const BlePeripheralInfo &peripheral) = 0;
    virtual void centralDidConnectPeripheral(const QString &peripheral) = 0;
    virtual void centralDidFailToConnectPeripheral(const QString &peripheral, const QString &error) = 0;
    virtual void centralDidDisconnectPeripheral(const QString &peripheral, const QString &error) = 0;
    virtual void peripheralDidDiscoverServices(const QString &peripheral, const QStringList &services,
                                               const QString &error) = 0;
    virtual void peripheralDidDiscoverCharacteristics(const QString &peripheral, const QString &service,
                                                      const QList<BleCharacteristicInfo> &characteristics,
                                                      const QString &error) = 0;
    virtual void peripheralDidUpdateNotificationState(const BleCharacteristicRef &characteristic, bool enabled,
                                                      const QString &error) = 0;
    virtual void peripheralDidUpdateValue(const BleCharacteristicRef &characteristic, const QByteArray &value,
                                          const QString &error) = 0;
    virtual void peripheralDidWriteValue(const BleCharacteristicRef &characteristic, const QString &error)
    {
        Q_UNUSED(characteristic);
        Q_UNUSED(error);
    }
};

class IBleCentral {
public:
    virtual ~IBleCentral() = default;

    // The delegate gets the adapter state soon after it is set, and again on every change.
    virtual void setDelegate(IBleCentralDelegate *delegate) = 0;
    virtual BleAdapterState state() const = 0;

    // Scans for peripherals advertising any service. A scan asked for before the
    // adapter is powered on starts when it is.
    virtual void scanForPeripherals() = 0;
    virtual void stopScan() = 0;
    virtual bool isScanning() const = 0;

    // Peripherals the system already holds connected that offer one of the services.
    // Answers at once; they can be passed to connectPeripheral.
    virtual QList<BlePeripheralInfo> retrieveConnectedPeripherals(const QStringList &serviceUuids) = 0;

    virtual void connectPeripheral(const QString &peripheral) = 0;
    // Drops a connection (pending or made); the delegate hears of the disconnection.
    virtual void cancelPeripheralConnection(const QString &peripheral) = 0;
    virtual BlePeripheralState peripheralState(const QString &peripheral) const = 0;

    virtual void discoverServices(const QString &peripheral) = 0;
    virtual void discoverCharacteristics(const QString &peripheral, const QString &service) = 0;
    virtual void setNotifyValue(const BleCharacteristicRef &characteristic, bool enabled) = 0;
    virtual void readValue(const BleCharacteristicRef &characteristic) = 0;
    virtual void writeValue(const BleCharacteristicRef &characteristic, const QByteArray &value, BleWriteMode mode) = 0;
    // The ATT MTU of the link to a connected peripheral: a write carries at most
    // mtu − 3 bytes. The protocol's minimum, 23, where nothing larger was negotiated
    // or the central cannot tell.
    virtual int mtu(const QString &peripheral) const
    {
        Q_UNUSED(peripheral);
        return kMinimumAttMtu;
    }
    static constexpr int kMinimumAttMtu = 23;
};

// Upper case, no braces: the one form UUIDs are compared in.
inline QString normalizedBleUuid(const QString &uuid)
{
    QString s = uuid.trimmed().toUpper();
    if (s.startsWith(QLatin1Char('{')) && s.endsWith(QLatin1Char('}')))
        s = s.mid(1, s.size() - 2);
    return s;
}

} // namespace platform
