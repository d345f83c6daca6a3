#pragma once

#include "platform/IBleCentral.h"
#include "platform/linux/ModuleHost.h"

#include <QBluetoothDeviceInfo>
#include <QBluetoothLocalDevice>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>
#include <memory>

class QBluetoothDeviceDiscoveryAgent;
class QLowEnergyController;
class QLowEnergyService;

namespace platform::linuxbackend {

// The Bluetooth LE central on BlueZ through QtBluetooth: a low-energy discovery agent
// for scanning, one QLowEnergyController per peripheral, notifications through the
// client configuration descriptor, and BlueZ's object tree on D-Bus for peripherals the
// system already holds. Without an adapter it reports "unsupported", logs that once and
// answers every request as a no-op or a failure. Made by createBleCentral()
// (BluetoothBackend.h), which loads this module.
class BluezBleCentral final : public QObject, public IBleCentral {
public:
    // The peripherals BlueZ holds connected (see BluezConnectedDevices.h), asked of the program.
    using ConnectedQuery = QList<BlePeripheralInfo> (*)(const QStringList &serviceUuids);

    BluezBleCentral(const ModuleHost &host, ConnectedQuery connected);
    ~BluezBleCentral() override;

    void setDelegate(IBleCentralDelegate *delegate) override;
    BleAdapterState state() const override { return m_state; }
    void scanForPeripherals() override;
    void stopScan() override;
    bool isScanning() const override;
    QList<BlePeripheralInfo> retrieveConnectedPeripherals(const QStringList &serviceUuids) override;
    void connectPeripheral(const QString &peripheral) override;
    void cancelPeripheralConnection(const QString &peripheral) override;
    BlePeripheralState peripheralState(const QString &peripheral) const override;
    void discoverServices(const QString &peripheral) override;
    void discoverCharacteristics(const QString &peripheral, const QString &service) override;
    void setNotifyValue(const BleCharacteristicRef &characteristic, bool enabled) override;
    void readValue(const BleCharacteristicRef &characteristic) override;
    void writeValue(const BleCharacteristicRef &characteristic, const QByteArray &value, BleWriteMode mode) override;
    int mtu(const QString &peripheral) const override;

private:
    // GATT requests waiting for their answer, oldest first (QtBluetooth runs them in order
    // and names no request in its error signal).
    enum class Op { Notify, Read, Write };
    struct Pending {
        Op op;
        BleCharacteristicRef ref;
        bool enabled = false;
    };
    struct Link {
        QPointer<QLowEnergyController> controller;
        BlePeripheralState state = BlePeripheralState::Disconnected;
        bool discoveringServices = false;
        QStringList services;
        QHash<QString, QPointer<QLowEnergyService>> gatt; // by service UUID
        QHash<QString, QList<Pending>> pending;           // by service UUID
    };

    void post(std::function<void(IBleCentralDelegate &)> event);
    void updateAdapterState();
    void startAgent();
    void onDiscovered(const QBluetoothDeviceInfo &info, bool update);
    void closeLink(const QString &peripheral);
    void onControllerError(const QString &peripheral, const QString &error);
    QLowEnergyService *gattService(const BleCharacteristicRef &ref) const;
    void watchService(const QString &peripheral, const QString &service, QLowEnergyService *svc);
    void answerPending(const QString &peripheral, const QString &service, Op op, const QString &characteristic,
                       const QByteArray &value, const QString &error);

    ModuleHost m_host;
    ConnectedQuery m_connected;
    IBleCentralDelegate *m_delegate = nullptr;
    std::unique_ptr<QBluetoothLocalDevice> m_local;
    BleAdapterState m_state = BleAdapterState::Unknown;
    bool m_stateReported = false;
    bool m_wantScan = false;
    QBluetoothDeviceDiscoveryAgent *m_agent = nullptr;
    QSet<QString> m_heard;                        // heard advertising in this scan
    QHash<QString, QBluetoothDeviceInfo> m_known; // every device seen, for connecting
    QHash<QString, Link> m_links;
};

} // namespace platform::linuxbackend
