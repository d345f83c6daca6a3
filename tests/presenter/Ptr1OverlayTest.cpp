// The pointer's windows offscreen: the picture they paint over a frozen screen, a
// second start, a missing picture and the black screen.
#include "FakeScreenGrabber.h"
#include "LaserPenOverlays.h"
#include "LaserPenPainting.h"
#include "ManualScheduler.h"
#include "PXLColorSampler.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include <functional>

#include <gtest/gtest.h>

namespace {

struct OverlayWorld {
    FakeScreenGrabber grabber;
    bool compositor = false;
    QPoint pointer{300, 200};
    ManualScheduler scheduler;
    LaserPenOverlays overlays{
        {{&grabber, [this] { return compositor; }, nullptr}, [this] { return pointer; }, {}, {}, &scheduler}};

    static int windows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int n = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            n += qobject_cast<OverlayWindow *>(w) || dynamic_cast<PXLColorSamplerWindow *>(w) ? 1 : 0;
        return n;
    }
    static QColor at(QWidget *w, QPoint p) { return w->grab().toImage().pixelColor(p); }
};

TEST(Ptr1Overlays, OneWindowAtATimeFollowingThePointer)
{
    OverlayWorld w;
    w.overlays.highlighted(0.6, 100);
    PointerOverlay *hl = w.overlays.effectWindow();
    ASSERT_NE(hl, nullptr);
    EXPECT_EQ(hl->kind(), OverlayWindow::Kind::Snapshot);
    EXPECT_TRUE(hl->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(hl->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(hl->pointer(), QPointF(300, 200));

    // It follows the pointer; a second start leaves one window (and one tracking).
    QMouseEvent move(QEvent::MouseMove, QPointF(500, 300), QPointF(500, 300), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(hl, &move);
    EXPECT_EQ(hl->pointer(), QPointF(500, 300));
    w.overlays.showDigitalLightSpot(Qt::blue, 20);
    EXPECT_EQ(OverlayWorld::windows(), 1);
    w.overlays.showDigitalLightSpot(Qt::blue, 20);
    EXPECT_EQ(OverlayWorld::windows(), 1);
    EXPECT_EQ(OverlayWorld::at(w.overlays.effectWindow(), {300, 200}), QColor(Qt::blue));
    w.overlays.hideHighlighted();
    EXPECT_EQ(OverlayWorld::windows(), 0);
    w.overlays.hideHighlighted(); // nothing shown: nothing
}

// Every start replaces the window of its kind: the one before is never left on the screen.
TEST(Ptr1Overlays, RepeatedStartsLeaveOneWindow)
{
    using Start = std::function<void(LaserPenOverlays &)>;
    const Start highlight = [](LaserPenOverlays &o) { o.highlighted(0.6, 100); };
    const Start spot = [](LaserPenOverlays &o) { o.showDigitalLightSpot(Qt::red, 20); };
    const Start zoom = [](LaserPenOverlays &o) { o.zoomIn(80); };
    const Start black = [](LaserPenOverlays &o) { o.showBlackScreen(QStringLiteral("1")); };
    const struct {
        const char *what;
        std::vector<Start> starts;
    } rows[] = {
        {"highlight twice", {highlight, highlight}},
        {"spot twice", {spot, spot}},
        {"highlight, spot", {highlight, spot}},
        {"spot, highlight", {spot, highlight}},
        {"zoom twice", {zoom, zoom}},
        {"black screen twice", {black, black}},
    };
    for (const auto &r : rows) {
        const int before = OverlayWorld::windows(); // what an earlier row may have left
        OverlayWorld w;
        for (const Start &start : r.starts)
            start(w.overlays);
        EXPECT_EQ(OverlayWorld::windows() - before, 1) << r.what;
        w.overlays.hideHighlighted();
        w.overlays.dismissZoom();
        w.overlays.hideBlackScreen();
        EXPECT_EQ(OverlayWorld::windows(), before) << r.what;
    }
}

TEST(Ptr1Overlays, NoPictureWithoutACompositorShowsNothingAndACompositorNeedsNone)
{
    OverlayWorld w;
    w.grabber.failing = true;
    w.overlays.highlighted(0.6, 300);
    EXPECT_EQ(w.overlays.effectWindow(), nullptr);
    w.compositor = true;
    w.overlays.showDigitalLightSpot(Qt::red, 20);
    ASSERT_NE(w.overlays.effectWindow(), nullptr);
    EXPECT_EQ(w.overlays.effectWindow()->kind(), OverlayWindow::Kind::Translucent);
}

TEST(Ptr1Overlays, BlackScreenIsOpaqueWithTheCountdownLabel)
{
    OverlayWorld w;
    w.overlays.showBlackScreen({});
    PointerOverlay *black = w.overlays.blackWindow();
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(w.grabber.grabs, 0);
    const QImage empty = black->grab().toImage();
    w.overlays.showBlackScreen(QStringLiteral("14分59秒"));
    EXPECT_EQ(w.overlays.blackWindow(), black);
    const QImage counting = black->grab().toImage();
    EXPECT_EQ(empty.pixelColor(10, 10), QColor(Qt::black));
    const QRect label = laserpen::countdownLabelRect(black->size()).toRect();
    int white = 0;
    for (int x = label.left(); x < label.right(); x += 2)
        white += counting.pixelColor(x, label.center().y()) != QColor(Qt::black) ? 1 : 0;
    EXPECT_GT(white, 10);
    w.overlays.hideBlackScreen();
    EXPECT_EQ(OverlayWorld::windows(), 0);
}

} // namespace
