// Launches a newcomer or a tester meets: no display, a native Wayland session, two
// copies at the same moment, a socket file removed under a running copy, a killed copy.
#include "AppProcess.h"

#include <QCryptographicHash>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace {

TEST(AppLaunch, WithoutADisplayOneLineSaysWhatIsMissingAndTheAppEndsWithStatusOne)
{
    for (const char *display : {"", ":97"}) {
        QTemporaryDir root;
        QProcessEnvironment env;
        env.insert("DISPLAY", display);
        AppProcess app(root.path(), env);
        for (const char *var : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", *display ? "" : "DISPLAY"})
            app.unsetEnv(var);
        ASSERT_TRUE(app.start());
        EXPECT_EQ(app.waitForExit(), 1) << app.output().toStdString();
        const QByteArray out = app.output().trimmed();
        EXPECT_TRUE(out.startsWith(*display ? "no X11 display: cannot connect to DISPLAY=:97"
                                            : "no X11 display: DISPLAY is not set"))
            << out.toStdString();
        EXPECT_FALSE(out.contains('\n')) << out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(root.filePath("Crash")));
    }
}

TEST(AppLaunch, ANativeWaylandSessionStartsAndTheX11ServicesSayNotAvailableOnce)
{
    const QString weston = QStandardPaths::findExecutable("weston");
    if (weston.isEmpty())
        GTEST_SKIP() << "weston is not installed (scripts/deps/desktop.txt)";
    QTemporaryDir runtime, root;
    QProcessEnvironment session;
    session.insert("XDG_RUNTIME_DIR", runtime.path());
    session.insert("WAYLAND_DISPLAY", "qx-wayland");
    QProcess compositor;
    compositor.setProcessEnvironment(session);
    compositor.start(weston, {"--backend=headless-backend.so", "--socket=qx-wayland", "--idle-time=0"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(runtime.filePath("qx-wayland")); }, 15000));

    // Under AddressSanitizer: Mesa's driver, which EGL loads and unloads, leaks at exit,
    // and only a full unwind reaches the frames the leak suppressions name.
    if (qEnvironmentVariableIsSet("ASAN_OPTIONS"))
        session.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":fast_unwind_on_malloc=0");
    AppProcess app(root.path(), session);
    app.unsetEnv("QT_QPA_PLATFORM");
    app.unsetEnv("DISPLAY");
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();
    // Each X11 service the launch uses says it once.
    for (const char *service : {"global shortcuts is not", "global mouse monitor is not", "selection copy is not"})
        EXPECT_EQ(app.count(QByteArray(service) + " available: native Wayland session"), 1) << service;
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
    // Not through Qt's teardown of the display connection, which now and then hangs for good.
    EXPECT_EQ(app.count("exiting without closing the Wayland display connection"), 1);
    EXPECT_TRUE(app.output().trimmed().endsWith("exiting without closing the Wayland display connection"))
        << "nothing after it: " << app.output().toStdString();
    EXPECT_EQ(app.count("application torn down"), 0);
    compositor.terminate();
    compositor.waitForFinished(5000);
}

// A session ending while the application is still starting: the launch completes, the
// termination steps run in their order, and the status says a clean end.
TEST(AppLaunch, ATerminatingSignalDuringTheLaunchEndsItCleanly)
{
    for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
        QTemporaryDir root;
        AppProcess app(root.path());
        ASSERT_TRUE(app.start());
        // Printed just before the managers are built.
        ASSERT_TRUE(app.waitFor("data in")) << app.output().toStdString();
        ASSERT_TRUE(app.signal(sig));
        EXPECT_EQ(app.waitForExit(), 0) << app.output().toStdString();
        const QByteArray out = app.output();
        const qsizetype speech = out.indexOf("terminating: closing the speech service");
        const qsizetype sdk = out.indexOf("terminating: shutting down the speech SDK");
        const qsizetype log = out.indexOf("terminating: writing out the log");
        EXPECT_TRUE(speech >= 0 && speech < sdk && sdk < log) << out.toStdString();
        EXPECT_EQ(out.count("terminating: closing the speech service"), 1);
        EXPECT_TRUE(AppProcess::userLog(root.path()).contains("启动完成------"));
    }
}

// Two copies over one data root started at once, five pairs at a time: one runs on, the
// other hands it the reopen request and ends with status 0.
TEST(AppLaunch, TwentyPairsStartedAtOnceAlwaysLeaveExactlyOneCopy)
{
    for (int batch = 0; batch < 4; ++batch) {
        QTemporaryDir roots[5];
        std::unique_ptr<AppProcess> copies[10];
        for (int i = 0; i < 10; ++i)
            copies[i] = std::make_unique<AppProcess>(roots[i / 2].path());
        for (auto &c : copies)
            c->begin();
        for (auto &c : copies)
            ASSERT_TRUE(c->waitStarted());
        for (int i = 0; i < 10; i += 2) {
            AppProcess &a = *copies[i], &b = *copies[i + 1];
            (void)QTest::qWaitFor([&] { return !a.running() || !b.running(); }, 20000);
            ASSERT_NE(a.running(), b.running()) << a.output().toStdString() << "\n---\n" << b.output().toStdString();
            AppProcess &winner = a.running() ? a : b, &loser = a.running() ? b : a;
            EXPECT_EQ(loser.waitForExit(), 0) << loser.output().toStdString();
            EXPECT_TRUE(winner.waitFor("another launch asked for the window")) << winner.output().toStdString();
            EXPECT_EQ(winner.terminate(), 0) << winner.output().toStdString();
        }
    }
}

// The lock decides, not the socket: a removed socket file lets no second copy in, and the
// lock of a killed copy keeps no one out.
TEST(AppLaunch, ARemovedSocketOrAKilledCopyNeverLeavesTwoOrNone)
{
    QTemporaryDir root;
    AppProcess first(root.path()), second(root.path()), third(root.path()), fourth(root.path());
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(first.waitFor("event loop running")) << first.output().toStdString();
    const QByteArray hash = QCryptographicHash::hash(root.path().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    ASSERT_TRUE(QFile::remove(QDir::tempPath() + QStringLiteral("/quorvex-companion-%1-").arg(::getuid()) + hash));
    ASSERT_TRUE(second.start());
    EXPECT_EQ(second.waitForExit(), 0) << second.output().toStdString();
    EXPECT_TRUE(first.running());

    ASSERT_TRUE(first.signal(SIGKILL));
    ASSERT_TRUE(third.start());
    ASSERT_TRUE(third.waitFor("event loop running")) << third.output().toStdString();
    // The killed copy's socket was replaced: the next launch's request reaches the third.
    ASSERT_TRUE(fourth.start());
    EXPECT_EQ(fourth.waitForExit(), 0) << fourth.output().toStdString();
    EXPECT_TRUE(third.waitFor("another launch asked for the window")) << third.output().toStdString();
    EXPECT_EQ(third.terminate(), 0) << third.output().toStdString();
}

} // namespace
