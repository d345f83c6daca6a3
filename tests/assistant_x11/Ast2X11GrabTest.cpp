// The root-window grab against another program's window, with and without a
// compositing manager.
#include "X11Desk.h"
#include "XTestDriver.h"
#include "platform/linux/X11Compositing.h"
#include "platform/linux/X11ScreenGrabber.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

class Ast2X11Grab : public ::testing::TestWithParam<bool> {};

TEST_P(Ast2X11Grab, ThePictureHoldsAnotherProgramsPixels)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server";
    X11Desk desk;
    const bool composited = GetParam();
    if (composited)
        ASSERT_TRUE(desk.startCompositor()) << "xcompmgr did not take the compositing selection";
    EXPECT_EQ(platform::linuxbackend::windowsCanBeTranslucent(), composited);
    ASSERT_TRUE(desk.showPattern({100, 120, 300, 200}));

    platform::linuxbackend::X11ScreenGrabber grabber;
    ASSERT_TRUE(grabber.isAvailable());
    QScreen *screen = QGuiApplication::primaryScreen();
    const QImage part = grabber.grab(screen, {150, 150, 40, 30});
    EXPECT_EQ(part.size(), QSize(40, 30));
    EXPECT_TRUE(X11Desk::showsPattern(part, {50, 30}));
    const QImage whole = grabber.grab(screen);
    EXPECT_EQ(whole.size(), screen->geometry().size());
    EXPECT_TRUE(X11Desk::showsPattern(whole.copy(100, 120, 300, 200), {0, 0}));
    // Past the screen's edge: cut to it.
    const QSize s = screen->geometry().size();
    EXPECT_EQ(grabber.grab(screen, {s.width() - 10, s.height() - 10, 50, 50}).size(), QSize(10, 10));
}

INSTANTIATE_TEST_SUITE_P(Ast2X11, Ast2X11Grab, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "WithXcompmgr" : "Without"; });
