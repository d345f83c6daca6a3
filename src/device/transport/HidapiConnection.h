#pragma once

#include "platform/HidapiShim.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// An open hidapi device with its reading thread. Feature-report reads block until the
// device answers, so they run on the reading thread, which hands every result to the
// main thread. Writes run on the caller's thread; one mutex keeps the two from using
// the device at the same time.
//
// close() (also run by the destructor) stops and joins the reading thread and then
// closes the device; a result still on its way to the main thread is dropped, so no
// handler runs after close() returns. Main thread only, except for the reading thread.
class HidapiConnection {
public:
    using ReportHandler = std::function<void(int result, const QByteArray &report)>;

    explicit HidapiConnection(std::unique_ptr<platform::HidapiDevice> device);
    ~HidapiConnection();
    HidapiConnection(const HidapiConnection &) = delete;
    HidapiConnection &operator=(const HidapiConnection &) = delete;

    // Reads feature report reportId into a zero-filled buffer of length bytes on the
    // reading thread; the handler gets the library's result (bytes read or -1) and the
    // whole buffer on the main thread. Ignored after close().
    void requestFeatureReport(quint8 reportId, int length, ReportHandler handler);

    // Writes the first length bytes of data (zero-padded when data is shorter).
    // Returns the bytes written or -1; on failure error holds the library's text.
    int write(const QByteArray &data, int length, QString *error = nullptr);
    int setNonblocking(bool nonblocking);

    void close();
    bool isOpen() const { return m_open; }

private:
    struct Request {
        quint8 reportId;
        int length;
        ReportHandler handler;
    };
    void run();

    std::unique_ptr<platform::HidapiDevice> m_device; // guarded by m_deviceMutex
    std::mutex m_deviceMutex;

    std::mutex m_queueMutex;
    std::condition_variable m_wake;
    std::deque<Request> m_requests; // guarded by m_queueMutex
    bool m_stop = false;            // guarded by m_queueMutex

    // Read and written on the main thread only; results posted before close() see false.
    std::shared_ptr<bool> m_deliver = std::make_shared<bool>(true);
    bool m_open = true;
    std::thread m_thread;
};
