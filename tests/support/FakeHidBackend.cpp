#include "FakeHidBackend.h"

#include "Scheduler.h"

#include <cerrno>

using platform::HidDeviceInfo;
using platform::HidError;
using platform::HidMatch;
using platform::HidResult;

bool FakeHidBackend::matches(const QList<HidMatch> &list, const HidDeviceInfo &info)
{
    if (list.isEmpty())
        return true;
    return list.contains(HidMatch{info.vendorId, info.productId});
}

const HidDeviceInfo *FakeHidBackend::find(const QString &path) const
{
    for (const HidDeviceInfo &d : m_devices)
        if (d.path == path)
            return &d;
    return nullptr;
}

void FakeHidBackend::addDevice(const HidDeviceInfo &info)
{
    removeDevice(info.path);
    m_devices.append(info);
    if (m_watching && matches(m_matches, info) && m_arrived) {
        auto cb = m_arrived; // the callback may replace the watch
        cb(info);
    }
}

void FakeHidBackend::removeDevice(const QString &path)
{
    const HidDeviceInfo *found = find(path);
    if (!found)
        return;
    const HidDeviceInfo info = *found;
    m_devices.removeIf([&](const HidDeviceInfo &d) { return d.path == path; });
    m_open.remove(path); // the system drops the handle with the device
    if (m_watching && matches(m_matches, info) && m_removed) {
        auto cb = m_removed;
        cb(info);
    }
}

bool FakeHidBackend::pushInput(const QString &path, const QByteArray &report)
{
    if (!m_open.contains(path) || !m_input)
        return false;
    auto cb = m_input;
    cb(path, report);
    return true;
}

void FakeHidBackend::setOpenError(const QString &path, HidError error)
{
    if (error == HidError::None)
        m_openErrors.remove(path);
    else
        m_openErrors.insert(path, error);
}

void FakeHidBackend::setWriteError(const QString &path, HidError error)
{
    if (error == HidError::None)
        m_writeErrors.remove(path);
    else
        m_writeErrors.insert(path, error);
}

QList<HidDeviceInfo> FakeHidBackend::enumerate(const QList<HidMatch> &list)
{
    QList<HidDeviceInfo> out;
    for (const HidDeviceInfo &d : m_devices)
        if (matches(list, d))
            out.append(d);
    return out;
}

bool FakeHidBackend::startWatching(const QList<HidMatch> &list, DeviceCallback arrived, DeviceCallback removed)
{
    m_watching = true;
    m_matches = list;
    m_arrived = std::move(arrived);
    m_removed = std::move(removed);
    return true;
}

void FakeHidBackend::stopWatching()
{
    m_watching = false;
    m_arrived = nullptr;
    m_removed = nullptr;
}

HidResult FakeHidBackend::open(const QString &path)
{
    ++m_openAttempts[path];
    if (!find(path))
        return {HidError::NoDevice, ENODEV};
    if (const auto it = m_openErrors.constFind(path); it != m_openErrors.constEnd())
        return {*it, *it == HidError::AccessDenied ? EACCES : EIO};
    m_open.insert(path);
    return {};
}

HidResult FakeHidBackend::writeReport(const QString &path, const QByteArray &report)
{
    if (!find(path))
        return {HidError::NoDevice, ENODEV};
    if (!m_open.contains(path))
        return {HidError::NotOpen, EBADF};
    if (const auto it = m_writeErrors.constFind(path); it != m_writeErrors.constEnd())
        return {*it, EIO};
    m_writes.append({path, report, Scheduler::instance().clock().monotonicMs()});
    return {};
}

void FakeHidBackend::close(const QString &path)
{
    if (m_open.remove(path))
        ++m_closeCount[path];
}
