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
#include <QTest>

#include <gtest/gtest.h>

// A drawing on screen, then a capture over it: the key goes to the newest owner, stays
// grabbed while either holds it, and goes with the last.
TEST(Ast2EscapeArbiter, TheNewestOwnerGetsTheKeyAndTheLastReleasesIt)
{
    MemoryKeyValueStore store;
    FakeGlobalShortcuts keys;
    platform::ShortcutBinder binder(store, &keys);
    EscapeArbiter arbiter(binder);
    QStringList ran;
    EscapeArbiter::Token snip = 0;
    const EscapeArbiter::Token pen = arbiter.acquire([&] { ran << "pen"; });
    snip = arbiter.acquire([&] {
        ran << "snip";
        arbiter.release(snip);
    });
    EXPECT_EQ(keys.grabs.size(), 1u);
    EXPECT_TRUE(keys.press(53) && keys.press(53)) << "the default is Escape without modifiers";
    EXPECT_EQ(ran, (QStringList{"snip", "pen"}));
    arbiter.release(snip); // twice: ignored
    EXPECT_TRUE(keys.isGrabbed(53));
    arbiter.release(pen);
    EXPECT_FALSE(keys.isGrabbed(53));
    EXPECT_FALSE(store.contains(EscapeArbiter::kEscShortcutKey)) << "the default is never written";
}

namespace {
class HoleOverlay : public OverlayWindow {
public:
    using OverlayWindow::OverlayWindow;

protected:
    void paintOverlay(QPainter &p) override
    {
        QPainterPath outside, hole;
        outside.addRect(rect());
        hole.addRect(10, 10, 20, 20);
        paintDesktop(p, outside.subtracted(hole), 0.3);
    }
};
QImage render(QWidget &w)
{
    w.resize(60, 60);
    QImage out(w.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    w.render(&out);
    return out;
}
} // namespace

TEST(Ast2Overlay, TheTwoKindsDimAroundTheHole)
{
    QImage desk(100, 100, QImage::Format_RGB32);
    desk.fill(QColor(200, 100, 50));
    HoleOverlay frozen(QGuiApplication::primaryScreen(), OverlayWindow::Kind::Snapshot, desk);
    const QImage a = render(frozen);
    EXPECT_EQ(a.pixelColor(20, 20), QColor(200, 100, 50)) << "the hole shows the picture";
    EXPECT_NEAR(a.pixelColor(45, 45).red(), 140, 2);
    EXPECT_EQ(a.pixelColor(45, 45).alpha(), 255);

    HoleOverlay live(QGuiApplication::primaryScreen(), OverlayWindow::Kind::Translucent);
    const QImage b = render(live);
    EXPECT_EQ(b.pixelColor(20, 20).alpha(), 0) << "the hole is clear";
    EXPECT_NEAR(b.pixelColor(45, 45).alpha(), 77, 1);
    int escapes = 0;
    QObject::connect(&live, &OverlayWindow::escapePressed, [&] { ++escapes; });
    QTest::keyClick(&live, Qt::Key_Escape);
    EXPECT_EQ(escapes, 1);
}
