#include "ApplicationDailyLog.h"
#include "ManualScheduler.h"
#include "PZLog.h"
#include "QXToolManager.h"
#include "TempDataRoot.h"
#include "log/DailyLogWriter.h"
#include "log/LogWorker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

namespace {

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QDateTime utc(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc());
}

const QString kHeader = "hostName:H\nmacAdress:M\nsystemVersion:V\n\n";

class LogWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("TZ", "UTC");
        ::tzset();
    }
    DailyLogWriter::Options options(const QString &folder)
    {
        DailyLogWriter::Options o;
        o.folder = [folder] { return folder; };
        o.clock = &clock;
        o.header = [] { return kHeader; };
        return o;
    }
    TempDataRoot root;
    FixedClock clock{utc(2026, 12, 7, 9, 5, 7)};
};

TEST_F(LogWriter, DailyFileHeaderAndEntries)
{
    const QString folder = root.file(QString::fromUtf8("Log 日志")); // made on first use
    DailyLogWriter writer(options(folder));
    writer.write("abc");
    clock.set(utc(2026, 12, 7, 9, 5, 8));
    writer.write("x");
    writer.write("\n\n"); // only line feeds: kept as they are, without a time
    writer.write("");     // nothing at all
    writer.write(QString::fromUtf8("设备已连接\n"));
    clock.set(utc(2026, 12, 8, 0, 0, 0));
    writer.write("next day");
    writer.waitForPending();

    EXPECT_EQ(readText(folder + "/2026-12-07_log.txt"), kHeader + "\n2026-12-07 09:05:07abc" + "\n2026-12-07 09:05:08x"
                                                            + "\n\n"
                                                            + QString::fromUtf8("\n2026-12-07 09:05:08设备已连接\n"));
    EXPECT_EQ(readText(folder + "/2026-12-08_log.txt"), kHeader + "\n2026-12-08 00:00:00next day");
}

// However much is logged, a day's file stops at its cap with one line saying so, in
// this run and the next; the next day starts afresh.
using GuardDayLog = LogWriter;

TEST_F(GuardDayLog, ADaysFileStopsAtItsCapWithOneLineSayingSo)
{
    DailyLogWriter::Options o = options(root.file("Log"));
    o.maxFileBytes = 400;
    const QString capped = DailyLogWriter::cappedText(400);
    for (int run = 0; run < 2; ++run) {
        DailyLogWriter writer(o);
        for (int i = 0; i < 100; ++i)
            writer.write(QStringLiteral("entry %1").arg(i));
        writer.waitForPending();
    }
    const QString day = readText(root.file("Log/2026-12-07_log.txt"));
    EXPECT_LE(day.toUtf8().size(), 400 + 20 + capped.toUtf8().size());
    EXPECT_TRUE(day.contains("07entry 9\n") && day.endsWith("07" + capped)) << qPrintable(day);
    EXPECT_EQ(day.count(capped), 1);
    clock.set(utc(2026, 12, 8, 0, 0, 0));
    DailyLogWriter next(o);
    next.write("next day");
    next.waitForPending();
    EXPECT_EQ(readText(root.file("Log/2026-12-08_log.txt")), kHeader + "\n2026-12-08 00:00:00next day");
}

TEST_F(LogWriter, EmptyFirstMessageStillMakesTheDaysFile)
{
    DailyLogWriter writer(options(root.file("Log")));
    writer.write("");
    writer.waitForPending();
    EXPECT_EQ(readText(root.file("Log/2026-12-07_log.txt")), kHeader);
}

TEST_F(LogWriter, PlainFileInPlaceOfTheFolderDropsMessagesButTheWriterLives)
{
    QFile blocker(root.file("Log"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("not a folder");
    blocker.close();

    DailyLogWriter writer(options(root.file("Log")));
    writer.write("lost");
    writer.waitForPending();
    EXPECT_EQ(readText(root.file("Log")), "not a folder");

    ASSERT_TRUE(QFile::remove(root.file("Log")));
    writer.write("kept");
    writer.waitForPending();
    EXPECT_EQ(readText(root.file("Log/2026-12-07_log.txt")), kHeader + "\n2026-12-07 09:05:07kept");
}

TEST_F(LogWriter, ConcurrentWritersKeepTheirOrderAndTheBarrierWaitsForAll)
{
    DailyLogWriter writer(options(root.file("Log")));
    constexpr int kThreads = 4;
    constexpr int kEach = 250;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&writer, t] {
            for (int i = 0; i < kEach; ++i)
                writer.write(QStringLiteral("t%1-%2").arg(t).arg(i));
        });
    }
    for (auto &th : threads)
        th.join();
    writer.waitForPending();

    const QString text = readText(root.file("Log/2026-12-07_log.txt"));
    ASSERT_TRUE(text.startsWith(kHeader));
    const QStringList lines = text.mid(kHeader.size()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), kThreads * kEach);
    int next[kThreads] = {};
    static const QRegularExpression entry("^2026-12-07 09:05:07t(\\d)-(\\d+)$");
    for (const QString &line : lines) {
        const auto m = entry.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        const int t = m.captured(1).toInt();
        EXPECT_EQ(m.captured(2).toInt(), next[t]++) << "thread " << t;
    }
}

TEST_F(LogWriter, KitWriteLogReachesTheSharedDailyLog)
{
    ManualScheduler scheduler(utc(2026, 12, 7, 20, 45, 39));
    // Before the logs' start a write goes to the developer log and builds no daily log.
    QXToolManager::writeLog("before the start");
    EXPECT_EQ(DailyLogWriter::application(), nullptr);
    ApplicationDailyLog daily;
    setWriteLogHandler([](const QString &m) { QXToolManager::writeLog(m); });
    writeLog(QString::fromUtf8("蓝牙已连接"));
    QXToolManager::writeLog("second");
    QXToolManager::waitForPendingLogsBeforeTermination();
    setWriteLogHandler(nullptr);

    const QString text = readText(root.file("Log/2026-12-07_log.txt"));
    EXPECT_TRUE(text.startsWith("hostName:")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nmacAdress:"));
    EXPECT_TRUE(text.contains("\nsystemVersion:"));
    EXPECT_TRUE(text.endsWith(QString::fromUtf8("\n2026-12-07 20:45:39蓝牙已连接\n2026-12-07 20:45:39second")))
        << text.toStdString();
}

} // namespace

// An idle process keeps no thread for its logs: each worker thread ends after its idle
// time, and the next job starts another.
TEST(AuditLogWorker, AnIdleWorkerThreadEndsAndTheNextJobStartsAnother)
{
    LogWorker worker;
    for (int round = 0; round < 2; ++round) {
        std::atomic<pid_t> tid{0};
        worker.post([&tid] { tid = pid_t(::syscall(SYS_gettid)); });
        worker.drain();
        ASSERT_NE(tid.load(), 0) << round;
        const QString task = QStringLiteral("/proc/self/task/%1").arg(tid.load());
        const auto deadline = std::chrono::steady_clock::now() + LogWorker::kIdleEnd + std::chrono::seconds(10);
        while (QFileInfo::exists(task) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(QFileInfo::exists(task)) << "the worker thread still runs, round " << round;
    }
}
