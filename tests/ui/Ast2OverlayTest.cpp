// The layer under every full-screen effect: the escape key's owners and the two
// overlay kinds' painting.
#include "FakeGlobalShortcuts.h"
#include "KeyValueStore.h"
#include "overlay/EscapeArbiter.h"
#include "overlay/OverlayWindow.h"
#include "platform/ShortcutBinder.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int kEscape = 53;

struct EscapeWorld {
    MemoryKeyValueStore store;
    FakeGlobalShortcuts keys;
    platform::ShortcutBinder binder{store, &keys};
    EscapeArbiter arbiter{binder};
};

} // namespace

// Two owners (a drawing on screen, then a capture over it): the key goes to the newest,
// stays grabbed while either holds it, and is released with the last.
TEST(Ast2EscapeArbiter, TheNewestOwnerGetsTheKeyAndTheLastReleasesIt)
{
    EscapeWorld w;
    EXPECT_FALSE(w.keys.isGrabbed(kEscape));
    QStringList ran;
    EscapeArbiter::Token pen = 0, snip = 0;
    pen = w.arbiter.acquire([&] { ran << "pen"; });
    EXPECT_TRUE(w.keys.isGrabbed(kEscape)) << "the registered default is Escape without modifiers";
    snip = w.arbiter.acquire([&] {
        ran << "snip";
        w.arbiter.release(snip);
    });
    EXPECT_EQ(w.keys.grabs.size(), 1u) << "one grab for both owners";
    EXPECT_TRUE(w.keys.press(kEscape));
    EXPECT_TRUE(w.keys.press(kEscape));
    EXPECT_EQ(ran, (QStringList{"snip", "pen"})) << "the capture ended, then the drawing still ends";
    w.arbiter.release(snip); // twice: ignored
    EXPECT_TRUE(w.keys.isGrabbed(kEscape));
    w.arbiter.release(pen);
    EXPECT_FALSE(w.keys.isGrabbed(kEscape));
    EXPECT_FALSE(w.arbiter.isBound());
    w.arbiter.escape(); // nobody: nothing
    EXPECT_EQ(ran.size(), 2);
    // The default is never written; a stored shortcut replaces it.
    EXPECT_FALSE(w.store.contains(EscapeArbiter::kEscShortcutKey));
    w.binder.setShortcut(EscapeArbiter::kEscShortcutKey, platform::Shortcut{12, 0});
    w.arbiter.acquire([] {});
    EXPECT_TRUE(w.keys.isGrabbed(12));
    EXPECT_FALSE(w.keys.isGrabbed(kEscape));
}

namespace {
// Dims everything but a hole, as the capture does.
class DimmedOverlay : public OverlayWindow {
public:
    using OverlayWindow::OverlayWindow;
    QRect hole{10, 10, 20, 20};

protected:
    void paintOverlay(QPainter &p) override
    {
        QPainterPath outside;
        outside.addRect(rect());
        QPainterPath inside;
        inside.addRect(hole);
        paintDesktop(p, outside.subtracted(inside), 0.3);
    }
};

QImage render(QWidget &w)
{
    QImage out(w.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    w.render(&out, {}, {}, QWidget::DrawChildren);
    return out;
}
} // namespace

TEST(Ast2Overlay, TheTwoKindsDimAroundTheHole)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    QImage desk(screen->geometry().size(), QImage::Format_RGB32);
    desk.fill(QColor(200, 100, 50));

    DimmedOverlay frozen(screen, OverlayWindow::Kind::Snapshot, desk);
    frozen.resize(60, 60);
    const QImage a = render(frozen);
    EXPECT_EQ(a.pixelColor(20, 20), QColor(200, 100, 50)) << "the hole shows the picture as it was";
    const QColor dimmed = a.pixelColor(45, 45);
    EXPECT_NEAR(dimmed.red(), 140, 2);
    EXPECT_NEAR(dimmed.green(), 70, 2);
    EXPECT_EQ(dimmed.alpha(), 255) << "opaque: no compositor to blend it";

    DimmedOverlay live(screen, OverlayWindow::Kind::Translucent);
    live.resize(60, 60);
    const QImage b = render(live);
    EXPECT_EQ(b.pixelColor(20, 20).alpha(), 0) << "the hole is clear, the live desktop shows";
    EXPECT_NEAR(b.pixelColor(45, 45).alpha(), 77, 1);
    EXPECT_EQ(b.pixelColor(45, 45).red(), 0);

    QSignalSpy escape(&live, &OverlayWindow::escapePressed);
    QTest::keyClick(&live, Qt::Key_Escape);
    EXPECT_EQ(escape.size(), 1);
    EXPECT_EQ(OverlayWindow::kindFor(false), OverlayWindow::Kind::Snapshot);
}
