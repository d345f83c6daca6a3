#pragma once

#include "platform/IUsbWatcher.h"

#include <QList>
#include <QObject>
#include <QVariant>

// Watches the USB bus, below the HID layer, for the maker's receivers by vendor and
// product id. A watched device's arrival is announced 1 s later as
// "kBootUpUSBInsertNotification" (unless any watched device was removed meanwhile),
// its removal 1 s later as "kBootUpUSBRemoveNotification"; the payload is the
// (vendor id, product id) pair as a QVariantList. The manager itself observes both
// and remembers the ids of the last one.
class QXUsbInfoManager final : public QObject {
public:
    static constexpr int kDefaultVendorId = 0xB75C;
    static constexpr int kDefaultProductId = 0x92CD;
    static constexpr int kAnnounceDelayMs = 1000;

    struct Pair {
        int vendorId;
        int productId;
    };
    // The watched receivers, in the order their watches are set up.
    static QList<Pair> watchedPairs();

    explicit QXUsbInfoManager(QObject *parent = nullptr);
    ~QXUsbInfoManager() override;

    // The bus to watch (not owned; the composition root or a test supplies it).
    void setWatcher(platform::IUsbWatcher *watcher) { m_watcher = watcher; }

    // Observes the two notifications and watches every pair of watchedPairs().
    void startMonitorUSB();
    // Watches one pair; a value below 1 stands for the default vendor or product.
    // Devices of the pair already present are handled as arrivals.
    void watch(int vendorId, int productId);

    // The notification handlers: log and remember the ids of the payload.
    void tarnelUSBConnectDeviceNotification(const QVariant &payload);
    void tarnelUSBRomveDeviceNotification(const QVariant &payload);

    int currentVid() const { return m_currentVid; }
    int currentPid() const { return m_currentPid; }

    // Seconds since 1970, and the difference of two such times.
    static double getNowTime();
    static double getTimeByNowTime(double nowTime, double lastTime) { return nowTime - lastTime; }

private:
    bool isWatched(const platform::UsbDeviceInfo &device) const;
    bool ensureWatching();
    void deviceArrived(const platform::UsbDeviceInfo &device);
    void deviceRemoved(const platform::UsbDeviceInfo &device);
    void storeIds(const QVariant &payload);

    platform::IUsbWatcher *m_watcher = nullptr;
    QList<Pair> m_watched;
    bool m_observing = false;
    bool m_watching = false;
    // One flag for all watched devices: any removal cancels every pending insert
    // announcement, any arrival clears it.
    bool m_removalSeen = false;
    int m_currentVid = 0;
    int m_currentPid = 0;
};
