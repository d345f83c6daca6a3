// The loupe on a desktop with a window manager, at the scale factor the run gives
// (1, and 2 in the second run): our main window over another program's picture, a third
// program holding the keyboard, as when presenting.
#include "PrivateOpenbox.h"
#include "X11Desk.h"
#include "XTestDriver.h"

#include "PXLColorSampler.h"
#include "platform/linux/X11ScreenGrabber.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

TEST(FinX11Loupe, PutsTheMainWindowAwayMagnifiesTheDesktopAndLeavesTheFocus)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server";
    PrivateOpenbox openbox;
    ASSERT_TRUE(openbox.ready());
    X11Desk desk;
    ASSERT_TRUE(desk.showPattern({0, 0, 1280, 800})); // in the server's pixels, as the pattern's
    QWidget main;
    QPalette magenta;
    magenta.setColor(QPalette::Window, Qt::magenta);
    main.setPalette(magenta);
    main.setGeometry(120, 60, 360, 280);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const unsigned long presented = desk.showFocused({1100, 680, 120, 80});
    XTestDriver x;
    ASSERT_TRUE(QTest::qWaitFor([&] { return presented && x.inputFocus() == presented; }, 5000));
    const qreal dpr = QGuiApplication::primaryScreen()->devicePixelRatio();
    x.moveTo(QPoint(300, 210) * dpr);
    ASSERT_TRUE(QTest::qWaitFor([] { return QCursor::pos() == QPoint(300, 210); }, 3000));

    platform::linuxbackend::X11ScreenGrabber grabber;
    QtScheduler scheduler;
    PXLColorSampler loupe({{&grabber, {}, nullptr}, {}, {}, [&main] { return &main; }, &scheduler});
    loupe.zoomInPixelZoom(1.5, 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return loupe.window() && !loupe.window()->view().image().isNull(); }, 3000));
    // The 200-point square around the pointer, of the desktop under the window put away.
    EXPECT_TRUE(X11Desk::showsPattern(loupe.window()->view().image(), QPoint(200, 110) * dpr));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(loupe.window()));
    QTest::qWait(200);
    // On the screen, in its pixels: each quarter of the circle, and a corner outside it.
    const QPoint corner = (loupe.window()->geometry().topLeft() + QPoint(3, 3)) * dpr;
    const QImage shown = grabber.grab(QGuiApplication::primaryScreen(), loupe.window()->geometry());
    for (const QPoint at : {QPoint(90, 90), QPoint(210, 90), QPoint(90, 210), QPoint(210, 210)}) {
        const QPoint source = QPoint(200, 110) * dpr + at * dpr / 1.5;
        EXPECT_EQ(shown.pixel(at * dpr) & 0xffffff, patternColour(source.x(), source.y()) & 0xffffff)
            << at.x() << at.y();
    }
    EXPECT_EQ(shown.pixel(QPoint(3, 3) * dpr) & 0xffffff, patternColour(corner.x(), corner.y()) & 0xffffff);

    loupe.dismiss();
    QTest::qWait(300);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(x.inputFocus(), presented);
}
