#include "MainThread.h"
#include "Scheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(MainThreadTest, WorkFromWorkerThreadsRunsOnMainThreadNeverLost)
{
    constexpr int kThreads = 4, kCalls = 250;
    int ran = 0;
    bool allOnMain = true;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(QThread::create([&] {
            for (int i = 0; i < kCalls; ++i)
                runOnMainThread([&] {
                    allOnMain = allOnMain && isMainThread();
                    ++ran;
                });
        }));
        threads.back()->start();
    }
    for (auto &t : threads)
        t->wait();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, kThreads * kCalls);
    EXPECT_TRUE(allOnMain);

    bool direct = false;
    runOnMainThread([&] { direct = true; });
    EXPECT_TRUE(direct); // on the main thread it runs at once
}

// The one test that waits for a real timer: the QTimer-backed scheduler fires and
// honours cancel.
TEST(MainThreadTest, QtSchedulerFiresAndCancels)
{
    QtScheduler s;
    QEventLoop loop;
    bool cancelledRan = false;
    int repeats = 0;
    auto cancelled = s.singleShot(10, [&] { cancelledRan = true; });
    s.cancel(cancelled);
    Scheduler::TimerId rep = 0;
    rep = s.repeating(5, [&] {
        if (++repeats == 3) {
            s.cancel(rep);
            loop.quit();
        }
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit); // guard against a hang
    loop.exec();
    EXPECT_EQ(repeats, 3);
    EXPECT_FALSE(cancelledRan);
    EXPECT_FALSE(s.isActive(rep));
    EXPECT_EQ(s.firedCount(), 3u);
}

} // namespace
