#include "PZManagerForLog.h"

#include "DailyLogWriter.h"
#include "DataPaths.h"
#include "LogWorker.h"
#include "PZConsoleLogFormatter.h"
#include "PZFileLogFormatter.h"
#include "PZLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <spdlog/details/log_msg_buffer.h>
#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <sys/stat.h>

namespace {

// Made once and never destroyed: Qt may still report something while static objects of
// other libraries are torn down at exit, and the worker must outlive every logger.
struct State {
    std::mutex mutex;
    std::shared_ptr<spdlog::sinks::sink> console;
    std::shared_ptr<spdlog::logger> shared;
    std::atomic<bool> shutDown{false};
    std::once_flag loadOnce;
};
State &st()
{
    static State *s = new State;
    return *s;
}
// Set while this thread builds a logger: anything Qt reports meanwhile goes straight to stderr.
thread_local bool t_building = false;

std::shared_ptr<spdlog::sinks::sink> consoleLocked()
{
    if (!st().console) {
        st().console = std::make_shared<spdlog::sinks::stderr_sink_mt>();
        st().console->set_formatter(std::make_unique<PZConsoleLogFormatter>());
    }
    return st().console;
}

QString appId()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("quorvex-companion") : name;
}

QString appVersion()
{
    const QString v = QCoreApplication::applicationVersion();
    return v.isEmpty() ? QStringLiteral("0") : v;
}

// The loggers' one sink: it copies each line and has the log worker hand it to the
// real sinks (the file, then the console) and flush them, so the caller never waits
// for the disk and the logs share one thread that ends when idle.
class WorkerSink final : public spdlog::sinks::sink {
public:
    explicit WorkerSink(std::vector<spdlog::sink_ptr> sinks)
        : m_sinks(std::make_shared<std::vector<spdlog::sink_ptr>>(std::move(sinks)))
    {
    }
    void log(const spdlog::details::log_msg &msg) override
    {
        LogWorker::shared().post([sinks = m_sinks, line = spdlog::details::log_msg_buffer(msg)] {
            for (const spdlog::sink_ptr &sink : *sinks) {
                sink->log(line);
                sink->flush();
            }
        });
    }
    void flush() override {} // every line is flushed as it is written
    void set_pattern(const std::string &) override {}
    void set_formatter(std::unique_ptr<spdlog::formatter>) override {}
    const std::vector<spdlog::sink_ptr> &sinks() const { return *m_sinks; }

private:
    std::shared_ptr<const std::vector<spdlog::sink_ptr>> m_sinks;
};

spdlog::level::level_enum levelFor(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return spdlog::level::debug;
    case QtInfoMsg:
        return spdlog::level::info;
    case QtWarningMsg:
        return spdlog::level::warn;
    case QtCriticalMsg:
    case QtFatalMsg:
        return spdlog::level::err;
    }
    return spdlog::level::info;
}

void qtMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray text = message.toUtf8();
    if (t_building || st().shutDown.load()) {
        std::fprintf(stderr, "%s\n", text.constData());
        return;
    }
    const std::shared_ptr<spdlog::logger> logger = PZManagerForLog::sharedDDLog();
    // File and function names are literals of the caller, so the worker may read them later.
    logger->log(spdlog::source_loc{context.file, context.line, context.function}, levelFor(type), "{}",
                std::string_view(text.constData(), size_t(text.size())));
    if (type == QtFatalMsg) {
        // The process aborts next: the line must not wait in the queue.
        std::fprintf(stderr, "%s\n", text.constData());
        PZManagerForLog::flush();
    }
}

} // namespace

void PZManagerForLog::load()
{
    std::call_once(st().loadOnce, [] {
        {
            std::lock_guard lock(st().mutex);
            consoleLocked();
        }
        st().shutDown = false;
        qInstallMessageHandler(qtMessageHandler);
        // The daily log is never destroyed: lines may come from any thread up to the end.
        DailyLogWriter *daily = new DailyLogWriter();
        DailyLogWriter::setApplication(daily);
        setWriteLogHandler([daily](const QString &message) { daily->write(message); });
    });
}

void PZManagerForLog::shutdown()
{
    flush();
    qInstallMessageHandler(nullptr);
    st().shutDown = true;
}

std::shared_ptr<spdlog::logger> PZManagerForLog::sharedDDLog()
{
    {
        std::lock_guard lock(st().mutex);
        if (st().shared)
            return st().shared;
    }
    std::shared_ptr<spdlog::logger> made = configDDLog(QStringLiteral("Default"));
    {
        std::lock_guard lock(st().mutex);
        if (st().shared) // another thread was quicker
            return st().shared;
        st().shared = made;
    }
    SPDLOG_LOGGER_INFO(made, "{}",
                       bannerText(appId(), appVersion(), appVersion(), QStringLiteral("Default"), defaultLogDirectory())
                           .toStdString());
    return made;
}

std::shared_ptr<spdlog::logger> PZManagerForLog::createADDLogWithName(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    if (name == QLatin1String("Default"))
        return sharedDDLog();
    std::shared_ptr<spdlog::logger> made = configDDLog(name);
    SPDLOG_LOGGER_INFO(made, "{}",
                       bannerText(appId(), appVersion(), appVersion(), name, logDirectoryWithName(name)).toStdString());
    return made;
}

std::shared_ptr<spdlog::logger> PZManagerForLog::configDDLog(const QString &name)
{
    t_building = true;
    const QString folder = logDirectoryWithName(name);
    std::vector<spdlog::sink_ptr> sinks;
    {
        std::lock_guard lock(st().mutex);
        sinks.push_back(consoleLocked());
    }
    try {
        DataPaths::ensureDir(folder);
        // Files of kMaximumFileSize each; the current one plus the rolled ones fill the quota,
        // well inside the file-count limit.
        constexpr size_t rolled = size_t(kLogFilesDiskQuota / kMaximumFileSize) - 1;
        static_assert(rolled + 1 <= size_t(kMaximumNumberOfLogFiles));
        // The lines name devices, accounts and folders: every file is the owner's alone.
        spdlog::file_event_handlers ownerOnly;
        ownerOnly.after_open = [](const spdlog::filename_t &, std::FILE *f) { ::fchmod(::fileno(f), 0600); };
        auto file = std::make_shared<spdlog::sinks::rotating_file_sink_mt>(
            QFile::encodeName(folder + u'/' + appId() + QStringLiteral(".log")).toStdString(), size_t(kMaximumFileSize),
            rolled, false, ownerOnly);
        file->set_formatter(std::make_unique<PZFileLogFormatter>());
        // The file first: once a line shows on the console it is in the file too.
        sinks.insert(sinks.begin(), file);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "log files unavailable in %s: %s\n", QFile::encodeName(folder).constData(), e.what());
    }
    auto logger = std::make_shared<spdlog::logger>(name.toStdString(), std::make_shared<WorkerSink>(std::move(sinks)));
    logger->set_level(spdlog::level::info);
    t_building = false;
    return logger;
}

QString PZManagerForLog::rootLogDirectory()
{
    // The cache folder is the application's own already.
    return DataPaths::cacheRoot() + QStringLiteral("/PZLogs");
}

QString PZManagerForLog::defaultLogDirectory()
{
    return logDirectoryWithName(QStringLiteral("Default"));
}

QString PZManagerForLog::logDirectoryWithName(const QString &name)
{
    if (name.isEmpty())
        return {};
    return rootLogDirectory() + u'/' + name;
}

QString PZManagerForLog::logFilePath(const std::shared_ptr<spdlog::logger> &logger)
{
    for (const spdlog::sink_ptr &sink : logger ? logger->sinks() : std::vector<spdlog::sink_ptr>{})
        if (auto worker = std::dynamic_pointer_cast<WorkerSink>(sink))
            for (const spdlog::sink_ptr &inner : worker->sinks())
                if (auto file = std::dynamic_pointer_cast<spdlog::sinks::rotating_file_sink_mt>(inner))
                    return QFile::decodeName(QByteArray::fromStdString(file->filename()));
    return {};
}

void PZManagerForLog::flush()
{
    LogWorker::shared().drain();
}

QString PZManagerForLog::bannerText(const QString &appId, const QString &shortVersion, const QString &buildVersion,
                                    const QString &name, const QString &folder)
{
    const QString shown = name == QLatin1String("Default") ? QStringLiteral("Defalut") : name;
    return QStringLiteral("\n=========>\n\U0001F680 %1(%2)[%3] 启动 PZLog(%4)...\n\n日志文件夹:\n%5\n<=========")
        .arg(appId, shortVersion, buildVersion, shown, folder);
}
