#pragma once

#include "FakeHidBackend.h"

#include <QList>

class SimulatedReceiver;

// The HID backend that tests hand to the transport: the in-process FakeHidBackend, with
// simulated receivers plugged into it. Every report written to a receiver's interface
// is also handed to that receiver, so it can answer like the real device family.
class SimulatedHidBus final : public platform::IHidBackend {
public:
    FakeHidBackend &fake() { return m_fake; }
    const FakeHidBackend &fake() const { return m_fake; }

    // IHidBackend
    QList<platform::HidDeviceInfo> enumerate(const QList<platform::HidMatch> &matches) override
    {
        return m_fake.enumerate(matches);
    }
    bool startWatching(const QList<platform::HidMatch> &matches, DeviceCallback arrived,
                       DeviceCallback removed) override
    {
        return m_fake.startWatching(matches, std::move(arrived), std::move(removed));
    }
    void stopWatching() override { m_fake.stopWatching(); }
    platform::HidResult open(const QString &path) override { return m_fake.open(path); }
    bool isOpen(const QString &path) const override { return m_fake.isOpen(path); }
    platform::HidResult writeReport(const QString &path, const QByteArray &report) override;
    void setInputCallback(InputCallback callback) override { m_fake.setInputCallback(std::move(callback)); }
    void close(const QString &path) override { m_fake.close(path); }

private:
    friend class SimulatedReceiver;
    void attach(SimulatedReceiver *receiver) { m_receivers.append(receiver); }
    void detach(SimulatedReceiver *receiver) { m_receivers.removeAll(receiver); }

    FakeHidBackend m_fake;
    QList<SimulatedReceiver *> m_receivers;
};
