// The highlight and the light spot as the X server shows them over another program's
// window: the root window's picture, with and without a compositing manager.
#include "LaserPenOverlays.h"
#include "X11Desk.h"
#include "XTestDriver.h"
#include "platform/linux/X11Compositing.h"
#include "platform/linux/X11ScreenGrabber.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Ptr1X11Overlay : public ::testing::TestWithParam<bool> {};

// The root window's pixel once our window has been drawn and composited.
QColor shown(platform::IScreenGrabber &grabber, QWidget *window, QPoint at)
{
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(300);
    return grabber.grab(QGuiApplication::primaryScreen(), {at, QSize(1, 1)}).pixelColor(0, 0);
}

TEST_P(Ptr1X11Overlay, HoleAndSpotOverAnotherProgramsWindow)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server";
    X11Desk desk;
    const bool composited = GetParam();
    if (composited)
        ASSERT_TRUE(desk.startCompositor()) << "xcompmgr did not take the compositing selection";
    const QRect pattern(100, 120, 400, 300);
    ASSERT_TRUE(desk.showPattern(pattern));

    platform::linuxbackend::X11ScreenGrabber grabber;
    const QPoint pointer = pattern.topLeft() + QPoint(200, 150);
    QtScheduler scheduler;
    LaserPenOverlays overlays({{&grabber, [] { return platform::linuxbackend::windowsCanBeTranslucent(); }, nullptr},
                               [&] { return pointer; },
                               {},
                               {},
                               &scheduler});
    const auto desktop = [&](QPoint p) { return QColor(patternColour(p.x() - 100, p.y() - 120)); };

    overlays.highlighted(0.6, 100);
    PointerOverlay *hl = overlays.effectWindow();
    ASSERT_NE(hl, nullptr);
    EXPECT_EQ(hl->kind(), composited ? OverlayWindow::Kind::Translucent : OverlayWindow::Kind::Snapshot);
    const QPoint inHole = pointer + QPoint(10, 5), outside = pattern.topLeft() + QPoint(20, 20);
    EXPECT_EQ(shown(grabber, hl, inHole), desktop(inHole));
    const QColor dark = shown(grabber, hl, outside);
    EXPECT_NEAR(dark.red(), desktop(outside).red() * 0.4, 3);
    EXPECT_NEAR(dark.green(), desktop(outside).green() * 0.4, 3);

    overlays.showDigitalLightSpot(Qt::red, 20);
    PointerOverlay *spot = overlays.effectWindow();
    ASSERT_NE(spot, nullptr);
    EXPECT_EQ(shown(grabber, spot, pointer), QColor(Qt::red));
    const QPoint beside = pointer + QPoint(30, 0);
    EXPECT_EQ(shown(grabber, spot, beside), desktop(beside));

    overlays.hideHighlighted();
    QTest::qWait(300);
    EXPECT_EQ(grabber.grab(QGuiApplication::primaryScreen(), {pointer, QSize(1, 1)}).pixelColor(0, 0),
              desktop(pointer));
}

INSTANTIATE_TEST_SUITE_P(Ptr1X11, Ptr1X11Overlay, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "WithXcompmgr" : "Without"; });

} // namespace
