#include "BluetoothBackend.h"

#include "BleDelegatePost.h"
#include "BluezConnectedDevices.h"
#include "ModuleLoader.h"
#include "PZLog.h"
#include "Scheduler.h"

#include <QObject>

namespace platform::linuxbackend {
namespace {

using ConnectedQuery = QList<BlePeripheralInfo> (*)(const QStringList &);
using CreateCentral = IBleCentral *(*)(const ModuleHost *, ConnectedQuery);

bool g_loaded = false;

CreateCentral moduleEntry()
{
    static const CreateCentral create = [] {
        g_loaded = true;
        QString error;
        const QList<QFunctionPointer> found =
            loadModule(QStringLiteral("libqx_bluetooth.so"), {"qxCreateBleCentral"}, &error);
        if (found.isEmpty())
            qxLogOnce(QStringLiteral("ble.module"),
                      QStringLiteral("[ble] the Bluetooth module cannot be loaded (%1)").arg(error));
        return found.isEmpty() ? nullptr : reinterpret_cast<CreateCentral>(found.first());
    }();
    return create;
}

// The central of a computer without an adapter, as the module's says it: the state
// after the caller had a chance to set its delegate, every request a no-op or a failure.
class NoAdapterCentral final : public QObject, public IBleCentral {
public:
    NoAdapterCentral()
    {
        QMetaObject::invokeMethod(
            this,
            [this] {
                qxLogOnce(QStringLiteral("ble.noadapter"),
                          QStringLiteral("[ble] no adapter: Bluetooth LE devices are not available"));
                m_reported = BleAdapterState::Unsupported;
                qxInfo("ble") << "adapter state" << int(m_reported);
                post([](IBleCentralDelegate &d) { d.centralDidUpdateState(BleAdapterState::Unsupported); });
            },
            Qt::QueuedConnection);
    }

    void setDelegate(IBleCentralDelegate *delegate) override { m_delegate = delegate; }
    BleAdapterState state() const override { return m_reported; }
    void scanForPeripherals() override {}
    void stopScan() override {}
    bool isScanning() const override { return false; }
    QList<BlePeripheralInfo> retrieveConnectedPeripherals(const QStringList &) override { return {}; }
    void connectPeripheral(const QString &id) override
    {
        post([id](IBleCentralDelegate &d) {
            d.centralDidFailToConnectPeripheral(id, QStringLiteral("Bluetooth adapter not available"));
        });
    }
    void cancelPeripheralConnection(const QString &) override {}
    BlePeripheralState peripheralState(const QString &) const override { return BlePeripheralState::Disconnected; }
    void discoverServices(const QString &id) override
    {
        post(
            [id](IBleCentralDelegate &d) { d.peripheralDidDiscoverServices(id, {}, QStringLiteral("not connected")); });
    }
    void discoverCharacteristics(const QString &id, const QString &service) override
    {
        post([id, uuid = normalizedBleUuid(service)](IBleCentralDelegate &d) {
            d.peripheralDidDiscoverCharacteristics(id, uuid, {}, QStringLiteral("service not available"));
        });
    }
    void setNotifyValue(const BleCharacteristicRef &ref, bool) override
    {
        post([ref](IBleCentralDelegate &d) {
            d.peripheralDidUpdateNotificationState(ref, false, QStringLiteral("characteristic cannot notify"));
        });
    }
    void readValue(const BleCharacteristicRef &ref) override
    {
        post([ref](IBleCentralDelegate &d) { d.peripheralDidUpdateValue(ref, {}, QStringLiteral("not available")); });
    }
    void writeValue(const BleCharacteristicRef &ref, const QByteArray &, BleWriteMode mode) override
    {
        if (mode == BleWriteMode::WithResponse)
            post([ref](IBleCentralDelegate &d) { d.peripheralDidWriteValue(ref, QStringLiteral("not available")); });
    }

private:
    void post(std::function<void(IBleCentralDelegate &)> event) { postToDelegate(this, &m_delegate, std::move(event)); }

    IBleCentralDelegate *m_delegate = nullptr;
    BleAdapterState m_reported = BleAdapterState::Unknown;
};

} // namespace

std::unique_ptr<IBleCentral> createBleCentral()
{
    // Once loaded the module makes every central: it follows an adapter that comes and goes.
    if (g_loaded || bluezHasAdapter()) {
        if (const CreateCentral create = moduleEntry()) {
            const ModuleHost host = moduleHost(Scheduler::instance());
            return std::unique_ptr<IBleCentral>(create(&host, &queryConnectedPeripherals));
        }
    }
    return std::make_unique<NoAdapterCentral>();
}

} // namespace platform::linuxbackend
