#pragma once

#include "platform/IHidBackend.h"

#include <QHash>
#include <QList>
#include <QSet>

// In-process HID backend for tests. Devices are added and removed by the test; arrivals
// and removals are reported at once (synchronously) while watching. Writes are recorded
// with the scheduler's virtual time; input reports are pushed by the test and reach the
// input callback only for open interfaces, as on a real system.
class FakeHidBackend final : public platform::IHidBackend {
public:
    struct Write {
        QString path;
        QByteArray report;
        qint64 atMs = 0; // Scheduler::instance().clock().monotonicMs() when written
    };

    // The system: devices come and go.
    void addDevice(const platform::HidDeviceInfo &info);
    void removeDevice(const QString &path);
    // Delivers an input report; false when the interface is not open (dropped).
    bool pushInput(const QString &path, const QByteArray &report);

    // Failure injection: every open of the path fails with the error (None clears).
    void setOpenError(const QString &path, platform::HidError error);
    void setWriteError(const QString &path, platform::HidError error);

    // What the code under test did.
    const QList<Write> &writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }
    int openAttempts(const QString &path) const { return m_openAttempts.value(path); }
    int closeCount(const QString &path) const { return m_closeCount.value(path); }
    bool watching() const { return m_watching; }
    QList<platform::HidMatch> watchedMatches() const { return m_matches; }

    // IHidBackend
    QList<platform::HidDeviceInfo> enumerate(const QList<platform::HidMatch> &matches) override;
    bool startWatching(const QList<platform::HidMatch> &matches, DeviceCallback arrived,
                       DeviceCallback removed) override;
    void stopWatching() override;
    platform::HidResult open(const QString &path) override;
    bool isOpen(const QString &path) const override { return m_open.contains(path); }
    platform::HidResult writeReport(const QString &path, const QByteArray &report) override;
    void setInputCallback(InputCallback callback) override { m_input = std::move(callback); }
    void close(const QString &path) override;

private:
    static bool matches(const QList<platform::HidMatch> &matches, const platform::HidDeviceInfo &info);
    const platform::HidDeviceInfo *find(const QString &path) const;

    QList<platform::HidDeviceInfo> m_devices;
    QSet<QString> m_open;
    QHash<QString, platform::HidError> m_openErrors;
    QHash<QString, platform::HidError> m_writeErrors;
    QHash<QString, int> m_openAttempts;
    QHash<QString, int> m_closeCount;
    QList<Write> m_writes;
    bool m_watching = false;
    QList<platform::HidMatch> m_matches;
    DeviceCallback m_arrived;
    DeviceCallback m_removed;
    InputCallback m_input;
};
