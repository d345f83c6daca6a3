#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace platform {

// The system's default audio input, read as 16 kHz mono signed 16-bit little-endian
// PCM. Main thread only. Statuses are 0 for success, otherwise the backend's error code.
class IMicrophone {
public:
    using DataFn = std::function<void(const QByteArray &pcm)>;
    using FailFn = std::function<void(const QString &reason)>;

    virtual ~IMicrophone() = default;

    // Opens the default input device as it is now.
    virtual int open() = 0;
    // Starts reading: data gets the PCM as it comes, in pieces of any size, from the
    // event loop; failed is called once when the input breaks off while reading.
    virtual int start(DataFn data, FailFn failed) = 0;
    // Stops at once and releases the device; the bytes read but not yet handed to
    // data are appended to rest. Nothing is called after close.
    virtual int close(QByteArray &rest) = 0;
};

} // namespace platform
