#pragma once

#include <QString>

#include <exception>
#include <functional>

class Clock;

// Leaves a crash report in <data root>/Crash when an exception escapes to the top
// (std::terminate), then lets the process end as it would have.
class QXUncaughtExceptionHandler {
public:
    // Installs uncaught_exception_handler as the terminate handler (the one found before
    // it still runs afterwards). Idempotent.
    static void setDefaultHandler();
    static std::terminate_handler getHandler();

    // Time of the report's file name. Null: the scheduler's clock.
    static void setClock(const Clock *clock);

    struct ExceptionFacts {
        QString name;   // the exception's type, demangled
        QString reason; // what() of a std::exception, else ""
    };
    // The exception in flight (inside a catch block or a terminate handler).
    static ExceptionFacts describeCurrentException();

    // Writes the report for the exception in flight; the path, or "" on failure.
    static QString writeReportForCurrentException();

    // Runs fn; an exception escaping it is reported and ends the process. For event
    // dispatch, where an exception must not unwind through the toolkit.
    static bool runGuarded(const std::function<bool()> &fn);

    // True once a report was written; the fatal-signal path reads it to not write the
    // abort that follows as a second crash. Async-signal-safe.
    static bool hasWrittenReport();
};

// The terminate handler.
void uncaught_exception_handler();
