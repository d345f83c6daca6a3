// The loupe over another program's window on the X server: the right pixels, magnified.
#include "X11Desk.h"
#include "XTestDriver.h"

#include "KeyValueStore.h"
#include "PXLColorSampler.h"
#include "overlay/EscapeArbiter.h"
#include "platform/ShortcutBinder.h"
#include "platform/linux/X11GlobalShortcuts.h"
#include "platform/linux/X11ScreenGrabber.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

TEST(Ptr2X11Loupe, MagnifiesThePixelsUnderThePointer)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server";
    X11Desk desk;
    const QRect window(100, 120, 300, 200);
    ASSERT_TRUE(desk.showPattern(window));
    XTestDriver x;
    x.moveTo({250, 220});
    ASSERT_TRUE(QTest::qWaitFor([] { return QCursor::pos() == QPoint(250, 220); }, 3000));

    platform::linuxbackend::X11ScreenGrabber grabber;
    QtScheduler scheduler;
    PXLColorSampler loupe({{&grabber, {}, nullptr}, {}, {}, {}, &scheduler});
    loupe.zoomInPixelZoom(1.5, 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !loupe.window()->view().image().isNull(); }, 3000));
    // The 200-point square around the pointer, all on the pattern window.
    EXPECT_TRUE(X11Desk::showsPattern(loupe.window()->view().image(), QPoint(150, 120) - window.topLeft()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(loupe.window()));
    EXPECT_EQ(loupe.window()->geometry(), QRect(100, 70, 300, 300));
    QTest::qWait(200);
    // On the screen: loupe point (x, y) shows capture pixel (x / 1.5, y / 1.5).
    const QImage shown = grabber.grab(QGuiApplication::primaryScreen(), loupe.window()->geometry());
    for (const QPoint at : {QPoint(90, 120), QPoint(200, 210), QPoint(121, 61)}) {
        const QPoint source = QPoint(150, 120) - window.topLeft() + QPoint(int(at.x() / 1.5), int(at.y() / 1.5));
        EXPECT_EQ(shown.pixel(at) & 0xffffff, patternColour(source.x(), source.y()) & 0xffffff)
            << at.x() << "," << at.y();
    }
    loupe.dismiss();
}
