// The screen capture on one offscreen screen, over the fakes of SnipWorld.
#include "SnipGeometry.h"
#include "SnipWorld.h"

#include <QApplication>
#include <QTemporaryDir>

using namespace snipgeometry;

TEST(Ast2SnipGeometry, SelectionToolBarAndCrop)
{
    EXPECT_EQ(selection({100, 250}, {40, 200}), QRectF(40, 200, 60, 50)) << "either way a drag goes";
    EXPECT_EQ(selection({40, 200}, {100, 250}), QRectF(40, 200, 60, 50));
    // Right-aligned, 10 below; left off the screen as it falls.
    EXPECT_EQ(toolBarFrame({100, 600, 200, 100}), QRectF(100, 710, 200, 40));
    EXPECT_EQ(toolBarFrame({10, 850, 50, 40}), QRectF(-140, 900, 200, 40));
    struct Row {
        QRectF sel;
        double dpr;
        QSize bitmap;
        QRect crop;
    } rows[] = {
        {{10, 830, 100, 50}, 2, {2880, 1800}, {20, 1660, 200, 100}},      // a double-density screen
        {{10.3, 829.3, 100.2, 50.1}, 1, {1440, 900}, {10, 829, 101, 51}}, // widened to whole pixels
        {{1400, 880, 100, 50}, 1, {1440, 900}, {1400, 880, 40, 20}},      // cut to the picture
        {{100, 100, 0, 0}, 1, {1440, 900}, {}},                           // a click: nothing
    };
    for (const Row &r : rows)
        EXPECT_EQ(cropRect(r.sel, r.dpr, r.bitmap), r.crop) << r.sel.x();
}

class Ast2Snip : public ::testing::TestWithParam<bool> {
protected:
    Ast2Snip() { w.compositor = GetParam(); }
    SnipWorld w;
};

// Every tool after a drag. With a compositor the screen is taken at the tool (none for
// cancel), without one at the start, after the translation window has gone.
TEST_P(Ast2Snip, EachToolWorksOnTheDraggedRectangle)
{
    QTemporaryDir dir;
    for (int tool = 0; tool <= 4; ++tool) {
        SCOPED_TRACE(tool);
        w.grabber.grabs = 0;
        w.translation.shown = true;
        w.snip.startSnip();
        w.scheduler.advance(QXSnip::kSettleMs);
        ASSERT_EQ(w.snip.overlays().size(), 1);
        EXPECT_FALSE(w.translation.shown);
        EXPECT_TRUE(w.user->isScreenshotsTranslate());
        w.drag({300, 250}, {100, 100});
        EXPECT_EQ(w.snip.imageRect(), QRectF(100, 100, 200, 150));
        EXPECT_EQ(w.snip.toolView().geometry(), QRect(100, 260, 200, 40));
        w.snip.toolSelectedWithIndex(tool);
        EXPECT_TRUE(w.snip.overlays().isEmpty());
        EXPECT_FALSE(w.keys.isGrabbed(SnipWorld::kEscape));
        EXPECT_EQ(w.grabber.grabs, GetParam() && tool == 4 ? 0 : 1);
    }
    const QImage crop = w.desktop({100, 100, 200, 150});
    ASSERT_EQ(w.translated.size(), 2u);
    EXPECT_EQ(w.translated[0], crop);
    EXPECT_EQ(w.ocr, (std::vector<bool>{true, false})) << "recognise only, then with the translation";
    EXPECT_EQ(w.clipboard.image().convertToFormat(QImage::Format_RGB32), crop);
    ASSERT_EQ(w.tips.tips.size(), 1u);
    EXPECT_EQ(w.tips.tips[0].second, "success_icon");
    ASSERT_EQ(w.files.asked.size(), 1u);
    EXPECT_EQ(w.files.asked[0].request.suggestedName, "1700000000.png");
    EXPECT_EQ(w.files.asked[0].request.directory, w.user->screenshotsPath());
    w.files.answer(dir.filePath("new/1700000000.png"));
    EXPECT_EQ(QImage(dir.filePath("new/1700000000.png")).convertToFormat(QImage::Format_RGB32), crop);
}

// A click without a drag after a real capture, a second start, a press off every
// overlay, presses after the release, Escape mid-drag, a failed grab, an unwritable file.
TEST_P(Ast2Snip, BadInputEndsCleanly)
{
    w.snip.startSnip();
    w.drag({10, 10}, {60, 60});
    w.snip.toolSelectedWithIndex(4);
    w.snip.startSnip();
    w.snip.startSnip();
    EXPECT_EQ(w.snip.overlays().size(), 1);
    w.snip.mouseDown({5000, 5000});
    EXPECT_FALSE(w.snip.isStart());
    QTest::mouseClick(w.overlay(), Qt::LeftButton, {}, {200, 200});
    EXPECT_EQ(w.snip.toolView().geometry(), QRect(0, 210, 200, 40));
    w.drag({300, 300}, {400, 400});
    EXPECT_TRUE(w.snip.imageRect().isEmpty()) << "neither the last capture's rectangle nor a second drag";
    w.snip.toolSelectedWithIndex(3);
    w.snip.startSnip();
    QTest::mouseClick(w.overlay(), Qt::LeftButton, {}, {200, 200});
    w.snip.toolSelectedWithIndex(0);
    w.snip.startSnip();
    QTest::mousePress(w.overlay(), Qt::LeftButton, {}, {10, 10});
    QTest::mouseMove(w.overlay(), {80, 80});
    EXPECT_TRUE(w.keys.press(SnipWorld::kEscape));
    EXPECT_TRUE(w.snip.overlays().isEmpty());
    w.snip.toolSelectedWithIndex(3);
    EXPECT_TRUE(w.clipboard.imageWrites == 0 && w.tips.tips.empty() && w.translated.empty() && w.ocr.empty());

    // No picture: without a compositor no capture (and a tip); with one the tools get nothing.
    w.grabber.failing = true;
    w.snip.startSnip();
    EXPECT_EQ(w.snip.isSniping(), GetParam());
    w.snip.mouseDown({10, 10});
    w.snip.mouseDragged({60, 60});
    w.snip.mouseUp();
    w.snip.toolSelectedWithIndex(3);
    EXPECT_EQ(w.clipboard.imageWrites, 0);
    EXPECT_EQ(w.tips.tips.size(), GetParam() ? 0u : 1u);
    w.grabber.failing = false;

    QTemporaryDir dir;
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    w.tips.tips.clear();
    w.snip.startSnip();
    w.drag({10, 10}, {60, 60});
    w.snip.toolSelectedWithIndex(2);
    w.files.answer(dir.filePath("blocker/x.png"));
    ASSERT_EQ(w.tips.tips.size(), 1u);
    EXPECT_EQ(w.tips.tips[0].second, "error_icon");
}

INSTANTIATE_TEST_SUITE_P(Ast2, Ast2Snip, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Translucent" : "Snapshot"; });

// The main window not in use goes before the picture; Escape while waiting takes none;
// a session without screen pictures (native Wayland) starts nothing.
TEST(Ast2SnipStart, HiddenWindowsGoFirstAndNoPictureMeansNoCapture)
{
    SnipWorld w;
    QWidget main, other;
    other.show();
    QApplication::setActiveWindow(&other);
    main.show();
    QXSnip::Deps deps = w.deps();
    deps.mainWindow = [&main] { return &main; };
    QXSnip snip(deps);
    snip.startSnip();
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(w.grabber.grabs, 0);
    w.scheduler.advance(QXSnip::kSettleMs);
    EXPECT_EQ(snip.overlays().size(), 1);
    snip.dismissFullWindow();
    main.show();
    snip.startSnip();
    snip.dismissFullWindow();
    w.scheduler.advance(1000);
    EXPECT_EQ(w.grabber.grabs, 1);

    w.grabber.available = false;
    snip.startSnip();
    EXPECT_FALSE(snip.isSniping() || w.keys.isGrabbed(SnipWorld::kEscape));
    ASSERT_EQ(w.tips.tips.size(), 1u);
    EXPECT_EQ(w.tips.tips[0].second, "error_icon");
}
