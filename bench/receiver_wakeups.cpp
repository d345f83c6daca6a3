// Wake-ups of the companion while a simulated receiver (umockdev, a plan-2 receiver
// with its connection poll) is plugged in. Run under libumockdev-preload:
//   LD_PRELOAD=libumockdev-preload.so.0 receiver_wakeups <quorvex-companion> [seconds]
// Prints one line of key=value figures: reports the application wrote per second,
// our scheduler's timer callbacks per second (SIGUSR1 counter) and the process's
// context switches per second (all threads, from /proc).
//
//   LD_PRELOAD=libumockdev-preload.so.0 receiver_wakeups --serve <quorvex-companion>
// is the receiver of bench/window_cost.py: the application starts with this process's
// environment and output; "pid <n>" comes first. A "plug" line on stdin plugs the
// receiver in, whose mouse then answers every connection poll and the information
// request; "plugged" says it is in. The end of stdin ends the application (SIGTERM).
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
#include <unistd.h>

namespace {

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

QByteArray report64(const char *hex)
{
    return QByteArray::fromHex(hex).leftJustified(64, '\0');
}

// The mouse's information: serial, ids, LED, microphone, sensor, DPI, model, battery, firmware.
QByteArray infoReport()
{
    QByteArray info = QByteArray::fromHex("0d5a4d6100");
    info += QByteArray("QXBENCH001").leftJustified(30, '\0');
    info += QByteArray::fromHex("ab22513101000102054d") + QByteArray("V1.2.3");
    return info.leftJustified(64, '\0');
}

// Reads what the application wrote and answers as the mouse does: the connection poll
// with "the mouse is there", and with `info` the information request too. Returns the
// reports read.
int answerReports(int fd, QByteArray &pending, bool info)
{
    char buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0)
        pending.append(buf, qsizetype(n));
    int reports = 0;
    for (; pending.size() >= 64; pending.remove(0, 64), ++reports) {
        const QByteArray report = pending.left(64);
        QByteArray answer;
        if (report.startsWith(QByteArray::fromHex("0da54d04694c")))
            answer = report64("0d5a4d690000");
        else if (info && report.startsWith(QByteArray::fromHex("0da54d04614c")))
            answer = infoReport();
        if (!answer.isEmpty() && ::write(fd, answer.constData(), size_t(answer.size())) < 0)
            std::fprintf(stderr, "receiver_wakeups: the device side cannot write\n");
    }
    return reports;
}

int serve(const char *program)
{
    UMockdevTestbed *bed = umockdev_testbed_new();
    QProcess app;
    app.setProcessChannelMode(QProcess::ForwardedChannels);
    app.start(QString::fromLocal8Bit(program), {});
    if (!app.waitForStarted(10000)) {
        std::fprintf(stderr, "cannot start %s\n", program);
        return 1;
    }
    std::printf("pid %lld\n", qlonglong(app.processId()));
    std::fflush(stdout);
    int fd = -1;
    QByteArray pending, commands;
    for (;;) {
        pollfd p[2] = {{STDIN_FILENO, POLLIN, 0}, {fd, POLLIN, 0}};
        ::poll(p, fd < 0 ? 1 : 2, 50);
        QCoreApplication::processEvents();
        if (app.state() != QProcess::Running)
            break;
        if (p[0].revents) {
            char buf[256];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0)
                break;
            commands.append(buf, qsizetype(n));
            if (commands.contains("plug\n") && fd < 0) {
                fd = bench::plugInReceiver(bed);
                std::printf("plugged\n");
                std::fflush(stdout);
            }
        }
        if (fd >= 0 && (p[1].revents & POLLIN))
            answerReports(fd, pending, true);
    }
    if (app.state() == QProcess::Running) {
        ::kill(pid_t(app.processId()), SIGTERM);
        if (!app.waitForFinished(15000))
            app.kill();
    }
    g_object_unref(bed);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication qapp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <quorvex-companion> [seconds] | --serve <quorvex-companion>\n", argv[0]);
        return 2;
    }
    if (QByteArray(argv[1]) == "--serve")
        return argc > 2 ? serve(argv[2]) : 2;
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

    const int fd = bench::plugInReceiver(bed);

    // Runs the device side for ms milliseconds: reads what is written, answers every
    // connection poll with "the mouse is there", counts the reports.
    QByteArray pending;
    auto serve = [&](qint64 ms) {
        int reports = 0;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0)
                reports += answerReports(fd, pending, false);
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
