// The real application started on a machine that offers it nothing: no receiver, no
// Bluetooth adapter (or no BlueZ), no network, and a data root that cannot be created.
// Each start reaches the event loop, says what is missing once, keeps running and quits
// cleanly.
#include "AppProcess.h"
#include "LocalHttpServer.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Seconds the main thread of `pid` has spent neither running nor waiting for a CPU since
// it started: its sleeps and blocking waits. Neither a sanitizer's slowness nor a loaded
// machine adds to it. -1 where the kernel keeps no scheduler statistics.
double blockedSeconds(qint64 pid)
{
    QFile sched(QStringLiteral("/proc/%1/task/%1/schedstat").arg(pid));
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!sched.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> times = sched.readAll().split(' ');
    // The fields after the command name, which may hold spaces; the start time is the 20th.
    const QByteArray statLine = stat.readAll();
    const QList<QByteArray> fields = statLine.mid(statLine.lastIndexOf(')') + 2).split(' ');
    if (times.size() < 2 || fields.size() < 20)
        return -1;
    const double age = uptime.readAll().split(' ').first().toDouble() - fields[19].toDouble() / ::sysconf(_SC_CLK_TCK);
    return age - (times[0].toDouble() + times[1].toDouble()) / 1e9;
}

TEST(AppStart, WithNothingAttachedAndNoNetworkTheAppIdlesAndQuitsCleanly)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QDir root(tmp.filePath("data")); // the application makes it
    AppProcess app(root.path());
    // The usual session umask: what the application leaves private it makes so itself.
    const mode_t umaskBefore = ::umask(022);
    const bool started = app.start();
    ::umask(umaskBefore);
    ASSERT_TRUE(started);
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();
    // Nothing at launch waits on something that is not there (a time-out, a sleep).
    if (const double blocked = blockedSeconds(app.pid()); blocked >= 0) {
        EXPECT_LT(blocked, 3.0) << "the launch sat blocked for " << blocked << " s";
    }
    ASSERT_TRUE(app.waitForUserLog(root.path(), "configData完成-------"));
    ASSERT_TRUE(app.waitFor("no receiver connected")) << app.output().toStdString();

    // Ask for the counters twice: the application answers and is still there.
    for (int i = 0; i < 2; ++i) {
        const qsizetype from = app.outputSize();
        ASSERT_TRUE(app.signal(SIGUSR1));
        ASSERT_TRUE(app.waitFor("timers fired:", 10000, from)) << app.output().toStdString();
    }
    EXPECT_TRUE(app.running());
    EXPECT_EQ(app.count("no receiver connected"), 1);
    EXPECT_LE(app.count("no adapter"), 1);
    // What only a recognition, a device or an account needs is not mapped while idle:
    // those libraries load with their modules on first use.
    QFile maps(QStringLiteral("/proc/%1/maps").arg(app.pid()));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    QList<QByteArray> firstUse{"libQt6Multimedia", "libQt6WebEngineCore", "libQt6TextToSpeech", "libatspi",
                               "libqt6keychain"};
    if (app.count("no adapter") == 1)
        firstUse << "libQt6Bluetooth";
    for (const QByteArray &library : firstUse)
        EXPECT_FALSE(mapped.contains(library)) << library.constData();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
    EXPECT_EQ(app.count("application torn down"), 1) << app.output().toStdString();

    // Nothing a tray icon without a device does not need: the command tables wait for one.
    EXPECT_FALSE(QFile::exists(root.filePath("QXSqliteDataBase.sqlite")));
    // What the launch left is the owner's alone.
    const auto mode = [](const QString &path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : 01000;
    };
    EXPECT_EQ(mode(root.path()), 0700u);
    QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        EXPECT_EQ(mode(path), it.fileInfo().isDir() ? 0700u : 0600u) << path.toStdString();
    }
}

TEST(AppStart, AnUncreatableDataRootIsReportedOnceAndTheAppStillRuns)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // A file where a folder would have to be: not even root can create the data root.
    QFile blocker(tmp.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AppProcess app(tmp.filePath("blocker/data"));
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();
    EXPECT_EQ(app.count("cannot create the data folder"), 1) << app.output().toStdString();
    EXPECT_TRUE(app.running());
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
}

} // namespace

namespace {

// The application-version check at launch against the local web site: one request for
// the version text, whose answer is saved and compared; a newer version opens the
// update alert, a garbage answer opens nothing, and both leave the application running.
void runVersionCheck(const HttpScriptedReply &answer, const QByteArray &savedText, bool alert)
{
    LocalHttpServer site;
    ASSERT_TRUE(site.isListening());
    site.enqueue(answer);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QProcessEnvironment env;
    env.insert("QX_WEB_BASE", site.baseUrl());
    AppProcess app(root.path(), env);
    ASSERT_TRUE(app.start());

    ASSERT_TRUE(site.waitForRequests(1, 20000)) << app.output().toStdString();
    EXPECT_EQ(site.lastRequest().method, "GET");
    EXPECT_EQ(site.lastRequest().target, "/Zandor/update_mac.txt");
    const QString saved = root.filePath("update_mac.txt");
    const auto savedContent = [&saved] {
        QFile file(saved);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(saved) && savedContent() == savedText; }, 10000))
        << savedContent().toStdString();

    // Still there and answering; asked once per launch only.
    if (alert) {
        EXPECT_TRUE(app.waitFor("alert shown:", 10000)) << app.output().toStdString();
    }
    const qsizetype from = app.outputSize();
    ASSERT_TRUE(app.signal(SIGUSR1));
    ASSERT_TRUE(app.waitFor("timers fired:", 10000, from)) << app.output().toStdString();
    EXPECT_TRUE(app.running());
    QTest::qWait(300);
    EXPECT_EQ(site.requestCount(), 1);
    EXPECT_EQ(app.count("alert shown:"), alert ? 1 : 0) << app.output().toStdString();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
}

TEST(AppVersionCheck, ANewerVersionOpensTheUpdateAlertAndTheAppRunsOn)
{
    runVersionCheck(HttpScriptedReply::withContentType("text/plain", "99.0.0"), "99.0.0", true);
}

TEST(AppVersionCheck, AGarbageAnswerIsHarmless)
{
    QByteArray junk;
    for (int i = 0; i < 3000; ++i)
        junk.append(char((i * 131 + 7) & 0xff));
    runVersionCheck(HttpScriptedReply::withContentType("application/octet-stream", junk), junk, false);
}

} // namespace
