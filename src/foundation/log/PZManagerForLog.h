#pragma once

#include <QString>

#include <memory>

namespace spdlog {
class logger;
}

// The developer logs: a shared logger named "Default" that writes every line to the
// console (stderr, which the journal picks up) and to rotating files under
// <caches>/PZLogs/<name> (the cache folder is already the application's own). Lines are
// written asynchronously on the log worker (LogWorker), with the daily log's entries.
class PZManagerForLog {
public:
    static constexpr int kMaximumNumberOfLogFiles = 200;
    static constexpr qint64 kLogFilesDiskQuota = 20971520; // 20 MiB
    static constexpr qint64 kMaximumFileSize = 1024 * 1024;

    // Start-up, before anything else logs: Qt's messages (qxInfo, qxWarning, ...) go to the
    // shared logger, and the daily log (DailyLogWriter) starts and takes writeLog().
    // Runs once.
    static void load();
    // Writes what is queued, then sends Qt's messages back to stderr. For the end of main().
    static void shutdown();

    // The shared logger, made on first use; it announces itself with a banner.
    static std::shared_ptr<spdlog::logger> sharedDDLog();
    // Null for an empty name, the shared logger for "Default", otherwise a new logger
    // writing to its own folder (every call makes a new one).
    static std::shared_ptr<spdlog::logger> createADDLogWithName(const QString &name);

    static QString rootLogDirectory();
    static QString defaultLogDirectory();
    static QString logDirectoryWithName(const QString &name); // "" for an empty name

    // Returns once every line logged before the call is written and flushed.
    static void flush();
    // The file a logger made here writes to; empty when it has none.
    static QString logFilePath(const std::shared_ptr<spdlog::logger> &logger);

    // The banner a new logger writes first. The shared logger's keeps its historical spelling.
    static QString bannerText(const QString &appId, const QString &shortVersion, const QString &buildVersion,
                              const QString &name, const QString &folder);

private:
    static std::shared_ptr<spdlog::logger> configDDLog(const QString &name);
};
