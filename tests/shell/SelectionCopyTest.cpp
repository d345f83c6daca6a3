// The selection copy monitor over fake monitors, clipboard and copier, on virtual time.
#include "FakeNeighbours.h"
#include "FakeSelectionCopier.h"
#include "ManualScheduler.h"
#include "ScopedUserInfoData.h"
#include "SearchButtonWindow.h"
#include "SelectionCopyMonitor.h"
#include "controls/QXButton.h"
#include "services/ITranslationWindow.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using Type = platform::MouseEventType;

namespace {

struct FakeTranslationWindow : ITranslationWindow {
    bool shown = false;
    int dismissals = 0;
    bool isShow() const override { return shown; }
    void showTranslateWindow(const QString &, const QString &) override {}
    QRect frameGeometry() const override { return {400, 400, 300, 200}; }
    void dismissWindow() override { ++dismissals; }
};

class SelectionCopy : public ::testing::Test {
protected:
    SelectionCopy()
    {
        state->setWordInputSwitch(true);
        state->setMouseIsConnect(true);
        shell.mainWindow = &mainWindow;
        mainWindow.show();
        monitor.start();
    }
    void event(Type type, QPoint at) { mouse.emitEvent({type, at, type == Type::RightMouseDown}); }
    // Down at (100,100), drag, release at `to`; `selected` is what the drag selected.
    void drag(QPoint to, const QString &selected = {})
    {
        event(Type::LeftMouseDown, {100, 100});
        event(Type::LeftMouseDragged, to);
        if (!selected.isEmpty())
            copier.select(selected);
        event(Type::LeftMouseUp, to);
    }
    bool buttonShown() const { return monitor.searchWindow() && monitor.searchWindow()->isVisible(); }

    ScopedUserInfoData state;
    ManualScheduler scheduler;
    FakeClipboard clipboard;
    FakeSelectionCopier copier{clipboard};
    FakeMouseMonitor mouse;
    CallLog log;
    FakeTranslateManager translate{log};
    FakeAppShell shell;
    QWidget mainWindow;
    FakeTranslationWindow translation;
    int guideCloses = 0;
    SelectionCopyMonitor monitor{{&state.state(), &clipboard, &copier, &mouse, &scheduler, &translate, &shell,
                                  &translation, [this](QPoint) { ++guideCloses; }}};
};

TEST_F(SelectionCopy, OnlyANewSelectionOfADragIsCopiedOnceAndTheClipboardComesBack)
{
    clipboard.setText("old");
    const QByteArray picture("\x89PNG a picture the user copied", 30);
    clipboard.contents->setData("image/png", picture);
    event(Type::LeftMouseDown, {100, 100});
    event(Type::LeftMouseUp, {120, 100}); // a click
    state->setWordInputSwitch(false);
    drag({200, 100}, "sel");
    state->setWordInputSwitch(true);
    state->setMouseIsConnect(false);
    drag({200, 100}, "sel");
    state->setMouseIsConnect(true);
    drag({200, 100}); // the selection still holds "sel", but nothing new was selected
    scheduler.advance(1000);
    EXPECT_EQ(copier.copies, 0);
    EXPECT_EQ(clipboard.clears, 0);

    drag({104, 104}, "first");
    EXPECT_FALSE(buttonShown()) << "4 px both ways is no move";
    scheduler.advance(150);
    drag({100, 95}, "second"); // within the delay: one completion, 200 ms after it
    ASSERT_TRUE(buttonShown());
    EXPECT_EQ(monitor.searchWindow()->geometry(), QRect(100, 75, 20, 20));
    scheduler.advance(199);
    EXPECT_TRUE(state->isManualSendCopy());
    EXPECT_EQ(copier.copies, 0) << "the owner takes the selection only once it saw the release";
    scheduler.advance(1);
    EXPECT_EQ(copier.copies, 1);
    EXPECT_EQ(state->pasteboardContent(), QString("second"));
    EXPECT_EQ(clipboard.text(), "old");
    EXPECT_EQ(clipboard.contents->data("image/png"), picture);

    clipboard.contents.reset(); // an empty clipboard keeps the selection
    drag({300, 100}, "third");
    scheduler.advance(200);
    EXPECT_EQ(clipboard.text(), "third");

    // A click while the copy waits starts no new gesture: the drag's selection counts.
    drag({400, 100}, "fourth");
    event(Type::LeftMouseDown, {600, 500});
    scheduler.advance(200);
    EXPECT_EQ(state->pasteboardContent(), QString("fourth"));
}

TEST_F(SelectionCopy, MouseDownsCloseTheGuideHideTheButtonAndDismissByFrame)
{
    drag({300, 100}, "sel");
    translation.shown = true;
    event(Type::RightMouseDown, {500, 500}); // inside the translation window
    EXPECT_EQ(monitor.lastPoint(), QPoint(500, 500));
    EXPECT_FALSE(buttonShown());
    EXPECT_EQ(translation.dismissals, 0);
    event(Type::RightMouseDown, {10, 790}); // outside, near the bottom-left corner
    EXPECT_EQ(translation.dismissals, 1);
    EXPECT_EQ(guideCloses, 1) << "the right button never closes the guide";

    drag({300, 100}, "sel");
    QTest::mouseClick(monitor.searchWindow()->searchBtn(), Qt::LeftButton);
    EXPECT_FALSE(buttonShown());
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_EQ(log.calls, QStringList{"hyperTranslate"});

    // Without a device the pointer's drags are not watched; the guide still closes.
    const auto watchesDrags = [this] {
        return std::any_of(mouse.installed.begin(), mouse.installed.end(), [](const auto &entry) {
            return platform::maskMatches(entry.second.first, Type::LeftMouseDragged);
        });
    };
    EXPECT_TRUE(watchesDrags());
    state->setMouseIsConnect(false);
    event(Type::LeftMouseDown, {10, 10});
    EXPECT_FALSE(watchesDrags());
    EXPECT_EQ(guideCloses, 3);
}

} // namespace
