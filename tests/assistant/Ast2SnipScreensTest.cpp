// The capture on two screens side by side (offscreen, from data/two_screens.json):
// 1600 x 900 at (0, 0) and 1920 x 1080 at (1600, 0).
#include "SnipWorld.h"

TEST(Ast2SnipScreens, OneOverlayEachAndTheDragStaysOnItsScreen)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2) << "the offscreen platform did not read its screen file";
    SnipWorld w;
    w.snip.startSnip();
    ASSERT_EQ(w.snip.overlays().size(), 2);
    EXPECT_EQ(w.grabber.grabs, 2);
    EXPECT_EQ(w.snip.overlays()[1]->geometry(), QRect(1600, 0, 1920, 1080));

    w.snip.mouseDown({1700, 100});
    EXPECT_EQ(w.snip.currentScreenIndex(), 1);
    w.snip.mouseDragged({1750, 150});
    w.snip.mouseDragged({1500, 300}); // on the first screen: the selection waits
    EXPECT_EQ(w.snip.imageRect(), QRectF(100, 100, 50, 50));
    w.snip.mouseDragged({1900, 300});
    w.snip.mouseUp();
    EXPECT_EQ(w.snip.imageRect(), QRectF(100, 100, 200, 200));
    EXPECT_EQ(w.snip.toolView().parentWidget(), w.snip.overlays()[1]);
    w.snip.toolSelectedWithIndex(3);
    EXPECT_EQ(w.clipboard.image().convertToFormat(QImage::Format_RGB32), w.desktop({100, 100, 200, 200}, 1));
}
