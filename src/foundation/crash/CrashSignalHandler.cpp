#include "CrashSignalHandler.h"

#include "CrashReport.h"
#include "DataPaths.h"
#include "QXUncaughtExceptionHandler.h"
#include "log/DailyLogWriter.h"
#include "tools/MachineFacts.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr size_t kPathMax = 4096;

// Filled by install(), read by the handler.
char g_dataRoot[kPathMax];
char g_crashDir[kPathMax];
char g_logDir[kPathMax];
char g_logHeader[2048];
long g_utcOffset = 0; // local time minus UTC, in seconds, as of install()
alignas(16) char g_altStack[64 * 1024];
volatile sig_atomic_t g_busy = 0;

// A fixed-size text builder that never allocates.
struct Buf {
    char data[kPathMax + 256];
    size_t len = 0;
    void add(const char *s)
    {
        while (*s && len + 1 < sizeof data)
            data[len++] = *s++;
        data[len] = '\0';
    }
    void addUnsigned(unsigned long long v, int base = 10, int minDigits = 1)
    {
        char tmp[32];
        int n = 0;
        do {
            tmp[n++] = "0123456789abcdef"[v % base];
            v /= base;
        } while (v && n < 32);
        while (n < minDigits && n < 32)
            tmp[n++] = '0';
        while (n > 0 && len + 1 < sizeof data)
            data[len++] = tmp[--n];
        data[len] = '\0';
    }
};

void writeAll(int fd, const char *s, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, s, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return;
        s += w;
        n -= size_t(w);
    }
}

void writeText(int fd, const char *s)
{
    writeAll(fd, s, std::strlen(s));
}

const char *signalName(int sig)
{
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGILL:
        return "SIGILL";
    case SIGFPE:
        return "SIGFPE";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

void copyPath(char *dst, const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const size_t n = std::min(size_t(native.size()), kPathMax - 1);
    std::memcpy(dst, native.constData(), n);
    dst[n] = '\0';
}

// Opens <crash dir>/<stamp>[_n]_crash.txt without replacing an earlier report.
int openCrashFile(const char *stamp)
{
    for (int clash = 0; clash < 100; ++clash) {
        Buf path;
        path.add(g_crashDir);
        path.add("/");
        path.add(stamp);
        if (clash > 0) {
            path.add("_");
            path.addUnsigned(unsigned(clash));
        }
        path.add("_crash.txt");
        const int fd = ::open(path.data, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

int openDailyLog(const char *date)
{
    Buf path;
    path.add(g_logDir);
    path.add("/");
    path.add(date);
    path.add("_log.txt");
    int fd = ::open(path.data, O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT)
        return fd;
    ::mkdir(g_logDir, 0700);
    fd = ::open(path.data, O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        writeText(fd, g_logHeader);
    return fd;
}

// The process ends as the signal would have ended it, so the exit status names the signal
// and a core can be written.
[[noreturn]] void endByDefaultAction(int sig)
{
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(sig);
    ::_exit(128 + sig); // not reached: none of the handled signals is ignored by default
}

void onFatalSignal(int sig, siginfo_t *info, void *)
{
    if (g_busy) // a fault inside the handler: end at once
        endByDefaultAction(sig);
    g_busy = 1;

    // An abort that follows a written exception report is the same crash.
    const bool alreadyReported = sig == SIGABRT && QXUncaughtExceptionHandler::hasWrittenReport();
    if (!alreadyReported) {
        void *frames[64];
        const int n = ::backtrace(frames, 64);

        const CrashSignalHandler::CivilTime t = CrashSignalHandler::civilFromEpoch(::time(nullptr) + g_utcOffset);
        char crashStamp[20];
        char logStamp[20];
        CrashSignalHandler::formatCrashStamp(t, crashStamp);
        CrashSignalHandler::formatLogStamp(t, logStamp);

        Buf reason;
        reason.add("signal ");
        reason.addUnsigned(unsigned(sig));
        reason.add(" (");
        reason.add(signalName(sig));
        reason.add(")");
        if (info && info->si_code <= 0) {
            reason.add(" sent by process ");
            reason.addUnsigned(static_cast<unsigned long long>(info->si_pid));
        } else if (info) {
            reason.add(" at address 0x");
            reason.addUnsigned(reinterpret_cast<unsigned long long>(info->si_addr), 16);
        }

        ::mkdir(g_dataRoot, 0700);
        ::mkdir(g_crashDir, 0700);
        const int report = openCrashFile(crashStamp);
        if (report >= 0) {
            writeText(report, "crash报告\nname:");
            writeText(report, signalName(sig));
            writeText(report, "\nreason:\n");
            writeText(report, reason.data);
            writeText(report, "\ncallStackSymbols:\n");
            ::backtrace_symbols_fd(frames, n, report);
            ::close(report);
        }

        logStamp[10] = '\0'; // the date alone names the day's file
        const int log = openDailyLog(logStamp);
        logStamp[10] = ' ';
        if (log >= 0) {
            writeText(log, "\n");
            writeText(log, logStamp);
            writeText(log, "奔溃了------\n");
            ::backtrace_symbols_fd(frames, n, log);
            ::close(log);
        }

        writeText(STDERR_FILENO, "奔溃了------ ");
        writeText(STDERR_FILENO, reason.data);
        writeText(STDERR_FILENO, "\n");
        ::backtrace_symbols_fd(frames, n, STDERR_FILENO);
    }

    endByDefaultAction(sig);
}

} // namespace

namespace CrashSignalHandler {

CivilTime civilFromEpoch(long long seconds)
{
    // Days to civil date (proleptic Gregorian), valid for any day count.
    long long days = seconds / 86400;
    long long rem = seconds % 86400;
    if (rem < 0) {
        rem += 86400;
        --days;
    }
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = int(doy - (153 * mp + 2) / 5 + 1);
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    const int year = int(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day, int(rem / 3600), int(rem % 3600 / 60), int(rem % 60)};
}

namespace {
void put2(char *p, int v)
{
    p[0] = char('0' + v / 10 % 10);
    p[1] = char('0' + v % 10);
}
// "YYYY-MM-DD", then the hour, minute and second, each after its separator.
void putStamp(char out[20], const CivilTime &t, const char separators[3])
{
    const int y = t.year < 0 ? 0 : t.year % 10000;
    out[0] = char('0' + y / 1000);
    out[1] = char('0' + y / 100 % 10);
    put2(out + 2, y % 100);
    out[4] = '-';
    put2(out + 5, t.month);
    out[7] = '-';
    put2(out + 8, t.day);
    out[10] = separators[0];
    put2(out + 11, t.hour);
    out[13] = separators[1];
    put2(out + 14, t.minute);
    out[16] = separators[2];
    put2(out + 17, t.second);
    out[19] = '\0';
}
} // namespace

void formatCrashStamp(const CivilTime &t, char out[20])
{
    putStamp(out, t, "--_");
}

void formatLogStamp(const CivilTime &t, char out[20])
{
    putStamp(out, t, " ::");
}

void install()
{
    copyPath(g_dataRoot, DataPaths::dataRoot());
    copyPath(g_crashDir, CrashReport::folder());
    copyPath(g_logDir, DataPaths::getFilePath(QStringLiteral("/Log")));
    const QByteArray header =
        DailyLogWriter::headerText(MachineFacts::hostName(), MachineFacts::macAddressFromSysfs("/sys/class/net"),
                                   MachineFacts::systemVersion())
            .toUtf8();
    const size_t n = std::min(size_t(header.size()), sizeof g_logHeader - 1);
    std::memcpy(g_logHeader, header.constData(), n);
    g_logHeader[n] = '\0';
    // The handler cannot consult the time zone database; this offset is right until the
    // next daylight-saving change.
    g_utcOffset = QDateTime::currentDateTime().offsetFromUtc();

    // Load the stack walker now; its first use may allocate.
    void *warm[1];
    ::backtrace(warm, 1);

    // A stack overflow leaves no stack to run the handler on.
    stack_t ss{};
    ss.ss_sp = g_altStack;
    ss.ss_size = sizeof g_altStack;
    ::sigaltstack(&ss, nullptr);

    struct sigaction sa {};
    sa.sa_sigaction = onFatalSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    for (int sig : kSignals)
        ::sigaction(sig, &sa, nullptr);
}

} // namespace CrashSignalHandler
