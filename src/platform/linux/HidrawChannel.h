#pragma once

#include "platform/IHidBackend.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

namespace platform::linuxbackend {

// The bytes to write() to a hidraw node for one output report. hidraw takes byte 0 as
// the report number and strips it when it is 0, so a report starting with 0x00 gets
// one more 0x00 in front: the device then receives the whole report, byte 0 included,
// exactly as given. An empty report gives an empty frame (nothing to send).
QByteArray hidrawWriteFrame(const QByteArray &report);

// One open hidraw node: non-blocking reads driven by a QSocketNotifier on the main
// thread, one input report per read(). Owns the file descriptor.
class HidrawChannel final : public QObject {
public:
    using ReportCallback = std::function<void(const QByteArray &report)>;
    // The node failed for good (unplugged: ENODEV/EIO, or end of file); reading stopped.
    using FailureCallback = std::function<void(int sysErrno)>;

    // The largest report hidraw hands out.
    static constexpr int kMaxReport = 16384;

    // Opens path read-write and non-blocking. On failure returns the error and -1.
    static HidResult openNode(const QString &path, int *fd);

    // Takes over fd (any non-blocking descriptor that delivers one report per read).
    HidrawChannel(int fd, QString path, ReportCallback onReport, FailureCallback onFailure);
    ~HidrawChannel() override;

    HidResult write(const QByteArray &report);
    // Stops reading and closes the descriptor; safe from inside a callback.
    void shutdown();
    bool isOpen() const { return m_fd >= 0; }
    const QString &path() const { return m_path; }

private:
    void readAvailable();

    int m_fd = -1;
    QString m_path;
    QSocketNotifier *m_notifier = nullptr;
    ReportCallback m_onReport;
    FailureCallback m_onFailure;
};

// Maps an errno of open/read/write on a hidraw node to the backend's error kind.
HidError hidErrorFromErrno(int sysErrno);

} // namespace platform::linuxbackend
