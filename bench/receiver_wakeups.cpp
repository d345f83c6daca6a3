// Wake-ups of the companion while a simulated receiver (umockdev, a plan-2 receiver
// with its connection poll) is plugged in. Run under libumockdev-preload:
//   LD_PRELOAD=libumockdev-preload.so.0 receiver_wakeups <quorvex-companion> [seconds]
// Prints one line of key=value figures: reports the application wrote per second,
// our scheduler's timer callbacks per second (SIGUSR1 counter) and the process's
// context switches per second (all threads, from /proc).
#include "SimReceiver.h"

#include <umockdev.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using bench::kHidraw;
using bench::kReceiver;

QByteArray g_output;

bool waitForOutput(QProcess &p, const QRegularExpression &re, int timeoutMs, QRegularExpressionMatch *m = nullptr,
                   qsizetype from = 0)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        p.waitForReadyRead(50);
        g_output += p.readAll();
        const auto match = re.match(QString::fromUtf8(g_output.mid(from)));
        if (match.hasMatch()) {
            if (m)
                *m = match;
            return true;
        }
    }
    return false;
}

qint64 firedCount(QProcess &p)
{
    const qsizetype from = g_output.size();
    ::kill(pid_t(p.processId()), SIGUSR1);
    QRegularExpressionMatch m;
    if (!waitForOutput(p, QRegularExpression(QStringLiteral("timers fired: (\\d+)")), 5000, &m, from))
        return -1;
    return m.captured(1).toLongLong();
}

qint64 contextSwitches(qint64 pid)
{
    qint64 sum = 0;
    for (const QString &task :
         QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(QStringLiteral("/proc/%1/task/%2/status").arg(pid).arg(task));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : f.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches") || line.startsWith("nonvoluntary_ctxt_switches"))
                sum += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return sum;
}

// User and system CPU seconds, and the resident set in KiB.
double cpuSeconds(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = f.readAll().split(')').last().trimmed().split(' ');
    return double(fields.value(11).toLongLong() + fields.value(12).toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}
qint64 rssKib(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication qapp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <quorvex-companion> [seconds]\n", argv[0]);
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    UMockdevTestbed *bed = umockdev_testbed_new();
    QTemporaryDir root;
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QX_DATA_DIR"), root.path());
    // The self-test probes the weather host and the second API host at launch.
    for (const char *var : {"QX_API_BASE", "QX_API2_BASE", "QX_WEB_BASE", "QX_WEATHER_BASE"})
        env.insert(QString::fromLatin1(var), QStringLiteral("http://127.0.0.1:9"));
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(QProcess::MergedChannels);
    app.start(QString::fromLocal8Bit(argv[1]), {});
    if (!waitForOutput(app, QRegularExpression(QStringLiteral("event loop running")), 20000)) {
        std::fprintf(stderr, "the application did not start:\n%s\n", g_output.constData());
        return 1;
    }

    umockdev_testbed_add_from_string(bed, kReceiver, nullptr);
    const int slave = ::open("/dev/hidraw0", O_RDWR | O_NOCTTY);
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::close(slave);
    const int fd = umockdev_testbed_get_dev_fd(bed, "/dev/hidraw0");
    umockdev_testbed_uevent(bed, kHidraw, "add");

    // Runs the device side for ms milliseconds: reads what is written, answers every
    // connection poll with "the mouse is there", counts the reports.
    QByteArray pending;
    auto serve = [&](qint64 ms) {
        int reports = 0;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char buf[512];
                const ssize_t n = ::read(fd, buf, sizeof buf);
                if (n > 0)
                    pending.append(buf, qsizetype(n));
            }
            while (pending.size() >= 64) {
                const QByteArray report = pending.left(64);
                pending.remove(0, 64);
                ++reports;
                if (report.startsWith(QByteArray::fromHex("0da54d04694c"))) {
                    QByteArray present = QByteArray::fromHex("0d5a4d690000");
                    present.append(QByteArray(64 - present.size(), '\0'));
                    [[maybe_unused]] auto w = ::write(fd, present.constData(), size_t(present.size()));
                }
            }
            app.readAll();
        }
        return reports;
    };

    serve(10000); // the first requests after the open, and the RSS 10 s on
    const qint64 rss = rssKib(app.processId());
    const qint64 fired0 = firedCount(app);
    const qint64 ctx0 = contextSwitches(app.processId());
    const double cpu0 = cpuSeconds(app.processId());
    const int reports = serve(qint64(seconds) * 1000);
    const qint64 fired1 = firedCount(app);
    const qint64 ctx1 = contextSwitches(app.processId());
    const double cpu1 = cpuSeconds(app.processId());

    std::printf("seconds=%d reports_per_s=%.3f our_timer_callbacks_per_s=%.3f context_switches_per_s=%.2f "
                "cpu_s=%.3f rss_kib=%lld\n",
                seconds, double(reports) / seconds, double(fired1 - fired0) / seconds, double(ctx1 - ctx0) / seconds,
                cpu1 - cpu0, qlonglong(rss));
    ::kill(pid_t(app.processId()), SIGTERM);
    app.waitForFinished(10000);
    g_object_unref(bed);
    return 0;
}
