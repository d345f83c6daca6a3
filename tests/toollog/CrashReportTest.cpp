#include "crash/CrashReport.h"
#include "ManualScheduler.h"
#include "TempDataRoot.h"
#include "crash/CrashSignalHandler.h"
#include "crash/QXUncaughtExceptionHandler.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <stdexcept>
#include <sys/resource.h>

namespace {

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList reports(const TempDataRoot &root)
{
    return QDir(root.file("Crash")).entryList(QDir::Files, QDir::Name);
}

const QDateTime kCrashTime = QDateTime::fromSecsSinceEpoch(1796676339, QTimeZone::utc());

class CrashReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("TZ", "UTC");
        ::tzset();
        // The child is a fork of this process, so it sees the same temporary data root.
        GTEST_FLAG_SET(death_test_style, "fast");
    }
    TempDataRoot root;
};

[[noreturn]] void throwOutOfRangeImpl()
{
    throw std::out_of_range("idx 5");
}
[[noreturn]] void throwIntImpl()
{
    throw 42;
}
// The exception leaves a function that promised not to throw: the runtime terminates.
void throwOutOfRange() noexcept
{
    throwOutOfRangeImpl();
}
void throwInt() noexcept
{
    throwIntImpl();
}

TEST(CrashReport, TextAndFileNames)
{
    qputenv("TZ", "UTC");
    ::tzset();
    EXPECT_EQ(CrashReport::reportText("std::out_of_range", "idx 5", {"f0", "f1"}),
              QString::fromUtf8("crash报告\nname:std::out_of_range\nreason:\nidx 5\ncallStackSymbols:\nf0\nf1"));
    EXPECT_EQ(CrashReport::fileName(kCrashTime), "2026-12-07-20-45_39_crash.txt");
    EXPECT_EQ(CrashReport::fileName(kCrashTime, 2), "2026-12-07-20-45_39_2_crash.txt");
}

TEST_F(CrashReportTest, SameSecondKeepsBothReports)
{
    const QString dir = root.file(QString::fromUtf8("崩溃/Crash"));
    const QString first = CrashReport::write(dir, kCrashTime, "one");
    const QString second = CrashReport::write(dir, kCrashTime, "two");
    EXPECT_EQ(first, dir + "/2026-12-07-20-45_39_crash.txt");
    EXPECT_EQ(second, dir + "/2026-12-07-20-45_39_1_crash.txt");
    EXPECT_EQ(readText(first), "one");
    EXPECT_EQ(readText(second), "two");

    QFile blocker(root.file("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(CrashReport::write(root.file("blocked/Crash"), kCrashTime, "lost"), "");
}

TEST_F(CrashReportTest, UncaughtExceptionWritesTheReportThenAborts)
{
    FixedClock clock(kCrashTime);
    QXUncaughtExceptionHandler::setClock(&clock);
    EXPECT_DEATH(
        {
            CrashSignalHandler::install(); // the abort that follows must not add a second report
            QXUncaughtExceptionHandler::setDefaultHandler();
            throwOutOfRange();
        },
        "out_of_range");
    QXUncaughtExceptionHandler::setClock(nullptr);

    ASSERT_EQ(reports(root), QStringList{"2026-12-07-20-45_39_crash.txt"});
    const QString text = readText(root.file("Crash/2026-12-07-20-45_39_crash.txt"));
    const QString head = QString::fromUtf8("crash报告\nname:std::out_of_range\nreason:\nidx 5\ncallStackSymbols:\n");
    ASSERT_TRUE(text.startsWith(head)) << text.toStdString();
    EXPECT_GE(text.mid(head.size()).split(u'\n').size(), 3) << "one frame per line";
}

TEST_F(CrashReportTest, ThrownNonExceptionIsNamedByItsType)
{
    FixedClock clock(kCrashTime);
    QXUncaughtExceptionHandler::setClock(&clock);
    EXPECT_DEATH(
        {
            QXUncaughtExceptionHandler::setDefaultHandler();
            throwInt();
        },
        "");
    QXUncaughtExceptionHandler::setClock(nullptr);
    const QString text = readText(root.file("Crash/2026-12-07-20-45_39_crash.txt"));
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("crash报告\nname:int\nreason:\n\ncallStackSymbols:\n")))
        << text.toStdString();
}

TEST_F(CrashReportTest, ExceptionOutOfAnEventHandlerIsReported)
{
    FixedClock clock(kCrashTime);
    QXUncaughtExceptionHandler::setClock(&clock);
    EXPECT_DEATH(
        {
            QXUncaughtExceptionHandler::setDefaultHandler();
            QXUncaughtExceptionHandler::runGuarded([]() -> bool { throw std::runtime_error("slot failed"); });
        },
        "");
    QXUncaughtExceptionHandler::setClock(nullptr);
    const QString text = readText(root.file("Crash/2026-12-07-20-45_39_crash.txt"));
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("crash报告\nname:std::runtime_error\nreason:\nslot failed\n")))
        << text.toStdString();

    EXPECT_TRUE(QXUncaughtExceptionHandler::runGuarded([] { return true; }));
}

TEST_F(CrashReportTest, SegmentationFaultWritesReportAndDailyLogLineAndEndsByTheSignal)
{
    EXPECT_EXIT(
        {
            const rlimit noCore{}; // the default action may dump a core: not here
            ::setrlimit(RLIMIT_CORE, &noCore);
            CrashSignalHandler::install();
            std::raise(SIGSEGV);
        },
        ::testing::KilledBySignal(SIGSEGV), "奔溃了------");

    const QStringList names = reports(root);
    ASSERT_EQ(names.size(), 1);
    EXPECT_TRUE(names.first().endsWith("_crash.txt"));
    const QString text = readText(root.file("Crash/" + names.first()));
    EXPECT_TRUE(
        text.startsWith(QString::fromUtf8("crash报告\nname:SIGSEGV\nreason:\nsignal 11 (SIGSEGV) sent by process ")))
        << text.toStdString();
    EXPECT_TRUE(text.contains("\ncallStackSymbols:\n"));

    const QStringList logs = QDir(root.file("Log")).entryList(QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    const QString log = readText(root.file("Log/" + logs.first()));
    EXPECT_TRUE(log.startsWith("hostName:")) << log.toStdString();
    EXPECT_TRUE(log.contains(QString::fromUtf8("奔溃了------\n")));
}

TEST(CrashReport, SignalSafeTimeStampsMatchTheCalendar)
{
    for (const qint64 secs : {0LL, 1796676339LL, 1709208000LL /* 2024-02-29 12:00 */, 951782400LL /* 2000-02-29 */,
                              -86401LL, 4102444799LL /* 2099-12-31 23:59:59 */}) {
        const QDateTime t = QDateTime::fromSecsSinceEpoch(secs, QTimeZone::utc());
        char crash[20];
        char log[20];
        CrashSignalHandler::formatCrashStamp(CrashSignalHandler::civilFromEpoch(secs), crash);
        CrashSignalHandler::formatLogStamp(CrashSignalHandler::civilFromEpoch(secs), log);
        EXPECT_EQ(QString::fromLatin1(crash), t.toString("yyyy-MM-dd-HH-mm_ss")) << secs;
        EXPECT_EQ(QString::fromLatin1(log), t.toString("yyyy-MM-dd HH:mm:ss")) << secs;
    }
}

} // namespace
