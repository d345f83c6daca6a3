#include "QXUncaughtExceptionHandler.h"

#include "CrashReport.h"
#include "Scheduler.h"

#include <QStringList>

#include <atomic>
#include <cstdlib>
#include <cxxabi.h>
#include <execinfo.h>

namespace {

std::atomic<const Clock *> g_clock{nullptr};
std::atomic<bool> g_written{false};
std::atomic<bool> g_inHandler{false};
std::atomic<std::terminate_handler> g_previous{nullptr};

QString demangle(const char *mangled)
{
    if (!mangled)
        return QStringLiteral("unknown");
    int status = 0;
    char *plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    const QString out = QString::fromUtf8(status == 0 && plain ? plain : mangled);
    std::free(plain);
    return out;
}

QStringList currentFrames()
{
    void *frames[64];
    const int n = ::backtrace(frames, 64);
    QStringList out;
    char **symbols = ::backtrace_symbols(frames, n);
    if (!symbols)
        return out;
    for (int i = 0; i < n; ++i)
        out << QString::fromLocal8Bit(symbols[i]);
    std::free(symbols);
    return out;
}

} // namespace

void QXUncaughtExceptionHandler::setDefaultHandler()
{
    // Prepare the stack walker now: loading it inside a crash could allocate.
    void *warm[1];
    ::backtrace(warm, 1);
    const std::terminate_handler before = std::set_terminate(uncaught_exception_handler);
    if (before != uncaught_exception_handler)
        g_previous = before;
}

std::terminate_handler QXUncaughtExceptionHandler::getHandler()
{
    return std::get_terminate();
}

void QXUncaughtExceptionHandler::setClock(const Clock *clock)
{
    g_clock = clock;
}

QXUncaughtExceptionHandler::ExceptionFacts QXUncaughtExceptionHandler::describeCurrentException()
{
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return {QStringLiteral("std::terminate"), QStringLiteral("terminate called without an active exception")};
    ExceptionFacts facts;
    const std::type_info *type = abi::__cxa_current_exception_type();
    facts.name = demangle(type ? type->name() : nullptr);
    try {
        std::rethrow_exception(current);
    } catch (const std::exception &e) {
        facts.reason = QString::fromUtf8(e.what());
    } catch (...) {
    }
    return facts;
}

QString QXUncaughtExceptionHandler::writeReportForCurrentException()
{
    const ExceptionFacts facts = describeCurrentException();
    const Clock *clock = g_clock.load();
    const QDateTime now = clock ? clock->now() : Scheduler::instance().clock().now();
    const QString path = CrashReport::write(CrashReport::folder(), now,
                                            CrashReport::reportText(facts.name, facts.reason, currentFrames()));
    if (!path.isEmpty())
        g_written = true;
    return path;
}

bool QXUncaughtExceptionHandler::runGuarded(const std::function<bool()> &fn)
{
    try {
        return fn();
    } catch (...) {
        // Inside the catch block the exception is still the current one.
        std::terminate();
    }
}

bool QXUncaughtExceptionHandler::hasWrittenReport()
{
    return g_written.load(std::memory_order_relaxed);
}

void uncaught_exception_handler()
{
    if (!g_inHandler.exchange(true)) {
        try {
            QXUncaughtExceptionHandler::writeReportForCurrentException();
        } catch (...) {
        }
    }
    if (const std::terminate_handler previous = g_previous.load())
        previous(); // the C++ runtime's: prints the exception, then aborts
    std::abort();
}
