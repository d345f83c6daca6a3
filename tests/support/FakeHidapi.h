#pragma once

#include "platform/HidapiShim.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// A simulated hidapi library with one kind of device. Tests script what the library
// lists, how opens go and what feature reports answer, and read back the writes and
// the order of calls. Feature reads come from the transport's reading thread, so all
// state sits behind one mutex; use the accessors from the test.
//
// Unlike the real library, enumerate() returns the scripted list whatever ids are
// asked for, so tests can offer interfaces of other devices.
class FakeHidapi : public platform::HidapiShim {
public:
    FakeHidapi();
    ~FakeHidapi() override;

    // --- script ---------------------------------------------------------------------
    void setInitResult(int result);
    void setDevices(std::vector<platform::HidapiDeviceInfo> devices);
    // The next `count` opens fail (-1: every open fails).
    void setOpenFailures(int count);
    // Answers of the next feature reads, in order: the bytes (report number first)
    // or nullopt for a failed read. When none is queued, reads answer idleReport.
    void queueFeatureReport(std::optional<QByteArray> report);
    void setIdleReport(std::optional<QByteArray> report);
    void setWriteFails(bool fails);
    // While blocked, feature reads wait (like a device that does not answer) until released.
    void blockReads(bool block);
    // Waits (real time, bounded) until a read is waiting at the block.
    bool waitForBlockedRead(int timeoutMs = 2000);

    // --- record ---------------------------------------------------------------------
    int initCount() const;
    int exitCount() const;
    int openCount() const;
    int readCount() const;
    std::vector<int> readLengths() const;
    // Every write, cut to the length written.
    std::vector<QByteArray> writes() const;
    void clearWrites();
    // "init", "open <path>", "read", "read-done", "write", "close", "exit" in call order.
    QStringList events() const;
    bool deviceOpen() const;

    // --- HidapiShim -------------------------------------------------------------------
    int init() override;
    int exit() override;
    std::vector<platform::HidapiDeviceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    std::unique_ptr<platform::HidapiDevice> openPath(const QByteArray &path) override;
    QString lastError() override;

    struct State;

private:
    std::shared_ptr<State> m_state;
};

// An interface entry for the script.
platform::HidapiDeviceInfo hidapiInterface(quint16 vid, quint16 pid, quint16 usagePage, quint16 usage,
                                           const QByteArray &path, const QString &serial = QString());
