#pragma once

#include "BleDeviceTable.h"
#include "BleManagerDelegate.h"
#include "Scheduler.h"
#include "platform/IBleCentral.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>

// The Bluetooth LE central of the application: finds the maker's mouse, keyboard or
// pointer, connects one of them, subscribes to its characteristics, hands every value
// it sends to the notification parser and writes command frames and firmware blocks.
// A mouse on USB takes precedence: while one is connected the peripheral is dropped.
//
// Runs on the main thread. The central comes from a factory because every new scan
// session starts on a fresh central.
class QXBLEManager : public QObject, private platform::IBleCentralDelegate {
public:
    using CentralFactory = std::function<std::unique_ptr<platform::IBleCentral>()>;

    // Values of stateNOW.
    static constexpr int kStateIdle = 0;
    static constexpr int kStateScanning = 1;
    static constexpr int kStateConnecting = 4;
    static constexpr int kStateConnected = 5;
    static constexpr int kStateStopped = 6;
    static constexpr int kCheckIntervalMs = 1000;

    QXBLEManager(CentralFactory factory = {}, BleManagerDelegate *delegate = nullptr);
    ~QXBLEManager() override;

    // The process-wide instance, which the composition root constructed and installed.
    static QXBLEManager &sharedInstance();
    static QXBLEManager *setSharedInstance(QXBLEManager *instance); // returns the previous one
    void setCentralFactory(CentralFactory factory);
    void setDelegate(BleManagerDelegate *delegate); // nullptr: the stand-in

    void startScan();
    void stopScan();
    void checkConnectCBPeripheral();
    void connectBluetoothDevice(const platform::BlePeripheralInfo &peripheral);
    void cancelPeripheralConnection();

    // One command frame, written with response. False when there is no peripheral or
    // its write characteristic is not known yet.
    bool sendData(const QByteArray &data);
    // One firmware block, written without response. False as for sendData.
    bool sendOTAData(const QByteArray &data);
    // The ATT MTU of the connected peripheral's link; 0 when none is connected.
    int mtu() const;

    int stateNOW() const { return m_stateNOW; }
    QString connectState() const { return m_connectState; }
    QString discoveredPeripheral() const { return m_peripheral; }
    bool isCheckTimerRunning() const { return m_connectTimer != Scheduler::kNoTimer; }
    platform::BleCharacteristicRef characteristic(ble::BleRole role) const { return m_roles[int(role)]; }
    QString BLEServiceID() const { return m_serviceSet ? QString::fromLatin1(m_serviceSet->serviceUuid) : QString(); }

private:
    // IBleCentralDelegate
    void centralDidUpdateState(platform::BleAdapterState state) override;
    void centralDidDiscoverPeripheral(const platform::BlePeripheralInfo &peripheral) override;
    void centralDidConnectPeripheral(const QString &peripheral) override;
    void centralDidFailToConnectPeripheral(const QString &peripheral, const QString &error) override;
    void centralDidDisconnectPeripheral(const QString &peripheral, const QString &error) override;
    void peripheralDidDiscoverServices(const QString &peripheral, const QStringList &services,
                                       const QString &error) override;
    void peripheralDidDiscoverCharacteristics(const QString &peripheral, const QString &service,
                                              const QList<platform::BleCharacteristicInfo> &characteristics,
                                              const QString &error) override;
    void peripheralDidUpdateNotificationState(const platform::BleCharacteristicRef &characteristic, bool enabled,
                                              const QString &error) override;
    void peripheralDidUpdateValue(const platform::BleCharacteristicRef &characteristic, const QByteArray &value,
                                  const QString &error) override;

    BleManagerDelegate &delegate() const;
    void restartCheckTimer();
    void replaceCentral();
    bool peripheralBusy() const;
    void forgetCharacteristics();
    bool write(ble::BleRole role, const QByteArray &data, platform::BleWriteMode mode);

    CentralFactory m_factory;
    BleManagerDelegate *m_delegate = nullptr;
    std::unique_ptr<platform::IBleCentral> m_central;

    Scheduler::TimerId m_connectTimer = Scheduler::kNoTimer;
    int m_stateNOW = kStateIdle;
    QString m_connectState;
    QString m_peripheral;     // id of the peripheral being connected or connected
    QString m_peripheralName; // its name, which picks the service set
    const ble::BleServiceSet *m_serviceSet = nullptr;
    std::array<platform::BleCharacteristicRef, ble::kRoleCount> m_roles;
    // Characteristics found readable, so the value can be read once notifications are on.
    QList<platform::BleCharacteristicRef> m_readable;
};
