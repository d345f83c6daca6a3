#pragma once

#include "platform/IBleCentral.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class FakeBleCentral;

// A scripted Bluetooth LE adapter with the peripherals around it. Code under test gets
// centrals from factory(); the test sets the adapter state, lets peripherals advertise,
// drops connections, pushes values and reads back every request and write.
//
// Answers arrive like the real ones: later, through the Scheduler (zero delay unless
// setResponseDelay says otherwise), so a test with a ManualScheduler calls runDue() or
// advance() to let them through. A simulated device hooks onWrite and answers with
// notify(). A central that outlives its adapter (a code under test may release it
// late) only forgets it.
class FakeBleAdapter {
public:
    struct Characteristic {
        QString uuid;
        int properties = platform::bleprop::Read | platform::bleprop::Notify;
        QByteArray value; // what a read returns
    };
    struct Service {
        QString uuid;
        QList<Characteristic> characteristics;
    };
    struct Peripheral {
        QString id;
        QString name;
        QStringList advertisedServices;
        bool cached = false;       // reported from the adapter's memory, not advertising
        bool heldBySystem = false; // already connected by the system (found by retrieveConnectedPeripherals)
        QList<Service> services;
        // Scripted failures; each stays until the test clears it.
        QString connectError;
        QString servicesError;
        QHash<QString, QString> characteristicsError; // by service UUID
        QHash<QString, QString> notifyError;          // by characteristic UUID
    };
    struct Write {
        platform::BleCharacteristicRef characteristic;
        QByteArray data;
        platform::BleWriteMode mode;
    };

    explicit FakeBleAdapter(platform::BleAdapterState state = platform::BleAdapterState::PoweredOn);
    ~FakeBleAdapter();
    FakeBleAdapter(const FakeBleAdapter &) = delete;
    FakeBleAdapter &operator=(const FakeBleAdapter &) = delete;

    // A factory of centrals on this adapter (each new one becomes the current central).
    // After kRunawayCentrals the factory fails the test and returns nothing.
    static constexpr int kRunawayCentrals = 200;
    std::function<std::unique_ptr<platform::IBleCentral>()> factory();
    std::unique_ptr<platform::IBleCentral> makeCentral();
    int centralsCreated() const { return m_created; }
    FakeBleCentral *current() const;

    // ---- scripting
    void setState(platform::BleAdapterState state);
    platform::BleAdapterState state() const { return m_state; }
    void setResponseDelay(int ms) { m_delayMs = ms; }
    // The ATT MTU every link negotiates (a value a Linux central commonly reaches).
    void setMtu(int mtu) { m_mtu = mtu; }
    int mtu() const { return m_mtu; }
    int responseDelay() const { return m_delayMs; }

    Peripheral &addPeripheral(const Peripheral &p);
    Peripheral *peripheral(const QString &id);
    // The peripheral advertises once; false when no central scans to hear it.
    bool advertise(const QString &id);
    // The peripheral goes away (out of range, switched off).
    bool dropConnection(const QString &id, const QString &error = QStringLiteral("connection lost"));
    // A notification from the peripheral; false unless the characteristic is subscribed.
    bool notify(const QString &id, const QString &characteristicUuid, const QByteArray &value);

    // ---- observing
    bool isScanning() const;
    platform::BlePeripheralState connectionState(const QString &id) const;
    bool isSubscribed(const QString &id, const QString &characteristicUuid) const;
    QList<Write> writes;
    // Every request of every central, in order: "scan", "stopScan", "retrieve",
    // "connect(id)", "cancel(id)", "discoverServices(id)", "discoverCharacteristics(svc)",
    // "notify(char,1)", "read(char)", "write(char,hex,mode)".
    QStringList calls;
    int callCount(const QString &prefix) const;
    std::function<void(const Write &)> onWrite;

private:
    friend class FakeBleCentral;
    struct Link {
        platform::BlePeripheralState state = platform::BlePeripheralState::Disconnected;
        QPointer<FakeBleCentral> owner;
        QStringList subscribed; // characteristic UUIDs
    };
    const Characteristic *findCharacteristic(const QString &id, const QString &service, const QString &uuid) const;
    void centralGone(FakeBleCentral *central);

    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    platform::BleAdapterState m_state;
    int m_delayMs = 0;
    int m_mtu = 247;
    int m_created = 0;
    QList<Peripheral> m_peripherals;
    QHash<QString, Link> m_links;
    QList<QPointer<FakeBleCentral>> m_centrals;
};

class FakeBleCentral final : public QObject, public platform::IBleCentral {
public:
    explicit FakeBleCentral(FakeBleAdapter &adapter);
    ~FakeBleCentral() override;

    void setDelegate(platform::IBleCentralDelegate *delegate) override;
    platform::BleAdapterState state() const override;
    void scanForPeripherals() override;
    void stopScan() override;
    bool isScanning() const override;
    QList<platform::BlePeripheralInfo> retrieveConnectedPeripherals(const QStringList &serviceUuids) override;
    void connectPeripheral(const QString &peripheral) override;
    void cancelPeripheralConnection(const QString &peripheral) override;
    platform::BlePeripheralState peripheralState(const QString &peripheral) const override;
    void discoverServices(const QString &peripheral) override;
    void discoverCharacteristics(const QString &peripheral, const QString &service) override;
    void setNotifyValue(const platform::BleCharacteristicRef &characteristic, bool enabled) override;
    void readValue(const platform::BleCharacteristicRef &characteristic) override;
    void writeValue(const platform::BleCharacteristicRef &characteristic, const QByteArray &value,
                    platform::BleWriteMode mode) override;
    int mtu(const QString &peripheral) const override;

    bool wantsScan() const { return m_wantScan; }

private:
    friend class FakeBleAdapter;
    // Hands an event to whatever delegate is set when it arrives.
    void deliver(std::function<void(platform::IBleCentralDelegate &)> event);
    bool ownsConnection(const QString &peripheral) const;

    FakeBleAdapter &m_adapter;
    std::weak_ptr<int> m_adapterAlive;
    platform::IBleCentralDelegate *m_delegate = nullptr;
    bool m_wantScan = false;
};
