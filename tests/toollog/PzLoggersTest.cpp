#include "TempDataRoot.h"
#include "log/PZConsoleLogFormatter.h"
#include "log/PZFileLogFormatter.h"
#include "log/PZManagerForLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/spdlog.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

namespace {

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

spdlog::details::log_msg message(spdlog::level::level_enum level, const char *file = "/src/net/Foo.cpp")
{
    // 2026-12-07 09:05:07.123 UTC
    const auto time = spdlog::log_clock::time_point(std::chrono::milliseconds(1796634307123LL));
    return spdlog::details::log_msg(time, spdlog::source_loc{file, 42, "bar"}, "Default", level, "boom");
}

std::string format(spdlog::formatter &f, const spdlog::details::log_msg &m)
{
    spdlog::memory_buf_t buf;
    f.format(m, buf);
    return std::string(buf.data(), buf.size());
}

QString fileOf(const std::shared_ptr<spdlog::logger> &logger)
{
    return PZManagerForLog::logFilePath(logger);
}

TEST(PzLoggers, FileAndConsoleLines)
{
    qputenv("TZ", "UTC");
    ::tzset();
    PZFileLogFormatter file;
    PZConsoleLogFormatter console;
    EXPECT_EQ(format(file, message(spdlog::level::err)),
              "[2026-12-07 09:05:07.123 \u25CF Foo.cpp \u25CF 42 \u25CF \u274C] bar \u25CF boom\n");
    EXPECT_EQ(format(console, message(spdlog::level::err)), "[Foo.cpp \u25CF 42 \u25CF \u274C] bar \u25CF boom\n");

    struct Row {
        spdlog::level::level_enum level;
        const char *mark;
    };
    for (const Row r : {Row{spdlog::level::warn, "W"}, Row{spdlog::level::info, "I"}, Row{spdlog::level::debug, "D"},
                        Row{spdlog::level::trace, "V"}}) {
        EXPECT_EQ(format(console, message(r.level)),
                  std::string("[Foo.cpp \u25CF 42 \u25CF ") + r.mark + "] bar \u25CF boom\n");
    }

    // No source location (a message from a library built without one).
    auto bare = message(spdlog::level::info, nullptr);
    bare.source = {};
    EXPECT_EQ(format(console, bare), "[ \u25CF 0 \u25CF I]  \u25CF boom\n");

    // The cached second must not leak into the next second's stamp.
    EXPECT_EQ(file.stringFromDate(spdlog::log_clock::time_point(std::chrono::milliseconds(1796634307999LL))),
              "2026-12-07 09:05:07.999");
    EXPECT_EQ(file.stringFromDate(spdlog::log_clock::time_point(std::chrono::milliseconds(1796634308000LL))),
              "2026-12-07 09:05:08.000");
}

TEST(PzLoggers, Banners)
{
    EXPECT_EQ(PZManagerForLog::bannerText("app", "1.2", "34", "Default", "/c/PZLogs/Default"),
              QString::fromUtf8(
                  "\n=========>\n🚀 app(1.2)[34] 启动 PZLog(Defalut)...\n\n日志文件夹:\n/c/PZLogs/Default\n<========="));
    EXPECT_EQ(
        PZManagerForLog::bannerText("app", "1.2", "34", "Net", "/c/PZLogs/Net"),
        QString::fromUtf8("\n=========>\n🚀 app(1.2)[34] 启动 PZLog(Net)...\n\n日志文件夹:\n/c/PZLogs/Net\n<========="));
}

TEST(PzLoggers, NamedLoggersWriteToTheirOwnFolder)
{
    TempDataRoot root;
    const QString root1 = PZManagerForLog::rootLogDirectory();
    EXPECT_TRUE(root1.startsWith(root.path() + "/Caches/")) << root1.toStdString();
    EXPECT_TRUE(root1.endsWith("/PZLogs"));
    EXPECT_EQ(PZManagerForLog::logDirectoryWithName(""), "");
    EXPECT_EQ(PZManagerForLog::defaultLogDirectory(), root1 + "/Default");

    EXPECT_EQ(PZManagerForLog::createADDLogWithName(""), nullptr);
    auto a = PZManagerForLog::createADDLogWithName(QString::fromUtf8("网络"));
    auto b = PZManagerForLog::createADDLogWithName(QString::fromUtf8("网络"));
    ASSERT_TRUE(a);
    EXPECT_NE(a, b) << "every call makes a new logger";
    const QString path = fileOf(a);
    EXPECT_TRUE(path.startsWith(root1 + QString::fromUtf8("/网络/"))) << path.toStdString();

    SPDLOG_LOGGER_WARN(a, "disk {}", "slow");
    SPDLOG_LOGGER_DEBUG(a, "not produced");
    a->debug("not produced either");
    PZManagerForLog::flush();

    const QString text = readText(path);
    EXPECT_TRUE(text.contains(QString::fromUtf8("启动 PZLog(网络)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("\u25CF PzLoggersTest.cpp \u25CF "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("\u25CF W] ")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("\u25CF disk slow\n")));
    EXPECT_FALSE(text.contains("not produced"));
}

TEST(PzLoggers, QtMessagesGoThroughTheSharedLogger)
{
    TempDataRoot root;
    PZManagerForLog::load();
    auto shared = PZManagerForLog::sharedDDLog();
    EXPECT_EQ(PZManagerForLog::createADDLogWithName("Default"), shared);
    EXPECT_EQ(shared->name(), "Default");
    const QString path = fileOf(shared);
    ASSERT_FALSE(path.isEmpty());

    qInfo().noquote() << "[hid] opened" << QString::fromUtf8("接收器");
    qWarning("careful");
    qDebug("hidden");
    PZManagerForLog::flush();

    const QString text = readText(path);
    EXPECT_TRUE(text.contains("PZLog(Defalut)")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(" \u25CF I] ")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("[hid] opened 接收器\n")));
    EXPECT_TRUE(text.contains(QString::fromUtf8(" \u25CF W] ")));
    EXPECT_TRUE(text.contains("careful\n"));
    EXPECT_FALSE(text.contains("hidden"));
    // Qt's own message context names this file and function.
    EXPECT_TRUE(text.contains(QString::fromUtf8("\u25CF PzLoggersTest.cpp \u25CF "))) << text.toStdString();
}

} // namespace
