#include "QXUsbInfoManager.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "ReceiverTable.h"
#include "Scheduler.h"

#include <QVariantList>

using platform::UsbDeviceInfo;

QList<QXUsbInfoManager::Pair> QXUsbInfoManager::watchedPairs()
{
    QList<Pair> pairs;
    for (const qx::receivers::ReceiverRow &row : qx::receivers::receiverTable())
        if (row.has(qx::receivers::kUsbWatch))
            pairs.append({row.vendorId, row.productId});
    return pairs;
}

QXUsbInfoManager::QXUsbInfoManager(QObject *parent) : QObject(parent) {}

QXUsbInfoManager::~QXUsbInfoManager()
{
    if (m_watching && m_watcher)
        m_watcher->stop();
}

double QXUsbInfoManager::getNowTime()
{
    return double(Scheduler::instance().clock().now().toMSecsSinceEpoch()) / 1000.0;
}

void QXUsbInfoManager::startMonitorUSB()
{
    if (!m_observing) {
        m_observing = true;
        auto &center = NotificationCenter::defaultCenter();
        center.addObserver(QString::fromLatin1(qx::notify::kBootUpUSBInsertNotification), this,
                           [this](const QVariant &p) { tarnelUSBConnectDeviceNotification(p); });
        center.addObserver(QString::fromLatin1(qx::notify::kBootUpUSBRemoveNotification), this,
                           [this](const QVariant &p) { tarnelUSBRomveDeviceNotification(p); });
    }
    for (const Pair &pair : watchedPairs())
        watch(pair.vendorId, pair.productId);
}

bool QXUsbInfoManager::ensureWatching()
{
    if (m_watching)
        return true;
    if (!m_watcher) {
        qxLogOnce(QStringLiteral("usb-watcher"), QStringLiteral("no USB bus to watch"));
        return false;
    }
    m_watching = m_watcher->start([this](const UsbDeviceInfo &d) { deviceArrived(d); },
                                  [this](const UsbDeviceInfo &d) { deviceRemoved(d); });
    return m_watching;
}

void QXUsbInfoManager::watch(int vendorId, int productId)
{
    const Pair pair{vendorId < 1 ? kDefaultVendorId : vendorId, productId < 1 ? kDefaultProductId : productId};
    qxDebug("usb") << QStringLiteral("Looking for devices matching vendor ID=%1 and product ID=%2.")
                          .arg(pair.vendorId)
                          .arg(pair.productId);
    // A pair watched twice would announce each of its devices twice.
    for (const Pair &p : std::as_const(m_watched))
        if (p.vendorId == pair.vendorId && p.productId == pair.productId)
            return;
    m_watched.append(pair);
    if (!ensureWatching())
        return;
    for (const UsbDeviceInfo &d : m_watcher->enumerate())
        if (d.vendorId == pair.vendorId && d.productId == pair.productId)
            deviceArrived(d);
}

bool QXUsbInfoManager::isWatched(const UsbDeviceInfo &device) const
{
    for (const Pair &p : m_watched)
        if (p.vendorId == device.vendorId && p.productId == device.productId)
            return true;
    return false;
}

void QXUsbInfoManager::deviceArrived(const UsbDeviceInfo &device)
{
    if (!isWatched(device))
        return;
    qxDebug("usb") << "Device added.";
    m_removalSeen = false;
    qxDebug("usb") << "deviceName:" << device.name;
    const QVariantList ids{int(device.vendorId), int(device.productId)};
    Scheduler::instance().singleShot(
        kAnnounceDelayMs,
        [this, ids] {
            if (!m_removalSeen)
                postNotification(QString::fromLatin1(qx::notify::kBootUpUSBInsertNotification), ids);
        },
        this);
}

void QXUsbInfoManager::deviceRemoved(const UsbDeviceInfo &device)
{
    if (!isWatched(device))
        return;
    qxDebug("usb") << "Device removed.";
    m_removalSeen = true;
    qxDebug("usb") << "deviceName:" << device.name << "path:" << device.path;
    const QVariantList ids{int(device.vendorId), int(device.productId)};
    Scheduler::instance().singleShot(
        kAnnounceDelayMs,
        [ids] { postNotification(QString::fromLatin1(qx::notify::kBootUpUSBRemoveNotification), ids); }, this);
}

void QXUsbInfoManager::storeIds(const QVariant &payload)
{
    const QVariantList ids = payload.toList();
    if (ids.size() < 2)
        return;
    bool vendorOk = false;
    bool productOk = false;
    const int vid = ids[0].toInt(&vendorOk);
    const int pid = ids[1].toInt(&productOk);
    if (!vendorOk || !productOk)
        return;
    m_currentVid = vid;
    m_currentPid = pid;
}

void QXUsbInfoManager::tarnelUSBConnectDeviceNotification(const QVariant &payload)
{
    writeLog(QStringLiteral("接收器插入"));
    storeIds(payload);
}

void QXUsbInfoManager::tarnelUSBRomveDeviceNotification(const QVariant &payload)
{
    writeLog(QStringLiteral("接收器拔出"));
    storeIds(payload);
}
