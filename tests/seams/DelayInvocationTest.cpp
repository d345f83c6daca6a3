#include "ManualScheduler.h"
#include "TPRDelayInvocation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <memory>
#include <vector>

namespace {

struct WorkRun {
    qint64 at;
    int value;
};

class DelayInvocationTest : public ::testing::Test {
protected:
    ManualScheduler clock;
    std::vector<WorkRun> runs;
    std::vector<qint64> completions;

    std::function<void()> work(int value)
    {
        return [this, value] { runs.push_back({clock.monotonicMs(), value}); };
    }
    std::function<void()> done()
    {
        return [this] { completions.push_back(clock.monotonicMs()); };
    }
    void TearDown() override
    {
        clock.advance(60'000); // let every group end so the table is empty for the next test
        EXPECT_EQ(pendingDelayInvocationGroups(), 0);
    }
};

TEST_F(DelayInvocationTest, TrailingBurstRunsLatestOnceAfterQuietInterval)
{
    const GroupKey key = GroupKey::shared("test.trailing");
    for (int i = 1; i <= 5; ++i) {
        TPRDelayInvocationTrailing(key, work(i), 0.5, done());
        if (i < 5)
            clock.advance(100);
    }
    clock.advance(499);
    EXPECT_TRUE(runs.empty());
    clock.advance(1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].at, 900);
    EXPECT_EQ(runs[0].value, 5);
    ASSERT_EQ(completions.size(), 1u);
    EXPECT_EQ(completions[0], 900);
}

TEST_F(DelayInvocationTest, LeadingSingleCallRunsAtOnceAndOnlyOnce)
{
    TPRDelayInvocationLeading(GroupKey::shared("test.leading1"), work(1), 1.0, done());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].at, 0);
    clock.advance(1000);
    EXPECT_EQ(runs.size(), 1u);
    ASSERT_EQ(completions.size(), 1u);
    EXPECT_EQ(completions[0], 1000);
}

TEST_F(DelayInvocationTest, LeadingBurstRunsFirstAndLatest)
{
    const GroupKey key = GroupKey::shared("test.leading3");
    TPRDelayInvocationLeading(key, work(1), 1.0);
    clock.advance(200);
    TPRDelayInvocationLeading(key, work(2), 1.0);
    clock.advance(200);
    TPRDelayInvocationLeading(key, work(3), 1.0);
    clock.advance(2000);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].at, 0);
    EXPECT_EQ(runs[0].value, 1);
    EXPECT_EQ(runs[1].at, 1400);
    EXPECT_EQ(runs[1].value, 3);
}

TEST_F(DelayInvocationTest, NonPositiveIntervalMeansOneSecond)
{
    for (double interval : {0.0, -2.0}) {
        runs.clear();
        const qint64 start = clock.monotonicMs();
        TPRDelayInvocationTrailing(GroupKey::unique(), work(7), interval);
        clock.advance(999);
        EXPECT_TRUE(runs.empty()) << interval;
        clock.advance(1);
        ASSERT_EQ(runs.size(), 1u) << interval;
        EXPECT_EQ(runs[0].at - start, 1000) << interval;
    }
}

TEST_F(DelayInvocationTest, KeysSeparateGroups)
{
    // Different shared keys never share a group.
    TPRDelayInvocationTrailing(GroupKey::shared("test.a"), work(1), 0.5);
    TPRDelayInvocationTrailing(GroupKey::shared("test.b"), work(2), 0.5);
    clock.advance(500);
    EXPECT_EQ(runs.size(), 2u);

    // Unique keys never coalesce: each call is a plain delay.
    runs.clear();
    const qint64 t0 = clock.monotonicMs();
    for (int i = 0; i < 3; ++i) {
        TPRDelayInvocationTrailing(GroupKey::unique(), work(i), 0.5);
        clock.advance(100);
    }
    clock.advance(1000);
    ASSERT_EQ(runs.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(runs[i].at - t0, 500 + 100 * i);
}

TEST_F(DelayInvocationTest, CallAfterGroupEndedStartsNewGroup)
{
    const GroupKey key = GroupKey::shared("test.restart");
    TPRDelayInvocationLeading(key, work(1), 1.0);
    clock.advance(1000);
    TPRDelayInvocationLeading(key, work(2), 1.0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].at, 1000);
    EXPECT_EQ(runs[1].value, 2);
}

TEST_F(DelayInvocationTest, IntervalFixedByOpeningCall)
{
    const GroupKey key = GroupKey::shared("test.interval");
    TPRDelayInvocationTrailing(key, work(1), 0.5);
    clock.advance(100);
    TPRDelayInvocationTrailing(key, work(2), 3.0);
    clock.advance(500);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].at, 600);
    EXPECT_EQ(runs[0].value, 2);
}

TEST_F(DelayInvocationTest, WorkerThreadCallsRunOnMainThread)
{
    const GroupKey key = GroupKey::shared("test.thread");
    Qt::HANDLE mainThread = QThread::currentThreadId();
    Qt::HANDLE ranOn = nullptr;
    std::unique_ptr<QThread> t(QThread::create([&] {
        TPRDelayInvocationTrailing(
            key, [&] { ranOn = QThread::currentThreadId(); }, 0.5);
    }));
    t->start();
    t->wait();
    QCoreApplication::processEvents(); // the hand-over to the main thread
    clock.advance(500);
    EXPECT_EQ(ranOn, mainThread);
}

} // namespace
