// The whole capture on the X server: another program's window, a drag and a click by
// XTest, the copy read back by another program, Escape through the real key grab;
// with xcompmgr (translucent overlays, the picture at the tool) and without (the
// picture at the start under opaque overlays).
#include "FakeNeighbours.h"
#include "KeyValueStore.h"
#include "ScopedUserInfoData.h"
#include "X11Desk.h"
#include "XTestDriver.h"

#include "QXSnip.h"
#include "QXSnipToolView.h"
#include "overlay/EscapeArbiter.h"
#include "platform/ShortcutBinder.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/X11Compositing.h"
#include "platform/linux/X11GlobalShortcuts.h"
#include "platform/linux/X11ScreenGrabber.h"

#include <QTest>

#include <X11/keysym.h>

#include <gtest/gtest.h>

class Ast2X11Snip : public ::testing::TestWithParam<bool> {};

TEST_P(Ast2X11Snip, ADragAndTheCopyToolPutThePatternOnTheClipboard)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server";
    X11Desk desk;
    if (GetParam())
        ASSERT_TRUE(desk.startCompositor());
    const QRect window(100, 120, 300, 200);
    ASSERT_TRUE(desk.showPattern(window));

    ScopedUserInfoData user;
    CallLog log;
    FakePopupTips tips(log);
    platform::linuxbackend::X11ScreenGrabber grabber;
    platform::linuxbackend::QtClipboard clipboard;
    platform::linuxbackend::X11GlobalShortcuts keys;
    platform::ShortcutBinder binder(user.store(), &keys);
    EscapeArbiter escape(binder);
    QXSnip::Deps deps;
    deps.state = &user.state();
    deps.tips = &tips;
    deps.clipboard = &clipboard;
    deps.overlays = {&grabber, [] { return platform::linuxbackend::windowsCanBeTranslucent(); }, &escape};
    QtScheduler scheduler;
    deps.scheduler = &scheduler;
    QXSnip snip(deps);
    XTestDriver x;

    snip.startSnip();
    ASSERT_EQ(snip.overlays().size(), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(snip.overlays()[0]));
    QTest::qWait(200);
    x.drag({150, 150}, {250, 230}, 8);
    ASSERT_TRUE(QTest::qWaitFor([&] { return snip.toolView().isVisible(); }, 5000));
    EXPECT_EQ(snip.imageRect(), QRectF(150, 150, 100, 80));
    QTest::qWait(200); // the hole and the bar on the screen
    // The copy button: the bar's right edge on the selection's, 10 below it.
    const QPoint copy(250 - 200 + 40 * QXSnipToolView::kCopy + 20, 230 + 10 + 20);
    x.moveTo(copy);
    x.button(1, true);
    x.button(1, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !snip.isSniping(); }, 5000));
    ASSERT_EQ(tips.tips.size(), 1u);
    const QImage copied = X11Desk::clipboardOfAnotherProgram();
    EXPECT_EQ(copied.size(), QSize(100, 80));
    EXPECT_TRUE(X11Desk::showsPattern(copied, QPoint(150, 150) - window.topLeft()));

    // Escape ends a capture through the key grab, whichever window has the focus.
    snip.startSnip();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(snip.overlays()[0]));
    x.typeKey(XK_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !snip.isSniping(); }, 5000));
    EXPECT_FALSE(escape.isBound());
}

INSTANTIATE_TEST_SUITE_P(Ast2X11, Ast2X11Snip, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "WithXcompmgr" : "Without"; });
