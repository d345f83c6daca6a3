#include "HidapiConnection.h"

#include "MainThread.h"

#include <algorithm>

HidapiConnection::HidapiConnection(std::unique_ptr<platform::HidapiDevice> device)
    : m_device(std::move(device)), m_thread([this] { run(); })
{
}

HidapiConnection::~HidapiConnection()
{
    close();
}

void HidapiConnection::requestFeatureReport(quint8 reportId, int length, ReportHandler handler)
{
    if (!m_open || length <= 0)
        return;
    {
        std::lock_guard lock(m_queueMutex);
        m_requests.push_back(Request{reportId, length, std::move(handler)});
    }
    m_wake.notify_one();
}

int HidapiConnection::write(const QByteArray &data, int length, QString *error)
{
    if (!m_open || length <= 0)
        return -1;
    QByteArray buffer = data.left(length);
    if (buffer.size() < length)
        buffer.append(QByteArray(length - buffer.size(), '\0'));
    std::lock_guard lock(m_deviceMutex);
    const int written = m_device->write(reinterpret_cast<const unsigned char *>(buffer.constData()), size_t(length));
    if (written < 0 && error)
        *error = m_device->error();
    return written;
}

int HidapiConnection::setNonblocking(bool nonblocking)
{
    if (!m_open)
        return -1;
    std::lock_guard lock(m_deviceMutex);
    return m_device->setNonblocking(nonblocking);
}

void HidapiConnection::close()
{
    if (!m_open)
        return;
    m_open = false;
    *m_deliver = false;
    {
        std::lock_guard lock(m_queueMutex);
        m_stop = true;
        m_requests.clear();
    }
    m_wake.notify_one();
    // A read in progress cannot be interrupted; joining waits for it to return.
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(m_deviceMutex);
    m_device.reset();
}

void HidapiConnection::run()
{
    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_queueMutex);
            m_wake.wait(lock, [this] { return m_stop || !m_requests.empty(); });
            if (m_stop)
                return;
            request = std::move(m_requests.front());
            m_requests.pop_front();
        }
        QByteArray report(request.length, '\0');
        report[0] = char(request.reportId);
        int result;
        {
            std::lock_guard lock(m_deviceMutex);
            result =
                m_device->getFeatureReport(reinterpret_cast<unsigned char *>(report.data()), size_t(request.length));
        }
        postToMainThread([deliver = m_deliver, handler = std::move(request.handler), result, report] {
            if (*deliver)
                handler(result, report);
        });
    }
}
