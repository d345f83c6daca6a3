#pragma once

#include "platform/IMicrophone.h"

#include <memory>

class QAudioSource;
class QIODevice;

namespace platform::linuxbackend {

// The default input through Qt Multimedia (PulseAudio underneath), in push mode.
// Statuses are QAudio::Error values.
class QtMicrophone final : public IMicrophone {
public:
    QtMicrophone();
    ~QtMicrophone() override;

    int open() override;
    int start(DataFn data, FailFn failed) override;
    int close(QByteArray &rest) override;

private:
    void release();

    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_io = nullptr;
    DataFn m_data;
    FailFn m_failed;
};

} // namespace platform::linuxbackend
