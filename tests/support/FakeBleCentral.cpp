#include "FakeBleCentral.h"

#include "Scheduler.h"

#include <gtest/gtest.h>

using platform::BleAdapterState;
using platform::BleCharacteristicInfo;
using platform::BleCharacteristicRef;
using platform::BlePeripheralInfo;
using platform::BlePeripheralState;
using platform::BleWriteMode;
using platform::IBleCentralDelegate;
using platform::normalizedBleUuid;

// ---- FakeBleAdapter ---------------------------------------------------------------

FakeBleAdapter::FakeBleAdapter(BleAdapterState state) : m_state(state) {}

FakeBleAdapter::~FakeBleAdapter() = default;

std::function<std::unique_ptr<platform::IBleCentral>()> FakeBleAdapter::factory()
{
    return [this] { return makeCentral(); };
}

std::unique_ptr<platform::IBleCentral> FakeBleAdapter::makeCentral()
{
    // Code that keeps replacing its central is stuck in a loop; stop it before it
    // eats the machine.
    if (m_created >= kRunawayCentrals) {
        ADD_FAILURE() << "more than " << kRunawayCentrals << " centrals created: runaway loop";
        return nullptr;
    }
    auto central = std::make_unique<FakeBleCentral>(*this);
    m_centrals << central.get();
    ++m_created;
    return central;
}

FakeBleCentral *FakeBleAdapter::current() const
{
    for (auto it = m_centrals.crbegin(); it != m_centrals.crend(); ++it)
        if (*it)
            return it->data();
    return nullptr;
}

void FakeBleAdapter::centralGone(FakeBleCentral *central)
{
    // A central takes its connections with it, without telling anyone.
    for (Link &link : m_links)
        if (link.owner == central) {
            link.state = BlePeripheralState::Disconnected;
            link.owner = nullptr;
            link.subscribed.clear();
        }
    m_centrals.removeAll(central);
}

void FakeBleAdapter::setState(BleAdapterState state)
{
    m_state = state;
    if (state != BleAdapterState::PoweredOn) {
        // The adapter going away ends every connection; the state change is the only news.
        for (Link &link : m_links) {
            link.state = BlePeripheralState::Disconnected;
            link.owner = nullptr;
            link.subscribed.clear();
        }
    }
    for (const QPointer<FakeBleCentral> &c : m_centrals)
        if (c)
            c->deliver([state](IBleCentralDelegate &d) { d.centralDidUpdateState(state); });
}

FakeBleAdapter::Peripheral &FakeBleAdapter::addPeripheral(const Peripheral &p)
{
    m_peripherals << p;
    return m_peripherals.last();
}

FakeBleAdapter::Peripheral *FakeBleAdapter::peripheral(const QString &id)
{
    for (Peripheral &p : m_peripherals)
        if (p.id == id)
            return &p;
    return nullptr;
}

bool FakeBleAdapter::isScanning() const
{
    FakeBleCentral *c = current();
    return c && c->isScanning();
}

bool FakeBleAdapter::advertise(const QString &id)
{
    const Peripheral *p = peripheral(id);
    FakeBleCentral *c = current();
    if (!p || !c || !c->isScanning())
        return false;
    BlePeripheralInfo info{p->id, p->name, p->advertisedServices, p->cached, -50};
    c->deliver([info](IBleCentralDelegate &d) { d.centralDidDiscoverPeripheral(info); });
    return true;
}

bool FakeBleAdapter::dropConnection(const QString &id, const QString &error)
{
    Link &link = m_links[id];
    if (link.state == BlePeripheralState::Disconnected)
        return false;
    link.state = BlePeripheralState::Disconnected;
    link.subscribed.clear();
    if (FakeBleCentral *owner = link.owner.data())
        owner->deliver([id, error](IBleCentralDelegate &d) { d.centralDidDisconnectPeripheral(id, error); });
    link.owner = nullptr;
    return true;
}

bool FakeBleAdapter::notify(const QString &id, const QString &characteristicUuid, const QByteArray &value)
{
    const QString uuid = normalizedBleUuid(characteristicUuid);
    const Link link = m_links.value(id);
    if (link.state != BlePeripheralState::Connected || !link.owner || !link.subscribed.contains(uuid))
        return false;
    const Peripheral *p = peripheral(id);
    QString service;
    for (const Service &s : p->services)
        for (const Characteristic &c : s.characteristics)
            if (normalizedBleUuid(c.uuid) == uuid && service.isEmpty())
                service = normalizedBleUuid(s.uuid);
    const BleCharacteristicRef ref{id, service, uuid};
    link.owner->deliver([ref, value](IBleCentralDelegate &d) { d.peripheralDidUpdateValue(ref, value, {}); });
    return true;
}

BlePeripheralState FakeBleAdapter::connectionState(const QString &id) const
{
    return m_links.value(id).state;
}

bool FakeBleAdapter::isSubscribed(const QString &id, const QString &characteristicUuid) const
{
    return m_links.value(id).subscribed.contains(normalizedBleUuid(characteristicUuid));
}

int FakeBleAdapter::callCount(const QString &prefix) const
{
    int n = 0;
    for (const QString &c : calls)
        n += c.startsWith(prefix) ? 1 : 0;
    return n;
}

const FakeBleAdapter::Characteristic *FakeBleAdapter::findCharacteristic(const QString &id, const QString &service,
                                                                         const QString &uuid) const
{
    for (const Peripheral &p : m_peripherals) {
        if (p.id != id)
            continue;
        for (const Service &s : p.services) {
            if (normalizedBleUuid(s.uuid) != normalizedBleUuid(service))
                continue;
            for (const Characteristic &c : s.characteristics)
                if (normalizedBleUuid(c.uuid) == normalizedBleUuid(uuid))
                    return &c;
        }
    }
    return nullptr;
}

// ---- FakeBleCentral -----------------------------------------------------------------

FakeBleCentral::FakeBleCentral(FakeBleAdapter &adapter) : m_adapter(adapter), m_adapterAlive(adapter.m_alive)
{
    // A new central reports the adapter's state on its own, soon after it exists.
    deliver([this](IBleCentralDelegate &d) { d.centralDidUpdateState(m_adapter.m_state); });
}

FakeBleCentral::~FakeBleCentral()
{
    if (!m_adapterAlive.expired())
        m_adapter.centralGone(this);
}

void FakeBleCentral::deliver(std::function<void(IBleCentralDelegate &)> event)
{
    Scheduler::instance().singleShot(
        m_adapter.m_delayMs,
        [this, event = std::move(event)] {
            if (m_delegate)
                event(*m_delegate);
        },
        this);
}

void FakeBleCentral::setDelegate(IBleCentralDelegate *delegate)
{
    m_delegate = delegate;
}

BleAdapterState FakeBleCentral::state() const
{
    return m_adapter.m_state;
}

void FakeBleCentral::scanForPeripherals()
{
    m_adapter.calls << QStringLiteral("scan");
    m_wantScan = true;
}

void FakeBleCentral::stopScan()
{
    m_adapter.calls << QStringLiteral("stopScan");
    m_wantScan = false;
}

bool FakeBleCentral::isScanning() const
{
    return m_wantScan && m_adapter.m_state == BleAdapterState::PoweredOn;
}

QList<BlePeripheralInfo> FakeBleCentral::retrieveConnectedPeripherals(const QStringList &serviceUuids)
{
    m_adapter.calls << QStringLiteral("retrieve");
    QList<BlePeripheralInfo> out;
    if (m_adapter.m_state != BleAdapterState::PoweredOn)
        return out;
    for (const FakeBleAdapter::Peripheral &p : m_adapter.m_peripherals) {
        const bool connected = p.heldBySystem || m_adapter.m_links.value(p.id).state == BlePeripheralState::Connected;
        if (!connected)
            continue;
        bool offers = false;
        for (const FakeBleAdapter::Service &s : p.services)
            for (const QString &want : serviceUuids)
                offers = offers || normalizedBleUuid(s.uuid) == normalizedBleUuid(want);
        if (offers)
            out << BlePeripheralInfo{p.id, p.name, {}, false, 0};
    }
    return out;
}

bool FakeBleCentral::ownsConnection(const QString &peripheral) const
{
    const FakeBleAdapter::Link link = m_adapter.m_links.value(peripheral);
    return link.owner == this && link.state == BlePeripheralState::Connected;
}

void FakeBleCentral::connectPeripheral(const QString &id)
{
    m_adapter.calls << QStringLiteral("connect(%1)").arg(id);
    const FakeBleAdapter::Peripheral *p = m_adapter.peripheral(id);
    QString error;
    if (m_adapter.m_state != BleAdapterState::PoweredOn)
        error = QStringLiteral("adapter not powered on");
    else if (!p)
        error = QStringLiteral("unknown peripheral");
    else
        error = p->connectError;
    FakeBleAdapter::Link &link = m_adapter.m_links[id];
    if (!error.isEmpty()) {
        link.state = BlePeripheralState::Disconnected;
        deliver([id, error](IBleCentralDelegate &d) { d.centralDidFailToConnectPeripheral(id, error); });
        return;
    }
    link.state = BlePeripheralState::Connecting;
    link.owner = this;
    deliver([this, id](IBleCentralDelegate &d) {
        FakeBleAdapter::Link &l = m_adapter.m_links[id];
        // Cancelled or dropped in the meantime: nothing to report here.
        if (l.state != BlePeripheralState::Connecting || l.owner != this)
            return;
        l.state = BlePeripheralState::Connected;
        d.centralDidConnectPeripheral(id);
    });
}

void FakeBleCentral::cancelPeripheralConnection(const QString &id)
{
    m_adapter.calls << QStringLiteral("cancel(%1)").arg(id);
    FakeBleAdapter::Link &link = m_adapter.m_links[id];
    if (link.state == BlePeripheralState::Disconnected || link.owner != this)
        return;
    link.state = BlePeripheralState::Disconnected;
    link.owner = nullptr;
    link.subscribed.clear();
    deliver([id](IBleCentralDelegate &d) { d.centralDidDisconnectPeripheral(id, {}); });
}

BlePeripheralState FakeBleCentral::peripheralState(const QString &id) const
{
    return m_adapter.m_links.value(id).state;
}

int FakeBleCentral::mtu(const QString &id) const
{
    return ownsConnection(id) ? m_adapter.m_mtu : kMinimumAttMtu;
}

void FakeBleCentral::discoverServices(const QString &id)
{
    m_adapter.calls << QStringLiteral("discoverServices(%1)").arg(id);
    deliver([this, id](IBleCentralDelegate &d) {
        const FakeBleAdapter::Peripheral *p = m_adapter.peripheral(id);
        if (!ownsConnection(id) || !p) {
            d.peripheralDidDiscoverServices(id, {}, QStringLiteral("not connected"));
            return;
        }
        if (!p->servicesError.isEmpty()) {
            d.peripheralDidDiscoverServices(id, {}, p->servicesError);
            return;
        }
        QStringList services;
        for (const FakeBleAdapter::Service &s : p->services)
            services << normalizedBleUuid(s.uuid);
        d.peripheralDidDiscoverServices(id, services, {});
    });
}

void FakeBleCentral::discoverCharacteristics(const QString &id, const QString &service)
{
    m_adapter.calls << QStringLiteral("discoverCharacteristics(%1)").arg(service);
    deliver([this, id, service](IBleCentralDelegate &d) {
        const FakeBleAdapter::Peripheral *p = m_adapter.peripheral(id);
        if (!ownsConnection(id) || !p) {
            d.peripheralDidDiscoverCharacteristics(id, service, {}, QStringLiteral("not connected"));
            return;
        }
        const QString error = p->characteristicsError.value(normalizedBleUuid(service));
        if (!error.isEmpty()) {
            d.peripheralDidDiscoverCharacteristics(id, service, {}, error);
            return;
        }
        QList<BleCharacteristicInfo> list;
        for (const FakeBleAdapter::Service &s : p->services)
            if (normalizedBleUuid(s.uuid) == normalizedBleUuid(service))
                for (const FakeBleAdapter::Characteristic &c : s.characteristics)
                    list << BleCharacteristicInfo{normalizedBleUuid(c.uuid), c.properties};
        d.peripheralDidDiscoverCharacteristics(id, service, list, {});
    });
}

void FakeBleCentral::setNotifyValue(const BleCharacteristicRef &ref, bool enabled)
{
    m_adapter.calls << QStringLiteral("notify(%1,%2)").arg(ref.characteristic).arg(enabled ? 1 : 0);
    deliver([this, ref, enabled](IBleCentralDelegate &d) {
        const FakeBleAdapter::Characteristic *c =
            m_adapter.findCharacteristic(ref.peripheral, ref.service, ref.characteristic);
        const FakeBleAdapter::Peripheral *p = m_adapter.peripheral(ref.peripheral);
        QString error;
        if (!ownsConnection(ref.peripheral) || !c)
            error = QStringLiteral("not connected");
        else if (!(c->properties & (platform::bleprop::Notify | platform::bleprop::Indicate)))
            error = QStringLiteral("characteristic cannot notify");
        else if (p)
            error = p->notifyError.value(normalizedBleUuid(ref.characteristic));
        if (error.isEmpty()) {
            QStringList &subs = m_adapter.m_links[ref.peripheral].subscribed;
            const QString uuid = normalizedBleUuid(ref.characteristic);
            subs.removeAll(uuid);
            if (enabled)
                subs << uuid;
        }
        d.peripheralDidUpdateNotificationState(ref, enabled && error.isEmpty(), error);
    });
}

void FakeBleCentral::readValue(const BleCharacteristicRef &ref)
{
    m_adapter.calls << QStringLiteral("read(%1)").arg(ref.characteristic);
    deliver([this, ref](IBleCentralDelegate &d) {
        const FakeBleAdapter::Characteristic *c =
            m_adapter.findCharacteristic(ref.peripheral, ref.service, ref.characteristic);
        if (!ownsConnection(ref.peripheral) || !c || !(c->properties & platform::bleprop::Read)) {
            d.peripheralDidUpdateValue(ref, {}, QStringLiteral("read not permitted"));
            return;
        }
        d.peripheralDidUpdateValue(ref, c->value, {});
    });
}

void FakeBleCentral::writeValue(const BleCharacteristicRef &ref, const QByteArray &value, BleWriteMode mode)
{
    const bool withResponse = mode == BleWriteMode::WithResponse;
    m_adapter.calls << QStringLiteral("write(%1,%2,%3)")
                           .arg(ref.characteristic, QString::fromLatin1(value.toHex()),
                                withResponse ? QStringLiteral("response") : QStringLiteral("noresponse"));
    if (!ownsConnection(ref.peripheral)) {
        if (withResponse)
            deliver([ref](IBleCentralDelegate &d) { d.peripheralDidWriteValue(ref, QStringLiteral("not connected")); });
        return;
    }
    const FakeBleAdapter::Write w{ref, value, mode};
    m_adapter.writes << w;
    if (m_adapter.onWrite)
        m_adapter.onWrite(w);
    if (withResponse)
        deliver([ref](IBleCentralDelegate &d) { d.peripheralDidWriteValue(ref, {}); });
}
