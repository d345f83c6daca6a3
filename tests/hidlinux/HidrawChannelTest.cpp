// The hidraw data path over a SOCK_SEQPACKET socket pair, which keeps report
// boundaries as a hidraw node does: write framing, the read loop on the event loop,
// EAGAIN, end of file, and a consumer that closes the node from its callback.
#include "platform/linux/HidrawChannel.h"
#include "platform/linux/LinuxHidBackend.h"

#include "PZLog.h"
#include "RunUntilIdle.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

using namespace platform;
using namespace platform::linuxbackend;

namespace {

struct Pair {
    int mine = -1; // handed to the channel
    int peer = -1; // the "device"
    Pair()
    {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) == 0) {
            mine = fds[0];
            peer = fds[1];
        }
    }
    ~Pair()
    {
        if (peer >= 0)
            ::close(peer);
    }
    void send(const QByteArray &b) const { ASSERT_EQ(::write(peer, b.constData(), size_t(b.size())), b.size()); }
    QByteArray receive() const
    {
        char buf[256];
        const ssize_t n = ::read(peer, buf, sizeof buf);
        return n > 0 ? QByteArray(buf, qsizetype(n)) : QByteArray();
    }
};

} // namespace

TEST(HidrawFraming, LeadingZeroReportGetsOneMoreZero)
{
    struct Row {
        const char *what;
        QByteArray report;
        QByteArray frame;
    } rows[] = {
        {"numbered report goes as is", QByteArray::fromHex("0d14000000"), QByteArray::fromHex("0d14000000")},
        {"short command", QByteArray::fromHex("1ba5f10000"), QByteArray::fromHex("1ba5f10000")},
        {"zero report keeps its zero", QByteArray::fromHex("000201") + QByteArray(21, '\0'),
         QByteArray::fromHex("00000201") + QByteArray(21, '\0')},
        {"single zero byte", QByteArray(1, '\0'), QByteArray(2, '\0')},
        {"empty report sends nothing", QByteArray(), QByteArray()},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(hidrawWriteFrame(r.report).toHex(), r.frame.toHex());
    }
}

TEST(HidrawChannel, WritesReachTheDeviceFramed)
{
    Pair pair;
    ASSERT_GE(pair.mine, 0);
    HidrawChannel channel(pair.mine, QStringLiteral("pair"), nullptr, nullptr);

    EXPECT_TRUE(channel.write(QByteArray::fromHex("0d14")).ok());
    EXPECT_EQ(pair.receive().toHex(), QByteArray("0d14"));
    // 24-byte plan-3 frame: the device must see 24 bytes starting 00 02 01.
    const QByteArray openMic = QByteArray::fromHex("000201") + QByteArray(21, '\0');
    EXPECT_TRUE(channel.write(openMic).ok());
    EXPECT_EQ(pair.receive().toHex(), (QByteArray(1, '\0') + openMic).toHex());

    const HidResult empty = channel.write({});
    EXPECT_EQ(empty.error, HidError::Io);
    EXPECT_EQ(empty.sysErrno, EINVAL);

    // A device that stops taking reports: the failure is reported, never a success.
    HidResult full;
    for (int i = 0; i < 100000 && full.ok(); ++i)
        full = channel.write(QByteArray(64, '\x0d'));
    EXPECT_EQ(full.error, HidError::Io);
    EXPECT_EQ(full.sysErrno, EAGAIN);

    channel.shutdown();
    EXPECT_EQ(channel.write(QByteArray::fromHex("0d")).error, HidError::NotOpen);
}

TEST(HidrawChannel, ReadLoopDeliversEachReportAndSurvivesEagainAndEof)
{
    Pair pair;
    ASSERT_GE(pair.mine, 0);
    QList<QByteArray> reports;
    QList<int> failures;
    HidrawChannel channel(
        pair.mine, QStringLiteral("pair"), [&](const QByteArray &r) { reports.append(r); },
        [&](int e) { failures.append(e); });

    pair.send(QByteArray::fromHex("0d0164012a"));
    pair.send(QByteArray::fromHex("1c"));
    pair.send(QByteArray::fromHex("a5") + QByteArray(60, '\x11'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.size() == 3; }, 5000));
    EXPECT_EQ(reports[0].toHex(), QByteArray("0d0164012a"));
    EXPECT_EQ(reports[1].toHex(), QByteArray("1c")); // a one-byte report stays one byte
    EXPECT_EQ(reports[2].size(), 61);
    // Drained to EAGAIN: still open, nothing failed.
    EXPECT_TRUE(channel.isOpen());
    EXPECT_TRUE(failures.isEmpty());

    // The device goes away: reading stops once, the descriptor is released.
    ::close(pair.peer);
    pair.peer = -1;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, 5000));
    runUntilIdle();
    EXPECT_EQ(failures.size(), 1);
    EXPECT_FALSE(channel.isOpen());
}

TEST(HidrawChannel, ConsumerMayCloseFromItsCallback)
{
    Pair pair;
    ASSERT_GE(pair.mine, 0);
    int delivered = 0;
    HidrawChannel *channel = nullptr;
    channel = new HidrawChannel(
        pair.mine, QStringLiteral("pair"),
        [&](const QByteArray &) {
            ++delivered;
            channel->shutdown();
            channel->deleteLater();
        },
        nullptr);
    pair.send(QByteArray::fromHex("0d01"));
    pair.send(QByteArray::fromHex("0d02"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered > 0; }, 5000));
    runUntilIdle();
    EXPECT_EQ(delivered, 1);
}

TEST(LinuxHidBackend, OpenFailuresAreReportedAndLoggedOnce)
{
    LinuxHidBackend backend;
    const QString gone = QStringLiteral("/nonexistent/hidraw99");
    // A device that vanished between enumeration and open, retried as the transport does.
    for (int i = 0; i < 21; ++i) {
        const HidResult r = backend.open(gone);
        EXPECT_EQ(r.error, HidError::NoDevice);
        EXPECT_EQ(r.sysErrno, ENOENT);
    }
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("hidraw-open:%1:%2").arg(gone).arg(ENOENT)));
    EXPECT_FALSE(backend.isOpen(gone));
    EXPECT_EQ(backend.writeReport(gone, QByteArray::fromHex("0d")).error, HidError::NotOpen);
    backend.close(gone); // nothing open: no effect

    EXPECT_EQ(hidErrorFromErrno(EACCES), HidError::AccessDenied);
    EXPECT_EQ(hidErrorFromErrno(EPERM), HidError::AccessDenied);
    EXPECT_EQ(hidErrorFromErrno(ENODEV), HidError::NoDevice);
    EXPECT_EQ(hidErrorFromErrno(ENXIO), HidError::NoDevice);
    EXPECT_EQ(hidErrorFromErrno(EIO), HidError::Io);
}
