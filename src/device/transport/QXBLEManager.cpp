#include "QXBLEManager.h"

#include "InstalledInstance.h"
#include "MainThread.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"

#include <utility>

using platform::BleAdapterState;
using platform::BleCharacteristicInfo;
using platform::BleCharacteristicRef;
using platform::BlePeripheralInfo;
using platform::BlePeripheralState;
using platform::BleWriteMode;
using platform::normalizedBleUuid;

namespace {

// Until the composition root connects the application state: no USB mouse, and
// everything the central reports is dropped.
class StandInBleDelegate final : public BleManagerDelegate {
public:
    bool isConnect() const override { return false; }
    void setDeviceName(const QString &) override { note(); }
    void setBlueDeviceMac(const QString &) override { note(); }
    void setBleConnect(bool) override { note(); }
    void setDeviceType(int) override { note(); }
    void setIsFromMicData(bool) override { note(); }
    void eventTypeConvertDataToHexStr(const QByteArray &) override { note(); }

private:
    static void note()
    {
        qxLogOnce(QStringLiteral("ble.delegate"),
                  QStringLiteral("[ble] no application state connected to the Bluetooth LE central"));
    }
};

StandInBleDelegate &standIn()
{
    static StandInBleDelegate s;
    return s;
}

bool hasProperty(const BleCharacteristicInfo &c, int bits)
{
    return (c.properties & bits) != 0;
}

} // namespace

QXBLEManager::QXBLEManager(CentralFactory factory, BleManagerDelegate *delegate)
    : m_factory(std::move(factory)), m_delegate(delegate)
{
}

QXBLEManager::~QXBLEManager()
{
    InstalledInstance<QXBLEManager>::uninstall(this);
    cancelTimer(Scheduler::instance(), m_connectTimer);
    if (m_central) {
        m_central->setDelegate(nullptr);
        m_central->stopScan();
    }
}

QXBLEManager &QXBLEManager::sharedInstance()
{
    return InstalledInstance<QXBLEManager>::get("QXBLEManager");
}

QXBLEManager *QXBLEManager::setSharedInstance(QXBLEManager *instance)
{
    return InstalledInstance<QXBLEManager>::install(instance);
}

void QXBLEManager::setCentralFactory(CentralFactory factory)
{
    m_factory = std::move(factory);
}

void QXBLEManager::setDelegate(BleManagerDelegate *delegate)
{
    m_delegate = delegate;
}

void QXBLEManager::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("QXBLEManager")).add("centralFactory", m_factory).add("delegate", m_delegate);
}

BleManagerDelegate &QXBLEManager::delegate() const
{
    return m_delegate ? *m_delegate : standIn();
}

// ---- scanning -------------------------------------------------------------------

void QXBLEManager::startScan()
{
    if (m_stateNOW != kStateScanning) {
        if (delegate().isConnect())
            return;
        replaceCentral();
        if (!m_central)
            return;
        m_central->scanForPeripherals();
        m_stateNOW = kStateScanning;
    }
    restartCheckTimer();
}

void QXBLEManager::replaceCentral()
{
    if (m_central) {
        m_central->stopScan();
        // The old central takes its connection with it; say so rather than keep
        // reporting a peripheral that is gone.
        if (!m_peripheral.isEmpty())
            cancelPeripheralConnection();
        m_central->setDelegate(nullptr);
        // We may be inside one of its own callbacks: let it go once that has returned.
        std::shared_ptr<platform::IBleCentral> old(std::move(m_central));
        postToMainThread([old] { Q_UNUSED(old); });
    }
    if (!m_factory) {
        qxLogOnce(QStringLiteral("ble.nocentral"), QStringLiteral("[ble] no Bluetooth LE central installed"));
        return;
    }
    m_central = m_factory();
    if (m_central)
        m_central->setDelegate(this);
}

void QXBLEManager::restartCheckTimer()
{
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_connectTimer);
    m_connectTimer = s.repeating(
        kCheckIntervalMs, [this] { checkConnectCBPeripheral(); }, this);
}

void QXBLEManager::stopScan()
{
    if (m_central)
        m_central->stopScan();
    m_stateNOW = kStateStopped;
    cancelTimer(Scheduler::instance(), m_connectTimer);
}

bool QXBLEManager::peripheralBusy() const
{
    return !m_peripheral.isEmpty() && m_central
           && m_central->peripheralState(m_peripheral) != BlePeripheralState::Disconnected;
}

void QXBLEManager::checkConnectCBPeripheral()
{
    if (delegate().isConnect() || !m_central)
        return;
    // Already on its way to (or in) a connection: asking again would only restart it.
    if (peripheralBusy())
        return;
    const QList<BlePeripheralInfo> connected = m_central->retrieveConnectedPeripherals(ble::primaryServiceUuids());
    if (connected.isEmpty())
        return;
    qxInfo("ble") << "system already holds" << connected.first().id << connected.first().name;
    connectBluetoothDevice(connected.first());
    cancelTimer(Scheduler::instance(), m_connectTimer);
}

void QXBLEManager::centralDidDiscoverPeripheral(const BlePeripheralInfo &peripheral)
{
    if (peripheral.id.isEmpty() || peripheral.name.isEmpty())
        return;
    // BlueZ also reports devices it merely remembers; only a device heard now counts.
    if (peripheral.cached)
        return;
    if (delegate().isConnect()) {
        cancelPeripheralConnection();
        return;
    }
    if (peripheralBusy())
        return;
    if (!ble::matchesDeviceName(peripheral.name))
        return;
    if (peripheral.serviceUuids.isEmpty()) {
        restartCheckTimer();
        return;
    }
    qxInfo("ble") << "found" << peripheral.name << peripheral.id;
    // Stopping the whole scan (timer included) keeps the periodic check from asking
    // for the same peripheral again while it connects; a failure rescans.
    stopScan();
    connectBluetoothDevice(peripheral);
}

// ---- connection -----------------------------------------------------------------

void QXBLEManager::connectBluetoothDevice(const BlePeripheralInfo &peripheral)
{
    if (!m_central || peripheral.id.isEmpty())
        return;
    m_stateNOW = kStateConnecting;
    delegate().setDeviceName(peripheral.name);
    m_peripheral = peripheral.id;
    m_peripheralName = peripheral.name;
    // Characteristics of an earlier peripheral must never receive this one's writes.
    forgetCharacteristics();
    m_central->connectPeripheral(peripheral.id);
}

void QXBLEManager::centralDidConnectPeripheral(const QString &peripheral)
{
    if (peripheral.isEmpty() || peripheral != m_peripheral)
        return;
    qxInfo("ble") << "connected" << peripheral;
    m_central->stopScan();
    m_central->discoverServices(peripheral);
    delegate().setBlueDeviceMac(peripheral);
}

void QXBLEManager::centralDidFailToConnectPeripheral(const QString &peripheral, const QString &error)
{
    if (peripheral != m_peripheral)
        return;
    qxWarning("ble") << "connecting" << peripheral << "failed:" << error;
    m_stateNOW = kStateStopped;
    // Scan again: otherwise nothing would ever retry this peripheral.
    m_peripheral.clear();
    forgetCharacteristics();
    startScan();
}

void QXBLEManager::centralDidDisconnectPeripheral(const QString &peripheral, const QString &error)
{
    // A late report about a peripheral already let go must not drop the current one.
    if (!m_peripheral.isEmpty() && peripheral != m_peripheral)
        return;
    qxInfo("ble") << "disconnected" << peripheral << error;
    cancelPeripheralConnection();
    startScan();
}

void QXBLEManager::cancelPeripheralConnection()
{
    if (!m_peripheral.isEmpty()) {
        const QString id = m_peripheral;
        m_peripheral.clear();
        m_peripheralName.clear();
        forgetCharacteristics();
        if (m_central)
            m_central->cancelPeripheralConnection(id);
        delegate().setBleConnect(false);
        postNotification(QString::fromLatin1(qx::notify::kBleDisConnectNotification));
    }
    stopScan();
}

void QXBLEManager::forgetCharacteristics()
{
    m_roles.fill({});
    m_readable.clear();
}

// ---- services and characteristics ---------------------------------------------------

void QXBLEManager::peripheralDidDiscoverServices(const QString &peripheral, const QStringList &services,
                                                 const QString &error)
{
    if (peripheral != m_peripheral)
        return;
    if (!error.isEmpty()) {
        // Connected but unusable; let it go so that a rescan can try again.
        qxWarning("ble") << "service discovery on" << peripheral << "failed:" << error;
        cancelPeripheralConnection();
        return;
    }
    for (const QString &service : services)
        m_central->discoverCharacteristics(peripheral, service);
}

void QXBLEManager::peripheralDidDiscoverCharacteristics(const QString &peripheral, const QString &service,
                                                        const QList<BleCharacteristicInfo> &characteristics,
                                                        const QString &error)
{
    if (peripheral != m_peripheral)
        return;
    if (!error.isEmpty()) {
        qxWarning("ble") << "characteristics of" << service << "on" << peripheral << "failed:" << error;
        // Other services may fail without harm; ours cannot.
        if (ble::primaryServiceUuids().contains(normalizedBleUuid(service)))
            cancelPeripheralConnection();
        return;
    }

    m_serviceSet = &ble::serviceSetForName(m_peripheralName);
    delegate().setDeviceType(m_serviceSet->deviceType);
    if (m_serviceSet->voiceFromDevice)
        delegate().setIsFromMicData(true);

    const QString serviceUuid = normalizedBleUuid(service);
    int count = 0;
    for (const BleCharacteristicInfo &c : characteristics) {
        const QString uuid = normalizedBleUuid(c.uuid);
        for (int role = 0; role < ble::kRoleCount; ++role) {
            if (uuid != QLatin1String(m_serviceSet->roleUuids[role]))
                continue;
            const BleCharacteristicRef ref{peripheral, serviceUuid, uuid};
            m_roles[role] = ref;
            if (hasProperty(c, platform::bleprop::Read) && !m_readable.contains(ref))
                m_readable << ref;
            // Only characteristics that can notify have a configuration descriptor to write.
            if (hasProperty(c, platform::bleprop::Notify | platform::bleprop::Indicate))
                m_central->setNotifyValue(ref, true);
            ++count;
        }
        if (count >= m_serviceSet->neededCharacteristics) {
            m_stateNOW = kStateConnected;
            delegate().setBleConnect(true);
            postNotification(QString::fromLatin1(qx::notify::kBleConnectNotification));
        }
    }
}

void QXBLEManager::peripheralDidUpdateNotificationState(const BleCharacteristicRef &characteristic, bool enabled,
                                                        const QString &error)
{
    if (characteristic.peripheral != m_peripheral)
        return;
    if (!error.isEmpty()) {
        qxWarning("ble") << "notifications of" << characteristic.characteristic << "failed:" << error;
        return;
    }
    if (enabled && m_readable.contains(characteristic))
        m_central->readValue(characteristic);
}

void QXBLEManager::peripheralDidUpdateValue(const BleCharacteristicRef &characteristic, const QByteArray &value,
                                            const QString &error)
{
    if (!error.isEmpty() || characteristic.peripheral != m_peripheral || m_peripheral.isEmpty())
        return;
    delegate().eventTypeConvertDataToHexStr(value);
}

// ---- adapter ----------------------------------------------------------------------

void QXBLEManager::centralDidUpdateState(BleAdapterState state)
{
    m_connectState = ble::adapterStateText(state);
    qxInfo("ble") << "adapter:" << m_connectState;
    if (state == BleAdapterState::PoweredOff)
        cancelPeripheralConnection();
    if (state == BleAdapterState::PoweredOn) {
        // Every new central reports "powered on" once. While a peripheral connects on
        // the current one, restarting the scan would drop it, and with a peripheral the
        // system holds, the next central's report would drop the next attempt forever.
        if (peripheralBusy())
            return;
        startScan();
        checkConnectCBPeripheral();
    } else {
        stopScan();
    }
}

// ---- writes -----------------------------------------------------------------------

bool QXBLEManager::write(ble::BleRole role, const QByteArray &data, BleWriteMode mode)
{
    const BleCharacteristicRef &ref = m_roles[int(role)];
    if (m_peripheral.isEmpty() || !m_central || !ref.isValid() || ref.peripheral != m_peripheral)
        return false;
    m_central->writeValue(ref, data, mode);
    return true;
}

bool QXBLEManager::sendData(const QByteArray &data)
{
    return write(ble::BleRole::Write, data, BleWriteMode::WithResponse);
}

bool QXBLEManager::sendOTAData(const QByteArray &data)
{
    return write(ble::BleRole::OtaWrite, data, BleWriteMode::WithoutResponse);
}

int QXBLEManager::mtu() const
{
    if (m_peripheral.isEmpty() || !m_central
        || m_central->peripheralState(m_peripheral) != BlePeripheralState::Connected)
        return 0;
    return m_central->mtu(m_peripheral);
}
