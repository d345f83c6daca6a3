// Classification of pointer events and the event monitor's install rules.
#include "platform/MouseEvent.h"
#include "FakeDesktop.h"
#include "PZEventMonitor.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using platform::HeldButtons;
using platform::MouseEventType;
using platform::RawPointerKind;

TEST(MouseEventTest, XPointerEventsMapToMonitorEventTypes)
{
    const HeldButtons none{}, left{true, false, false}, right{false, false, true}, middle{false, true, false};
    struct Row {
        RawPointerKind kind;
        int button;
        HeldButtons held;
        std::optional<MouseEventType> type;
        const char *what;
    };
    const Row rows[] = {
        {RawPointerKind::Press, 1, none, MouseEventType::LeftMouseDown, "left down"},
        {RawPointerKind::Release, 1, left, MouseEventType::LeftMouseUp, "left up"},
        {RawPointerKind::Press, 3, none, MouseEventType::RightMouseDown, "right down"},
        {RawPointerKind::Release, 3, right, MouseEventType::RightMouseUp, "right up"},
        {RawPointerKind::Press, 2, none, MouseEventType::OtherMouseDown, "middle down"},
        {RawPointerKind::Release, 2, middle, MouseEventType::OtherMouseUp, "middle up"},
        {RawPointerKind::Press, 8, none, MouseEventType::OtherMouseDown, "side button"},
        {RawPointerKind::Press, 4, none, std::nullopt, "wheel up is no click"},
        {RawPointerKind::Press, 5, none, std::nullopt, "wheel down"},
        {RawPointerKind::Release, 7, none, std::nullopt, "horizontal wheel"},
        {RawPointerKind::Motion, 0, none, MouseEventType::MouseMoved, "plain move"},
        {RawPointerKind::Motion, 0, left, MouseEventType::LeftMouseDragged, "left drag"},
        {RawPointerKind::Motion, 0, right, MouseEventType::RightMouseDragged, "right drag"},
        {RawPointerKind::Motion, 0, middle, MouseEventType::OtherMouseDragged, "middle drag"},
        {RawPointerKind::Motion, 0, HeldButtons{true, false, true}, MouseEventType::LeftMouseDragged, "left wins"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(platform::classifyPointerEvent(r.kind, r.button, r.held), r.type) << r.what;
}

TEST(MouseEventTest, StoredMasksSelectTheirEvents)
{
    // The masks the application's monitors are written with.
    struct Row {
        MouseEventType type;
        quint64 mask;
        bool fires;
    };
    const Row rows[] = {
        {MouseEventType::LeftMouseDown, 2, true},         {MouseEventType::LeftMouseDown, 10, true},
        {MouseEventType::LeftMouseDown, 34, true},        {MouseEventType::LeftMouseUp, 4, true},
        {MouseEventType::RightMouseDown, 10, true},       {MouseEventType::MouseMoved, 34, true},
        {MouseEventType::MouseMoved, 64, false},          {MouseEventType::LeftMouseDragged, 64, true},
        {MouseEventType::LeftMouseDragged, 34, false},    {MouseEventType::OtherMouseDown, 1ull << 25, true},
        {MouseEventType::OtherMouseUp, 1ull << 26, true}, {MouseEventType::OtherMouseUp, 1ull << 25, false},
    };
    for (const Row &r : rows)
        EXPECT_EQ(platform::maskMatches(r.mask, r.type), r.fires) << int(r.type) << " mask " << r.mask;
}

TEST(MouseEventTest, HeldButtonsFollowPressesAndReleases)
{
    HeldButtons held;
    platform::trackHeldButtons(held, RawPointerKind::Press, 1);
    EXPECT_EQ(platform::classifyPointerEvent(RawPointerKind::Motion, 0, held), MouseEventType::LeftMouseDragged);
    platform::trackHeldButtons(held, RawPointerKind::Press, 4); // the wheel holds nothing
    platform::trackHeldButtons(held, RawPointerKind::Release, 1);
    EXPECT_EQ(platform::classifyPointerEvent(RawPointerKind::Motion, 0, held), MouseEventType::MouseMoved);
}

TEST(PZEventMonitorTest, InstallsByTypeAndNeverTwice)
{
    FakeMouseMonitor global;
    auto noop = [](const platform::MouseEvent &) {};

    PZEventMonitor never(PZEventMonitor::Both, 2, noop, &global);
    never.stop(); // never started: nothing happens
    EXPECT_EQ(global.removes, 0);

    PZEventMonitor both(PZEventMonitor::Both, 2, noop, &global);
    both.start();
    both.start();
    EXPECT_TRUE(both.hasLocalMonitor());
    EXPECT_TRUE(both.hasGlobalMonitor());
    EXPECT_EQ(global.installed.size(), 1u);

    PZEventMonitor odd(5, 2, noop, &global); // unknown type acts as both
    odd.start();
    EXPECT_TRUE(odd.hasLocalMonitor());
    EXPECT_EQ(global.installed.size(), 2u);

    PZEventMonitor local(PZEventMonitor::Local, 2, noop, &global);
    local.start();
    EXPECT_TRUE(local.hasLocalMonitor());
    EXPECT_FALSE(local.hasGlobalMonitor());
    PZEventMonitor globalOnly(PZEventMonitor::Global, 2, noop, &global);
    globalOnly.start();
    EXPECT_FALSE(globalOnly.hasLocalMonitor());
    EXPECT_EQ(global.installed.size(), 3u);

    both.stop();
    EXPECT_FALSE(both.hasLocalMonitor());
    EXPECT_EQ(global.installed.size(), 2u);
}

TEST(PZEventMonitorTest, DestroyingRemovesUnlessDetached)
{
    FakeMouseMonitor global;
    int calls = 0;
    {
        PZEventMonitor m(
            PZEventMonitor::Global, 2, [&](const platform::MouseEvent &) { ++calls; }, &global);
        m.start();
    }
    EXPECT_TRUE(global.installed.empty());
    {
        PZEventMonitor m(
            PZEventMonitor::Global, 2, [&](const platform::MouseEvent &) { ++calls; }, &global);
        m.start();
        m.detach();
    }
    global.emitEvent({MouseEventType::LeftMouseDown, {5, 5}, 0});
    EXPECT_EQ(calls, 1) << "a detached global monitor keeps calling its handler";
}

TEST(PZEventMonitorTest, LocalMonitorSeesEachEventOnceAndPassesItOn)
{
    struct Target : QWidget {
        int presses = 0;
        void mousePressEvent(QMouseEvent *e) override
        {
            ++presses;
            e->accept();
        }
    } widget;
    widget.resize(100, 100);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));

    FakeMouseMonitor global;
    std::vector<platform::MouseEvent> seen;
    PZEventMonitor monitor(
        PZEventMonitor::Both, platform::maskOf(MouseEventType::LeftMouseDown),
        [&](const platform::MouseEvent &e) { seen.push_back(e); }, &global);
    monitor.start();
    monitor.start();
    QTest::mouseClick(widget.windowHandle(), Qt::LeftButton, {}, QPoint(20, 30));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].type, MouseEventType::LeftMouseDown);
    EXPECT_EQ(seen[0].buttonNumber, 0);
    EXPECT_EQ(widget.presses, 1) << "the event is observed, not swallowed";

    monitor.stop();
    QTest::mouseClick(widget.windowHandle(), Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(widget.presses, 2);
}
