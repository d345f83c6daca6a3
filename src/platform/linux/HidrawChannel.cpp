#include "HidrawChannel.h"

#include "PZLog.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform::linuxbackend {

QByteArray hidrawWriteFrame(const QByteArray &report)
{
    if (report.isEmpty())
        return {};
    if (report.at(0) == '\0')
        return QByteArray(1, '\0') + report;
    return report;
}

HidError hidErrorFromErrno(int e)
{
    switch (e) {
    case 0:
        return HidError::None;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return HidError::NoDevice;
    case EACCES:
    case EPERM:
        return HidError::AccessDenied;
    default:
        return HidError::Io;
    }
}

HidResult HidrawChannel::openNode(const QString &path, int *fd)
{
    *fd = -1;
    const QByteArray native = path.toLocal8Bit();
    int f;
    do {
        f = ::open(native.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (f < 0 && errno == EINTR);
    if (f < 0) {
        const int e = errno;
        return {hidErrorFromErrno(e), e};
    }
    *fd = f;
    return {};
}

HidrawChannel::HidrawChannel(int fd, QString path, ReportCallback onReport, FailureCallback onFailure)
    : m_fd(fd), m_path(std::move(path)), m_onReport(std::move(onReport)), m_onFailure(std::move(onFailure))
{
    m_notifier = new QSocketNotifier(qintptr(m_fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { readAvailable(); });
}

HidrawChannel::~HidrawChannel()
{
    shutdown();
}

void HidrawChannel::shutdown()
{
    if (m_fd < 0)
        return;
    m_notifier->setEnabled(false);
    ::close(m_fd);
    m_fd = -1;
}

HidResult HidrawChannel::write(const QByteArray &report)
{
    if (m_fd < 0)
        return {HidError::NotOpen, EBADF};
    const QByteArray frame = hidrawWriteFrame(report);
    if (frame.isEmpty())
        return {HidError::Io, EINVAL};
    ssize_t n;
    do {
        n = ::write(m_fd, frame.constData(), size_t(frame.size()));
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int e = errno;
        return {hidErrorFromErrno(e), e};
    }
    // A report goes out whole or not at all; anything shorter is a failure, not a
    // partial success.
    if (n != frame.size())
        return {HidError::Io, EIO};
    return {};
}

void HidrawChannel::readAvailable()
{
    // A bounded number of reports per wake-up keeps a chatty device from starving the
    // event loop; the notifier fires again for the rest.
    static constexpr int kReportsPerWakeUp = 64;
    char buffer[kMaxReport];
    for (int k = 0; k < kReportsPerWakeUp && m_fd >= 0; ++k) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            if (m_onReport)
                m_onReport(QByteArray(buffer, qsizetype(n)));
            continue; // the callback may have shut us down; the loop condition checks
        }
        const int e = n == 0 ? 0 : errno;
        if (n < 0 && e == EINTR)
            continue;
        if (n < 0 && (e == EAGAIN || e == EWOULDBLOCK))
            return;
        // End of file or a hard error: the node is gone (unplugged) or broken. Stop
        // reading so a dead descriptor does not wake the loop forever.
        qxInfo("hid") << "reading" << m_path << "stopped:"
                      << (n == 0 ? QStringLiteral("end of file") : QString::fromLocal8Bit(std::strerror(e)));
        shutdown();
        if (m_onFailure)
            m_onFailure(n == 0 ? ENODEV : e);
        return;
    }
}

} // namespace platform::linuxbackend
