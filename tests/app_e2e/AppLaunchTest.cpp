// Launches of the real application that a newcomer or a tester meets: no display, a
// native Wayland session, two copies started at the same moment, a socket file removed
// under a running copy and a copy killed outright.
#include "AppProcess.h"

#include <QCryptographicHash>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>
#include <vector>

namespace {

TEST(AppLaunch, WithoutADisplayOneLineSaysWhatIsMissingAndTheAppEndsWithStatusOne)
{
    const struct {
        const char *what;
        const char *display; // nullptr: not set
        const char *expected;
    } cases[] = {{"no DISPLAY", nullptr, "no X11 display: DISPLAY is not set"},
                 {"nothing listens on DISPLAY", ":97", "no X11 display: cannot connect to DISPLAY=:97"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir root;
        QProcessEnvironment extra;
        if (c.display)
            extra.insert("DISPLAY", c.display);
        AppProcess app(root.path(), extra);
        for (const char *var : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
            app.unsetEnv(var);
        if (!c.display)
            app.unsetEnv("DISPLAY");
        ASSERT_TRUE(app.start());
        EXPECT_EQ(app.waitForExit(), 1) << app.output().toStdString();
        const QByteArray out = app.output().trimmed();
        EXPECT_TRUE(out.startsWith(c.expected)) << out.toStdString();
        EXPECT_FALSE(out.contains('\n')) << out.toStdString();
        EXPECT_FALSE(QDir(root.filePath("Crash")).exists() && !QDir(root.filePath("Crash")).isEmpty());
    }
}

TEST(AppLaunch, ANativeWaylandSessionStartsAndTheX11ServicesSayNotAvailableOnce)
{
    const QString weston = QStandardPaths::findExecutable("weston");
    if (weston.isEmpty())
        GTEST_SKIP() << "weston is not installed (scripts/deps/desktop.txt)";
    QTemporaryDir runtime; // owner-only, as a session's runtime folder is
    QProcess compositor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    compositor.setProcessEnvironment(env);
    compositor.setProcessChannelMode(QProcess::MergedChannels);
    compositor.start(weston, {"--backend=headless-backend.so", "--socket=qx-wayland", "--idle-time=0"});
    ASSERT_TRUE(compositor.waitForStarted(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(runtime.filePath("qx-wayland")); }, 15000))
        << compositor.readAll().toStdString();

    QTemporaryDir root;
    QProcessEnvironment session;
    session.insert("XDG_RUNTIME_DIR", runtime.path());
    session.insert("WAYLAND_DISPLAY", "qx-wayland");
    session.insert("XDG_SESSION_TYPE", "wayland");
    AppProcess app(root.path(), session);
    app.unsetEnv("QT_QPA_PLATFORM");
    app.unsetEnv("DISPLAY");
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();
    EXPECT_EQ(app.count("native Wayland session"), 1) << app.output().toStdString();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
    compositor.terminate();
    compositor.waitForFinished(5000);
}

// Both copies over one data root, started at the same moment: one keeps running, the
// other hands it the reopen request and ends with status 0. Five pairs at a time.
TEST(AppLaunch, TwentyPairsStartedAtOnceAlwaysLeaveExactlyOneCopy)
{
    struct Pair {
        QTemporaryDir root;
        std::unique_ptr<AppProcess> a, b;
    };
    for (int batch = 0; batch < 4; ++batch) {
        std::vector<std::unique_ptr<Pair>> pairs;
        for (int i = 0; i < 5; ++i) {
            auto p = std::make_unique<Pair>();
            p->a = std::make_unique<AppProcess>(p->root.path());
            p->b = std::make_unique<AppProcess>(p->root.path());
            pairs.push_back(std::move(p));
        }
        for (auto &p : pairs) {
            p->a->begin();
            p->b->begin();
        }
        for (auto &p : pairs) {
            ASSERT_TRUE(p->a->waitStarted());
            ASSERT_TRUE(p->b->waitStarted());
        }
        for (size_t i = 0; i < pairs.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "pair " << batch * 5 + int(i));
            AppProcess &a = *pairs[i]->a;
            AppProcess &b = *pairs[i]->b;
            (void)QTest::qWaitFor([&] { return !a.running() || !b.running(); }, 20000);
            ASSERT_NE(a.running(), b.running()) << a.output().toStdString() << "\n---\n" << b.output().toStdString();
            AppProcess &winner = a.running() ? a : b;
            AppProcess &loser = a.running() ? b : a;
            EXPECT_EQ(loser.waitForExit(), 0) << loser.output().toStdString();
            EXPECT_TRUE(loser.output().contains("asked it to reopen its window")) << loser.output().toStdString();
            EXPECT_TRUE(winner.waitFor("another launch asked for the window")) << winner.output().toStdString();
            EXPECT_EQ(winner.terminate(), 0) << winner.output().toStdString();
        }
    }
}

// The lock, not the socket, decides: a removed socket file lets no second copy in, and
// the lock of a killed copy does not keep the next one out.
TEST(AppLaunch, ARemovedSocketOrAKilledCopyNeverLeavesTwoOrNone)
{
    QTemporaryDir root;
    AppProcess first(root.path());
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(first.waitFor("event loop running")) << first.output().toStdString();
    const QByteArray hash = QCryptographicHash::hash(root.path().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    const QString socket =
        QDir::tempPath() + QStringLiteral("/quorvex-companion-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
    ASSERT_TRUE(QFile::remove(socket)) << socket.toStdString();

    AppProcess second(root.path());
    ASSERT_TRUE(second.start());
    EXPECT_EQ(second.waitForExit(), 0) << second.output().toStdString();
    EXPECT_TRUE(second.output().contains("another instance")) << second.output().toStdString();
    EXPECT_TRUE(first.running());

    ::kill(pid_t(first.pid()), SIGKILL);
    EXPECT_EQ(first.waitForExit(), -1);
    AppProcess third(root.path());
    ASSERT_TRUE(third.start());
    ASSERT_TRUE(third.waitFor("event loop running")) << third.output().toStdString();
    EXPECT_EQ(third.terminate(), 0) << third.output().toStdString();
}

} // namespace
