// The loupe: a 300-point circle showing the 200-point square under the pointer at 1.5 times.
#include "Ptr2World.h"

#include "PXLColorSampler.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {
QImage rgb(const QImage &i)
{
    return i.convertToFormat(QImage::Format_RGB32);
}
int visibleLoupes()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += dynamic_cast<PXLColorSamplerWindow *>(w) && w->isVisible() ? 1 : 0;
    return n;
}
} // namespace

TEST(Ptr2Loupe, FollowsThePointerOnEitherScreen)
{
    Ptr2World w;
    PXLColorSampler loupe({w.overlays(), w.pointerFn(), {}, {}, &w.scheduler});
    w.pointer = {500, 500};
    loupe.zoomInPixelZoom(1.5, 300);
    loupe.zoomInPixelZoom(1.5, 300);
    EXPECT_EQ(visibleLoupes(), 1) << "opening again drops the first window";
    PXLColorSamplerWindow &win = *loupe.window();
    EXPECT_EQ(win.geometry(), QRect(500, 200, 300, 300)) << "its lower-left corner at the pointer";
    w.scheduler.advance(PXLColorSampler::kFollowMs);
    EXPECT_EQ(win.geometry(), QRect(350, 350, 300, 300));
    EXPECT_EQ(rgb(win.view().image()), w.desktop(0, {400, 400, 200, 200}));

    // The second screen, 1080 high: the square follows the global position.
    w.pointer = {1700, 500};
    w.scheduler.advance(PXLColorSampler::kFollowMs);
    EXPECT_EQ(rgb(win.view().image()), w.desktop(1, {0, 400, 200, 200}));
    // At the first screen's left edge the outside is transparent.
    w.pointer = {50, 500};
    w.scheduler.advance(PXLColorSampler::kFollowMs);
    const QImage edge = win.view().image();
    EXPECT_EQ(edge.pixelColor(49, 100).alpha(), 0);
    EXPECT_EQ(rgb(edge.copy(50, 0, 150, 200)), w.desktop(0, {0, 400, 150, 200}));
    // Off every screen: nothing moves.
    w.pointer = {-500, -500};
    w.scheduler.advance(PXLColorSampler::kFollowMs);
    EXPECT_EQ(win.pos(), QPoint(-100, 350));

    // A failed grab at the next opening: the last picture stays.
    loupe.dismiss();
    loupe.dismiss();
    EXPECT_EQ(visibleLoupes(), 0);
    const QImage before = w.desktop(0, {400, 400, 200, 200});
    w.grabber.failing = true;
    w.pointer = {500, 500};
    loupe.zoomInPixelZoom(1.5, 300);
    w.scheduler.advance(PXLColorSampler::kFollowMs);
    EXPECT_EQ(rgb(loupe.window()->view().image()), before);
    loupe.dismiss();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(visibleLoupes(), 0);
    for (QWidget *t : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<PXLColorSamplerWindow *>(t), nullptr) << "dropped windows are deleted";
}

// One-pixel stripes come out as sharp 1.5-pixel stripes; outside the circle is clear.
TEST(Ptr2Loupe, MagnifiedPixelsStaySquare)
{
    PXLColorSamplerView view;
    view.resize(300, 300);
    QImage stripes(200, 200, QImage::Format_RGB32);
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 200; ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    view.setImage(stripes);
    QImage shot(300, 300, QImage::Format_ARGB32_Premultiplied);
    shot.fill(Qt::transparent);
    view.render(&shot);
    EXPECT_EQ(shot.pixelColor(3, 3).alpha(), 0);
    for (int x = 60; x < 120; ++x) {
        const QRgb c = shot.pixel(x, 100) & 0xffffff;
        EXPECT_TRUE(c == 0 || c == 0xffffff) << "blended at " << x;
        EXPECT_EQ(c, (int(x / 1.5) % 2) ? 0xffffffu : 0u) << x;
    }
}
