#include "BluezBleCentral.h"

#include "PZLog.h"
#include "platform/linux/BleDelegatePost.h"

#include <QBluetoothDeviceDiscoveryAgent>
#include <QBluetoothUuid>
#include <QLowEnergyController>
#include <QLowEnergyService>
#include <QMetaEnum>

#include <algorithm>

namespace platform::linuxbackend {

namespace {

QString uuidText(const QBluetoothUuid &uuid)
{
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

template <typename E> QString enumText(E value)
{
    return QString::fromLatin1(QMetaEnum::fromType<E>().valueToKey(int(value)));
}

const QString kNoAdapter = QStringLiteral("Bluetooth adapter not available");

} // namespace

BluezBleCentral::BluezBleCentral(const ModuleHost &host, ConnectedQuery connected)
    : m_host(host), m_connected(connected)
{
    // Without BlueZ or an adapter this object is simply invalid; nothing blocks.
    if (!QBluetoothLocalDevice::allDevices().isEmpty()) {
        m_local = std::make_unique<QBluetoothLocalDevice>();
        connect(m_local.get(), &QBluetoothLocalDevice::hostModeStateChanged, this,
                [this](QBluetoothLocalDevice::HostMode) { updateAdapterState(); });
    }
    // The first state goes out after the caller had a chance to set its delegate.
    QMetaObject::invokeMethod(
        this, [this] { updateAdapterState(); }, Qt::QueuedConnection);
}

BluezBleCentral::~BluezBleCentral()
{
    m_delegate = nullptr;
    if (m_agent)
        m_agent->stop();
    for (auto it = m_links.begin(); it != m_links.end(); ++it)
        if (it->controller) {
            it->controller->disconnect(this);
            it->controller->disconnectFromDevice();
        }
}

void BluezBleCentral::post(std::function<void(IBleCentralDelegate &)> event)
{
    postToDelegate(this, &m_delegate, std::move(event));
}

void BluezBleCentral::setDelegate(IBleCentralDelegate *delegate)
{
    m_delegate = delegate;
}

void BluezBleCentral::updateAdapterState()
{
    BleAdapterState next = BleAdapterState::Unsupported;
    if (m_local && m_local->isValid())
        next = m_local->hostMode() == QBluetoothLocalDevice::HostPoweredOff ? BleAdapterState::PoweredOff
                                                                            : BleAdapterState::PoweredOn;
    if (next == BleAdapterState::Unsupported)
        m_host.logOnce(QStringLiteral("ble.noadapter"),
                       QStringLiteral("[ble] no adapter: Bluetooth LE devices are not available"));
    if (m_stateReported && next == m_state)
        return;
    m_state = next;
    m_stateReported = true;
    qxInfo("ble") << "adapter state" << int(next);
    if (next == BleAdapterState::PoweredOn) {
        if (m_wantScan)
            startAgent();
    } else {
        if (m_agent)
            m_agent->stop();
        // The adapter took every connection with it.
        const QStringList ids = m_links.keys();
        for (const QString &id : ids)
            closeLink(id);
    }
    post([next](IBleCentralDelegate &d) { d.centralDidUpdateState(next); });
}

// ---- scanning -------------------------------------------------------------------

void BluezBleCentral::scanForPeripherals()
{
    m_wantScan = true;
    if (m_state == BleAdapterState::PoweredOn)
        startAgent();
}

void BluezBleCentral::startAgent()
{
    if (!m_agent) {
        m_agent = new QBluetoothDeviceDiscoveryAgent(this);
        m_agent->setLowEnergyDiscoveryTimeout(0); // until stopped
        connect(m_agent, &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, this,
                [this](const QBluetoothDeviceInfo &info) { onDiscovered(info, false); });
        connect(m_agent, &QBluetoothDeviceDiscoveryAgent::deviceUpdated, this,
                [this](const QBluetoothDeviceInfo &info, QBluetoothDeviceInfo::Fields) { onDiscovered(info, true); });
        connect(m_agent, &QBluetoothDeviceDiscoveryAgent::errorOccurred, this,
                [this](QBluetoothDeviceDiscoveryAgent::Error e) {
                    qxWarning("ble") << "scan failed:" << enumText(e) << m_agent->errorString();
                });
    }
    if (m_agent->isActive())
        return;
    m_heard.clear();
    m_agent->start(QBluetoothDeviceDiscoveryAgent::LowEnergyMethod);
}

void BluezBleCentral::stopScan()
{
    m_wantScan = false;
    if (m_agent && m_agent->isActive())
        m_agent->stop();
}

bool BluezBleCentral::isScanning() const
{
    return m_agent && m_agent->isActive();
}

void BluezBleCentral::onDiscovered(const QBluetoothDeviceInfo &info, bool update)
{
    if (!(info.coreConfigurations() & QBluetoothDeviceInfo::LowEnergyCoreConfiguration))
        return;
    const QString id = info.address().toString().toUpper();
    if (id.isEmpty() || info.address().isNull())
        return;
    m_known.insert(id, info);
    // BlueZ first lists what it remembers (cached) and later tells when one of those is
    // heard; report each device once per scan as "heard", and cached ones as such.
    if (update && (info.isCached() || m_heard.contains(id)))
        return;
    if (!info.isCached())
        m_heard.insert(id);
    QStringList services;
    for (const QBluetoothUuid &u : info.serviceUuids())
        services << uuidText(u);
    const BlePeripheralInfo p{id, info.name(), services, info.isCached(), info.rssi()};
    post([p](IBleCentralDelegate &d) { d.centralDidDiscoverPeripheral(p); });
}

QList<BlePeripheralInfo> BluezBleCentral::retrieveConnectedPeripherals(const QStringList &serviceUuids)
{
    if (m_state != BleAdapterState::PoweredOn)
        return {};
    const QList<BlePeripheralInfo> found = m_connected(serviceUuids);
    for (const BlePeripheralInfo &p : found)
        if (!m_known.contains(p.id)) {
            QBluetoothDeviceInfo info(QBluetoothAddress(p.id), p.name, 0);
            info.setCoreConfigurations(QBluetoothDeviceInfo::LowEnergyCoreConfiguration);
            m_known.insert(p.id, info);
        }
    return found;
}

// ---- connections ----------------------------------------------------------------

void BluezBleCentral::connectPeripheral(const QString &id)
{
    if (m_state != BleAdapterState::PoweredOn || !m_known.contains(id)) {
        const QString error = m_state != BleAdapterState::PoweredOn ? kNoAdapter : QStringLiteral("unknown peripheral");
        post([id, error](IBleCentralDelegate &d) { d.centralDidFailToConnectPeripheral(id, error); });
        return;
    }
    closeLink(id);
    QLowEnergyController *c = QLowEnergyController::createCentral(m_known.value(id), this);
    Link &link = m_links[id];
    link.controller = c;
    link.state = BlePeripheralState::Connecting;

    connect(c, &QLowEnergyController::connected, this, [this, id] {
        m_links[id].state = BlePeripheralState::Connected;
        post([id](IBleCentralDelegate &d) { d.centralDidConnectPeripheral(id); });
    });
    connect(c, &QLowEnergyController::disconnected, this, [this, id] {
        const bool wasConnecting = m_links.value(id).state == BlePeripheralState::Connecting;
        closeLink(id);
        if (wasConnecting)
            post([id](IBleCentralDelegate &d) {
                d.centralDidFailToConnectPeripheral(id, QStringLiteral("disconnected"));
            });
        else
            post([id](IBleCentralDelegate &d) { d.centralDidDisconnectPeripheral(id, {}); });
    });
    connect(c, &QLowEnergyController::errorOccurred, this, [this, id, c](QLowEnergyController::Error e) {
        onControllerError(id, enumText(e) + ": " + c->errorString());
    });
    connect(c, &QLowEnergyController::serviceDiscovered, this,
            [this, id](const QBluetoothUuid &u) { m_links[id].services << uuidText(u); });
    connect(c, &QLowEnergyController::discoveryFinished, this, [this, id] {
        Link &l = m_links[id];
        l.discoveringServices = false;
        const QStringList services = l.services;
        post([id, services](IBleCentralDelegate &d) { d.peripheralDidDiscoverServices(id, services, {}); });
    });
    c->connectToDevice();
}

void BluezBleCentral::onControllerError(const QString &id, const QString &error)
{
    const Link link = m_links.value(id);
    if (link.state == BlePeripheralState::Connecting) {
        closeLink(id);
        post([id, error](IBleCentralDelegate &d) { d.centralDidFailToConnectPeripheral(id, error); });
    } else if (link.discoveringServices) {
        m_links[id].discoveringServices = false;
        post([id, error](IBleCentralDelegate &d) { d.peripheralDidDiscoverServices(id, {}, error); });
    } else {
        qxWarning("ble") << id << error;
    }
}

void BluezBleCentral::closeLink(const QString &id)
{
    const auto it = m_links.find(id);
    if (it == m_links.end())
        return;
    if (QLowEnergyController *c = it->controller.data()) {
        c->disconnect(this);
        for (const QPointer<QLowEnergyService> &s : std::as_const(it->gatt))
            if (s)
                s->disconnect(this);
        if (c->state() != QLowEnergyController::UnconnectedState)
            c->disconnectFromDevice();
        c->deleteLater(); // may be inside one of its own signals
    }
    m_links.erase(it);
}

void BluezBleCentral::cancelPeripheralConnection(const QString &id)
{
    if (!m_links.contains(id))
        return;
    closeLink(id);
    post([id](IBleCentralDelegate &d) { d.centralDidDisconnectPeripheral(id, {}); });
}

BlePeripheralState BluezBleCentral::peripheralState(const QString &id) const
{
    return m_links.value(id).state;
}

// ---- GATT -----------------------------------------------------------------------

void BluezBleCentral::discoverServices(const QString &id)
{
    Link *link = m_links.contains(id) ? &m_links[id] : nullptr;
    if (!link || !link->controller || link->state != BlePeripheralState::Connected) {
        post(
            [id](IBleCentralDelegate &d) { d.peripheralDidDiscoverServices(id, {}, QStringLiteral("not connected")); });
        return;
    }
    link->services.clear();
    link->discoveringServices = true;
    link->controller->discoverServices();
}

void BluezBleCentral::discoverCharacteristics(const QString &id, const QString &service)
{
    const QString serviceUuid = normalizedBleUuid(service);
    Link *link = m_links.contains(id) ? &m_links[id] : nullptr;
    QLowEnergyService *svc = nullptr;
    if (link && link->controller && link->state == BlePeripheralState::Connected)
        svc = link->controller->createServiceObject(QBluetoothUuid(serviceUuid), link->controller);
    if (!svc) {
        post([id, serviceUuid](IBleCentralDelegate &d) {
            d.peripheralDidDiscoverCharacteristics(id, serviceUuid, {}, QStringLiteral("service not available"));
        });
        return;
    }
    if (QLowEnergyService *old = link->gatt.value(serviceUuid))
        old->deleteLater();
    link->gatt.insert(serviceUuid, svc);
    watchService(id, serviceUuid, svc);
    svc->discoverDetails();
}

void BluezBleCentral::watchService(const QString &id, const QString &serviceUuid, QLowEnergyService *svc)
{
    connect(svc, &QLowEnergyService::stateChanged, this,
            [this, id, serviceUuid, svc](QLowEnergyService::ServiceState s) {
                if (s != QLowEnergyService::RemoteServiceDiscovered)
                    return;
                QList<BleCharacteristicInfo> list;
                for (const QLowEnergyCharacteristic &c : svc->characteristics())
                    list << BleCharacteristicInfo{uuidText(c.uuid()), int(c.properties())};
                post([id, serviceUuid, list](IBleCentralDelegate &d) {
                    d.peripheralDidDiscoverCharacteristics(id, serviceUuid, list, {});
                });
            });
    connect(svc, &QLowEnergyService::characteristicChanged, this,
            [this, id, serviceUuid](const QLowEnergyCharacteristic &c, const QByteArray &value) {
                const BleCharacteristicRef ref{id, serviceUuid, uuidText(c.uuid())};
                post([ref, value](IBleCentralDelegate &d) { d.peripheralDidUpdateValue(ref, value, {}); });
            });
    connect(svc, &QLowEnergyService::characteristicRead, this,
            [this, id, serviceUuid](const QLowEnergyCharacteristic &c, const QByteArray &value) {
                answerPending(id, serviceUuid, Op::Read, uuidText(c.uuid()), value, {});
            });
    connect(svc, &QLowEnergyService::characteristicWritten, this,
            [this, id, serviceUuid](const QLowEnergyCharacteristic &c, const QByteArray &) {
                answerPending(id, serviceUuid, Op::Write, uuidText(c.uuid()), {}, {});
            });
    connect(svc, &QLowEnergyService::descriptorWritten, this,
            [this, id, serviceUuid, svc](const QLowEnergyDescriptor &desc, const QByteArray &) {
                // Find the characteristic that owns the descriptor.
                for (const QLowEnergyCharacteristic &c : svc->characteristics())
                    if (c.clientCharacteristicConfiguration() == desc) {
                        answerPending(id, serviceUuid, Op::Notify, uuidText(c.uuid()), {}, {});
                        return;
                    }
            });
    connect(svc, &QLowEnergyService::errorOccurred, this,
            [this, id, serviceUuid, svc](QLowEnergyService::ServiceError e) {
                const QString error = enumText(e);
                switch (e) {
                case QLowEnergyService::CharacteristicReadError:
                    answerPending(id, serviceUuid, Op::Read, {}, {}, error);
                    break;
                case QLowEnergyService::CharacteristicWriteError:
                    answerPending(id, serviceUuid, Op::Write, {}, {}, error);
                    break;
                case QLowEnergyService::DescriptorWriteError:
                    answerPending(id, serviceUuid, Op::Notify, {}, {}, error);
                    break;
                default:
                    if (svc->state() != QLowEnergyService::RemoteServiceDiscovered)
                        post([id, serviceUuid, error](IBleCentralDelegate &d) {
                            d.peripheralDidDiscoverCharacteristics(id, serviceUuid, {}, error);
                        });
                    else
                        qxWarning("ble") << id << serviceUuid << error;
                }
            });
}

// Completes the oldest pending request of its kind (for that characteristic when known).
void BluezBleCentral::answerPending(const QString &id, const QString &service, Op op, const QString &characteristic,
                                    const QByteArray &value, const QString &error)
{
    if (!m_links.contains(id))
        return;
    QList<Pending> &queue = m_links[id].pending[service];
    for (int i = 0; i < queue.size(); ++i) {
        if (queue[i].op != op || (!characteristic.isEmpty() && queue[i].ref.characteristic != characteristic))
            continue;
        const Pending p = queue.takeAt(i);
        switch (op) {
        case Op::Notify:
            post([p, error](IBleCentralDelegate &d) {
                d.peripheralDidUpdateNotificationState(p.ref, p.enabled && error.isEmpty(), error);
            });
            break;
        case Op::Read:
            post([p, value, error](IBleCentralDelegate &d) { d.peripheralDidUpdateValue(p.ref, value, error); });
            break;
        case Op::Write:
            post([p, error](IBleCentralDelegate &d) { d.peripheralDidWriteValue(p.ref, error); });
            break;
        }
        return;
    }
}

QLowEnergyService *BluezBleCentral::gattService(const BleCharacteristicRef &ref) const
{
    const auto it = m_links.constFind(ref.peripheral);
    if (it == m_links.cend() || it->state != BlePeripheralState::Connected)
        return nullptr;
    QLowEnergyService *svc = it->gatt.value(normalizedBleUuid(ref.service));
    return svc && svc->state() == QLowEnergyService::RemoteServiceDiscovered ? svc : nullptr;
}

void BluezBleCentral::setNotifyValue(const BleCharacteristicRef &ref, bool enabled)
{
    QLowEnergyService *svc = gattService(ref);
    const QLowEnergyCharacteristic c =
        svc ? svc->characteristic(QBluetoothUuid(ref.characteristic)) : QLowEnergyCharacteristic();
    const QLowEnergyDescriptor cccd = c.isValid() ? c.clientCharacteristicConfiguration() : QLowEnergyDescriptor();
    if (!cccd.isValid()) {
        post([ref](IBleCentralDelegate &d) {
            d.peripheralDidUpdateNotificationState(ref, false, QStringLiteral("characteristic cannot notify"));
        });
        return;
    }
    QByteArray value = QLowEnergyCharacteristic::CCCDDisable;
    if (enabled)
        value = (c.properties() & QLowEnergyCharacteristic::Notify) ? QLowEnergyCharacteristic::CCCDEnableNotification
                                                                    : QLowEnergyCharacteristic::CCCDEnableIndication;
    m_links[ref.peripheral].pending[normalizedBleUuid(ref.service)] << Pending{Op::Notify, ref, enabled};
    svc->writeDescriptor(cccd, value);
}

void BluezBleCentral::readValue(const BleCharacteristicRef &ref)
{
    QLowEnergyService *svc = gattService(ref);
    const QLowEnergyCharacteristic c =
        svc ? svc->characteristic(QBluetoothUuid(ref.characteristic)) : QLowEnergyCharacteristic();
    if (!c.isValid()) {
        post([ref](IBleCentralDelegate &d) { d.peripheralDidUpdateValue(ref, {}, QStringLiteral("not available")); });
        return;
    }
    m_links[ref.peripheral].pending[normalizedBleUuid(ref.service)] << Pending{Op::Read, ref};
    svc->readCharacteristic(c);
}

void BluezBleCentral::writeValue(const BleCharacteristicRef &ref, const QByteArray &value, BleWriteMode mode)
{
    QLowEnergyService *svc = gattService(ref);
    const QLowEnergyCharacteristic c =
        svc ? svc->characteristic(QBluetoothUuid(ref.characteristic)) : QLowEnergyCharacteristic();
    const bool withResponse = mode == BleWriteMode::WithResponse;
    if (!c.isValid()) {
        if (withResponse)
            post([ref](IBleCentralDelegate &d) { d.peripheralDidWriteValue(ref, QStringLiteral("not available")); });
        return;
    }
    if (withResponse)
        m_links[ref.peripheral].pending[normalizedBleUuid(ref.service)] << Pending{Op::Write, ref};
    svc->writeCharacteristic(
        c, value, withResponse ? QLowEnergyService::WriteWithResponse : QLowEnergyService::WriteWithoutResponse);
}

// BlueZ negotiates the MTU when the link comes up; QtBluetooth reports it (-1 before).
int BluezBleCentral::mtu(const QString &peripheral) const
{
    const auto it = m_links.constFind(peripheral);
    if (it == m_links.cend() || !it->controller || it->state != BlePeripheralState::Connected)
        return kMinimumAttMtu;
    return std::max(kMinimumAttMtu, it->controller->mtu());
}

} // namespace platform::linuxbackend
