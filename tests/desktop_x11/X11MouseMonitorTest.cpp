// Against a real X server: clicks and drags made in another client (XTest) reach
// the global mouse monitor, with drags kept apart from plain moves.
#include "PZEventMonitor.h"
#include "XTestDriver.h"
#include "platform/linux/XRecordMouseMonitor.h"

#include <QTest>

#include <gtest/gtest.h>

using platform::maskOf;
using platform::MouseEvent;
using platform::MouseEventType;

namespace {

class X11MouseMonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!onXServer())
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        monitor = std::make_unique<platform::linuxbackend::XRecordMouseMonitor>();
        ASSERT_TRUE(monitor->isAvailable());
    }

    std::unique_ptr<PZEventMonitor> watch(quint64 mask, std::vector<MouseEvent> &into)
    {
        auto m = PZEventMonitor::monitorWithType(
            PZEventMonitor::Global, mask, [&into](const MouseEvent &e) { into.push_back(e); }, monitor.get());
        m->start();
        return m;
    }

    void waitUntilRecording()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return monitor->isRecording(); }, 5000));
    }

    static int count(const std::vector<MouseEvent> &events, MouseEventType type)
    {
        return int(std::count_if(events.begin(), events.end(), [&](const MouseEvent &e) { return e.type == type; }));
    }

    std::unique_ptr<platform::linuxbackend::XRecordMouseMonitor> monitor;
    XTestDriver driver;
};

} // namespace

TEST_F(X11MouseMonitorTest, ClickInAnotherClientIsSeen)
{
    std::vector<MouseEvent> clicks;
    auto m = watch(maskOf(MouseEventType::LeftMouseDown) | maskOf(MouseEventType::LeftMouseUp), clicks);
    waitUntilRecording();
    EXPECT_FALSE(monitor->recordsMotion()) << "clicks alone need no pointer motion";
    driver.moveTo({40, 50});
    driver.button(1, true);
    driver.button(1, false);
    QTRY_COMPARE_WITH_TIMEOUT(clicks.size(), size_t(2), 5000);
    EXPECT_EQ(clicks[0].type, MouseEventType::LeftMouseDown);
    EXPECT_EQ(clicks[0].globalPos, QPoint(40, 50));
    EXPECT_EQ(clicks[0].buttonNumber, 0);
    EXPECT_EQ(clicks[1].type, MouseEventType::LeftMouseUp);

    m->stop();
    driver.button(1, true);
    driver.button(1, false);
    QTest::qWait(200);
    EXPECT_EQ(clicks.size(), size_t(2)) << "a stopped monitor sees nothing";
}

TEST_F(X11MouseMonitorTest, DragFiresLeftDraggedAndNotMouseMoved)
{
    std::vector<MouseEvent> dragged, movedOrDown, moved, ups;
    auto m1 = watch(64, dragged);     // the selection monitor's mask
    auto m2 = watch(34, movedOrDown); // moved + left down
    auto m3 = watch(maskOf(MouseEventType::MouseMoved), moved);
    auto m4 = watch(maskOf(MouseEventType::LeftMouseUp), ups);
    waitUntilRecording();

    driver.moveTo({100, 100});
    QTRY_VERIFY_WITH_TIMEOUT(!moved.empty(), 5000);
    moved.clear();
    movedOrDown.clear();

    driver.button(1, true);
    for (int x = 110; x <= 150; x += 10)
        driver.moveTo({x, 120});
    driver.button(1, false);
    // Events arrive in order: once the release is in, the drag has been delivered.
    QTRY_COMPARE_WITH_TIMEOUT(ups.size(), size_t(1), 5000);
    EXPECT_GE(count(dragged, MouseEventType::LeftMouseDragged), 1);
    EXPECT_EQ(dragged.back().globalPos, QPoint(150, 120));
    EXPECT_EQ(moved.size(), 0u) << "a drag is no plain move";
    ASSERT_EQ(movedOrDown.size(), 1u);
    EXPECT_EQ(movedOrDown[0].type, MouseEventType::LeftMouseDown);

    driver.moveTo({200, 200});
    QTRY_VERIFY_WITH_TIMEOUT(!moved.empty(), 5000);
    EXPECT_EQ(moved.back().globalPos, QPoint(200, 200));

    // The last handler that wanted motion gone, the server stops sending it; clicks go on.
    EXPECT_TRUE(monitor->recordsMotion());
    m1.reset();
    m2.reset();
    m3.reset();
    EXPECT_FALSE(monitor->recordsMotion());
    waitUntilRecording();
    driver.button(1, true);
    driver.button(1, false);
    QTRY_COMPARE_WITH_TIMEOUT(ups.size(), size_t(2), 5000);
}

// The selection monitor asks for drags at the left press that starts one: the motion
// recording begins with the button already down, and the drag is still a drag.
TEST_F(X11MouseMonitorTest, DragWatchedFromItsPressOnIsADrag)
{
    std::vector<MouseEvent> downs, dragged, moved;
    auto m1 = watch(maskOf(MouseEventType::LeftMouseDown), downs);
    waitUntilRecording();
    driver.moveTo({100, 100});
    driver.button(1, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !downs.empty(); }, 5000));
    auto m2 = watch(maskOf(MouseEventType::LeftMouseDragged), dragged);
    auto m3 = watch(maskOf(MouseEventType::MouseMoved), moved);
    waitUntilRecording();
    driver.moveTo({140, 120});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dragged.empty(); }, 5000));
    EXPECT_TRUE(moved.empty()) << "a drag is no plain move";
    driver.button(1, false);
    driver.moveTo({160, 130});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !moved.empty(); }, 5000)) << "released, the pointer moves";
}

// Without a device the desktop's pointer is not recorded, the monitors kept for the next.
TEST_F(X11MouseMonitorTest, AnInactiveMonitorRecordsNothingAndResumesWhenActive)
{
    std::vector<MouseEvent> downs;
    monitor->setActive(false);
    auto m = watch(maskOf(MouseEventType::LeftMouseDown), downs);
    driver.moveTo({60, 60});
    driver.button(1, true);
    driver.button(1, false);
    QTest::qWait(300);
    EXPECT_FALSE(monitor->isRecording());
    EXPECT_TRUE(downs.empty());

    monitor->setActive(true);
    waitUntilRecording();
    driver.button(1, true);
    driver.button(1, false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return downs.size() == 1; }, 5000));

    monitor->setActive(false);
    EXPECT_FALSE(monitor->isRecording());
    monitor->setActive(true);
    waitUntilRecording();
    m->stop();
    EXPECT_FALSE(monitor->isRecording()) << "the last monitor gone, recording stops";
}
