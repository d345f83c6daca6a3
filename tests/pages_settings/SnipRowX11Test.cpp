// The screenshot row's recorder moving the capture shortcut on a real X server: keys
// typed through XTest reach the grab of X11GlobalShortcuts.
#include "PageWorld.h"
#include "SnipShortcut.h"
#include "SnipTranslateView.h"
#include "XTestDriver.h"
#include "controls/ShortcutRecorder.h"
#include "platform/linux/X11GlobalShortcuts.h"

#include <QTest>

#include <X11/keysym.h>

#include <gtest/gtest.h>

TEST(Pgs5X11, RecordedAltDReplacesAltS)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server; run under xvfb-run";
    platform::linuxbackend::X11GlobalShortcuts x11;
    PageWorld world(x11);
    world.state().setMouseIsConnect(true);
    ASSERT_TRUE(bindSnipShortcut(world.shortcuts, world.state(), world.neighbours.translate)); // as at launch
    SnipTranslateView row(world.context());
    row.show();
    XTestDriver driver;
    const auto altKey = [&](unsigned long keysym) {
        driver.key(XK_Alt_L, true);
        driver.key(keysym, true);
        driver.key(keysym, false);
        driver.key(XK_Alt_L, false);
    };
    const auto snips = [&] { return world.log.count("snipTranslate"); };

    altKey(XK_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return snips() == 1; }, 5000)) << snips();

    QTest::mouseClick(row.shortcutsView(), Qt::LeftButton, {}, QPoint(40, 17));
    QTest::keyClick(row.shortcutsView(), Qt::Key_D, Qt::AltModifier);
    altKey(XK_s);
    altKey(XK_d);
    EXPECT_TRUE(QTest::qWaitFor([&] { return snips() == 2; }, 5000)) << snips();
    QTest::qWait(300); // Alt+S, released, must not have fired in between
    EXPECT_EQ(snips(), 2);
}
