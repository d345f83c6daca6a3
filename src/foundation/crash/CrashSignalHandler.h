#pragma once

#include <cstddef>
#include <ctime>

// Fatal signals (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT) leave a crash report in
// <data root>/Crash, a line in the daily log and the frames on stderr. Everything the
// handler needs (paths, the log header, the time zone offset) is prepared by install(),
// so the handler itself only makes async-signal-safe calls.
namespace CrashSignalHandler {

// Installs (or re-prepares, e.g. after the data root moved) the handlers.
void install();

// Pieces of the handler, exposed for tests. All async-signal-safe.
struct CivilTime {
    int year, month, day, hour, minute, second;
};
CivilTime civilFromEpoch(long long seconds);
// Writes "yyyy-MM-dd-HH-mm_ss" (19 characters and a NUL) into out.
void formatCrashStamp(const CivilTime &t, char out[20]);
// Writes "yyyy-MM-dd HH:mm:ss" (19 characters and a NUL) into out.
void formatLogStamp(const CivilTime &t, char out[20]);

} // namespace CrashSignalHandler
