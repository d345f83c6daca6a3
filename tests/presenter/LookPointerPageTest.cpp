// The pointer settings page opens on a preview whose bar rows lie one under another.
#include "LaserPenPreviewView.h"
#include "LaserPenSettingViewController.h"
#include "NotificationCenter.h"
#include "Ptr1World.h"

class LookPointerPage : public ::testing::Test, protected Ptr1World {};

TEST_F(LookPointerPage, OpensOnAPreviewWithoutOverlappingRows)
{
    const char *keys[] = {"laserPenHighlightedSwitchKey", "laserPenDigitalLightSpotSwitchKey",
                          "laserPenZoomInSwitchKey", "laserPenDrawSwitchKey"};
    // The first functions switched off, and what the page previews: the first one on.
    for (const auto &[off, previewed] : {std::pair{0, 1}, {1, 2}, {3, 4}, {4, 0}}) {
        for (int i = 0; i < 4; ++i)
            store.setValue(keys[i], i >= off);
        store.setValue("previewIndexKey", -1);
        make();
        LaserPenSettingViewController page({pen.get(), &st(), &NotificationCenter::defaultCenter(), &tips});
        page.view()->resize(880, 720);
        EXPECT_EQ(page.previewView()->figureIndex(), previewed) << off;
        QWidget *bar = page.previewBottomView();
        EXPECT_EQ(bar->isVisibleTo(page.view()), previewed > 0) << off;
        QRegion taken;
        for (QWidget *row : {page.brightnessView(), page.zoomView(), page.colorView()})
            if (previewed > 0 && row->isVisibleTo(bar)) {
                EXPECT_FALSE(taken.intersects(row->geometry())) << off;
                taken += row->geometry();
            }
    }
}
