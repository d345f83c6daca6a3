// The device page's product picture stands beside the key rows' drop-downs.
#include "KeySettingView.h"
#include "MouseSettingViewController.h"
#include "ProfileWorld.h"
#include "controls/QXPopUpButton.h"

#include <QLabel>

TEST(LookDevicePage, PictureBesideTheKeyRowsScaledToItsRoom)
{
    for (const auto &[width, side] : {std::pair{880, 310}, {1280, 310}}) {
        ProfileWorld w;
        MouseSettingViewController vc(w.page.context());
        vc.view()->resize(width, 720);
        vc.view()->show();
        vc.profile().handleModelInfo(
            ProfileWorld::json(
                R"({"keyInfos":[{"key":"1","name":"k","childs":[{"name":"p","childs":[{"name":"o"}]}]}]})"),
            "523", "S9");
        const QRect picture = vc.mouseTypeImageView()->geometry();
        EXPECT_EQ(picture.size(), QSize(side, side)) << width;
        EXPECT_TRUE(vc.view()->rect().contains(picture)) << width;
        ASSERT_FALSE(vc.keyViews().isEmpty());
        for (KeySettingView *block : vc.keyViews())
            for (KeySettingSubView *row : block->rows()) {
                const QWidget *menu = row->popUpBtn();
                EXPECT_FALSE(QRect(menu->mapTo(vc.view(), QPoint()), menu->size()).intersects(picture))
                    << width << ": " << menu->mapTo(vc.view(), QPoint()).x() << "+" << menu->width() << " vs "
                    << picture.x();
            }
    }
}
