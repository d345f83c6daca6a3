#pragma once

#include "platform/IUsbWatcher.h"

// USB bus for tests: the test plugs and unplugs devices; events are reported at once
// while started.
class FakeUsbWatcher final : public platform::IUsbWatcher {
public:
    void plug(const platform::UsbDeviceInfo &device)
    {
        m_devices.append(device);
        if (m_started && m_arrived)
            m_arrived(device);
    }
    void unplug(const QString &path)
    {
        for (qsizetype i = 0; i < m_devices.size(); ++i) {
            if (m_devices[i].path != path)
                continue;
            const platform::UsbDeviceInfo device = m_devices.takeAt(i);
            if (m_started && m_removed)
                m_removed(device);
            return;
        }
    }
    int startCount() const { return m_startCount; }
    int enumerateCount() const { return m_enumerateCount; }

    QList<platform::UsbDeviceInfo> enumerate() override
    {
        ++m_enumerateCount;
        return m_devices;
    }
    bool start(DeviceCallback arrived, DeviceCallback removed) override
    {
        ++m_startCount;
        m_started = true;
        m_arrived = std::move(arrived);
        m_removed = std::move(removed);
        return true;
    }
    void stop() override
    {
        m_started = false;
        m_arrived = nullptr;
        m_removed = nullptr;
    }

private:
    QList<platform::UsbDeviceInfo> m_devices;
    bool m_started = false;
    int m_startCount = 0;
    int m_enumerateCount = 0;
    DeviceCallback m_arrived;
    DeviceCallback m_removed;
};
