// Crashes the real application and looks for what it leaves behind.
#include "SignalChild.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(AppCrash, SegmentationFaultLeavesACrashReportUnderTheDataRoot)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QString::fromUtf8("数据"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QX_DATA_DIR", root);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TZ", "UTC");
    // The sanitizer's own SIGSEGV report would replace ours.
    env.insert("ASAN_OPTIONS", "handle_segv=0:detect_leaks=0");

    QProcess app;
    app.setProcessEnvironment(env);
    app.setChildProcessModifier([] {
        const rlimit noCore{0, 0}; // the default action may dump a core: not here
        ::setrlimit(RLIMIT_CORE, &noCore);
    });
    app.setReadChannel(QProcess::StandardError);
    app.start(QStringLiteral(QX_APP_BINARY), {});
    ASSERT_TRUE(app.waitForStarted(10000));

    // The app logs where its data lives once it is up; the line shows on the console
    // through the shared logger, which writes the file first.
    QByteArray console;
    while (!console.contains("data in")) {
        ASSERT_EQ(app.state(), QProcess::Running) << console.toStdString();
        ASSERT_TRUE(app.waitForReadyRead(20000)) << console.toStdString();
        console += app.readAllStandardError();
    }
    EXPECT_TRUE(console.contains("[main.cpp \xE2\x97\x8F ")) << console.toStdString();

    ASSERT_TRUE(signalChild(app, SIGSEGV));
    ASSERT_TRUE(app.waitForFinished(20000));
    console += app.readAllStandardError();
    // Ended by the signal itself, so the exit status names it.
    EXPECT_EQ(app.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(app.exitCode(), SIGSEGV);
    EXPECT_TRUE(console.contains("奔溃了------")) << console.toStdString();

    const QStringList crashes = QDir(root + "/Crash").entryList(QDir::Files);
    ASSERT_EQ(crashes.size(), 1) << console.toStdString();
    EXPECT_TRUE(crashes.first().endsWith("_crash.txt"));
    const QString report = readText(root + "/Crash/" + crashes.first());
    EXPECT_TRUE(report.startsWith(QString::fromUtf8("crash报告\nname:SIGSEGV\nreason:\n"))) << report.toStdString();

    // The rotating developer log under the caches folder has the start banner and the app's lines.
    const QString logDir = root + "/Caches/PZLogs/Default";
    const QStringList files = QDir(logDir).entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << logDir.toStdString();
    const QString devLog = readText(logDir + "/" + files.first());
    EXPECT_TRUE(devLog.contains("PZLog(Defalut)")) << devLog.toStdString();

    // And the daily log holds the crash line.
    const QStringList daily = QDir(root + "/Log").entryList(QDir::Files);
    ASSERT_EQ(daily.size(), 1);
    EXPECT_TRUE(readText(root + "/Log/" + daily.first()).contains(QString::fromUtf8("奔溃了------")));

    // They tell the machine, its address and what the user did: the owner's alone.
    for (const QString &path :
         {root + "/Crash/" + crashes.first(), root + "/Log/" + daily.first(), logDir + "/" + files.first()})
        EXPECT_EQ(QFile::permissions(path) & 0x7077, QFile::ReadOwner | QFile::WriteOwner) << path.toStdString();
}

} // namespace
