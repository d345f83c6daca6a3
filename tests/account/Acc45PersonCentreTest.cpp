// The personal centre and its pages, offscreen: the tile grid's columns and selection,
// the recharge form and its goods row, the account strip, the change-password form,
// the inert login panel, and the centre's tabs and forms together.
#include "PageWorld.h"

#include "NotificationNames.h"
#include "QXLoginView.h"
#include "QXModifyPasswordView.h"
#include "QXPersonCenterView.h"
#include "QXRechargeView.h"
#include "QXUserInfoView.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXSecureTextField.h"
#include "drawing/KitAppearance.h"
#include "views/TileGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void retitle(PageWorld &world)
{
    world.notifications.post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
}

TEST(Acc45TileGrid, ColumnsFollowTheWidthAndOneTileIsSelected)
{
    TileGrid::Metrics m;
    m.insets = QMargins(0, 20, 100, 0);
    for (const auto &[width, columns] : {std::pair{375, 1}, {600, 3}, {10, 1}, {0, 1}, {-50, 1}})
        EXPECT_EQ(TileGrid::columns(width, m), columns) << width;
    m.tileSize = {0, 0};
    m.horizontalMargin = 0;
    EXPECT_EQ(TileGrid::columns(600, m), 1) << "no division by zero";

    TileGrid empty;
    empty.setSource({[] { return 0; }, [](QWidget *p) { return new QWidget(p); }, {}});
    empty.reloadData();
    empty.selectItem(0);
    EXPECT_EQ(empty.selectedIndex(), -1);
}

TEST(Acc45Recharge, NineFixedTilesTheFirstSelectedAtEveryShow)
{
    PageWorld world;
    QXRechargeView form;
    form.resize(375, 400);
    form.show();
    ASSERT_EQ(form.collectionView()->count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(form.item(i)->priceLabel()->text(), "$9.9");
        EXPECT_EQ(form.item(i)->infoLabel()->text(), "录音包60分钟");
    }
    EXPECT_EQ(form.item(0)->geometry().topLeft(), QPoint(0, 20));
    EXPECT_EQ(form.item(1)->geometry().topLeft(), QPoint(0, 110));
    form.resize(600, 400);
    EXPECT_EQ(form.item(1)->geometry().topLeft(), QPoint(165, 20));

    EXPECT_TRUE(form.item(0)->isSelected());
    QTest::mouseClick(form.item(4), Qt::LeftButton);
    EXPECT_TRUE(form.item(4)->isSelected());
    EXPECT_FALSE(form.item(0)->isSelected());
    EXPECT_EQ(form.item(4)->layerStyle().borderColor, qxAccentColor());
    form.initUIData();
    EXPECT_EQ(form.collectionView()->selectedIndex(), 0);

    bool hiddenFirst = false;
    form.sureBtnClicked(); // no block: nothing
    form.sureBlock = [] {};
    form.sureBtnClicked();
    EXPECT_TRUE(form.isVisible());
    form.cancelBlock = [&] { hiddenFirst = form.isHidden(); };
    form.cancelBtnClicked();
    EXPECT_TRUE(hiddenFirst);
}

TEST(Acc45Recharge, AGoodsRowReportsOnlyGoodsNotYetChosen)
{
    RechargeCellView row;
    row.resize(500, 50);
    row.show();
    EXPECT_TRUE(row.radioBtn()->isHidden() && row.contentLabel()->isHidden() && row.priceLabel()->isHidden());
    QList<QString> chosen;
    row.selectedBlock = [&](const QXGoodsSpecsModel &m) { chosen << m.name; };
    QXGoodsSpecsModel goods;
    goods.name = QStringLiteral("A");
    goods.priceShow = QStringLiteral("$1");
    row.setGoodsSpecsModel(goods);
    EXPECT_EQ(row.radioImageName(), "6_radio_nor");
    EXPECT_EQ(row.contentLabel()->text(), "A");
    QTest::mouseClick(row.findChild<QXButton *>(QStringLiteral("row")), Qt::LeftButton, {}, QPoint(490, 25));
    EXPECT_EQ(chosen, QList<QString>{"A"}) << "a click anywhere on the row";
    goods.isSelected = true;
    row.setGoodsSpecsModel(goods);
    EXPECT_EQ(row.radioImageName(), "6_radio_sel");
    row.radioBtnClicked();
    EXPECT_EQ(chosen.size(), 1);
}

TEST(Acc45Forms, StripPasswordFormAndLoginPanel)
{
    PageWorld world;
    QXUserInfoView strip;
    strip.resize(900, 70);
    strip.show();
    strip.modifyPasswordBtnClicked(); // no blocks: nothing
    int presses = 0;
    strip.rechargeBlock = [&] { ++presses; };
    strip.rechargeBtnClicked();
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(strip.nickNameLabel()->pos(), QPoint(20, 10));
    EXPECT_EQ(strip.rechargeBtn()->geometry(), QRect(835, strip.rechargeBtn()->y(), 50, 18));
    const auto children = strip.findChildren<QWidget *>().size();
    retitle(world);
    EXPECT_EQ(strip.findChildren<QWidget *>().size(), children);
    EXPECT_EQ(strip.durtionTimeLabel()->text(), "1024");

    QXModifyPasswordView form;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form.textField(i)->text(), "123");
        EXPECT_EQ(form.textField(i)->echoMode(), QLineEdit::Password);
    }
    form.textField(1)->setText(QStringLiteral("typed"));
    retitle(world);
    EXPECT_EQ(form.textField(1)->text(), "123") << "a re-title puts the filler back";

    QXLoginView panel;
    int beeps = 0;
    panel.setBeep([&] { ++beeps; });
    QApplication::clipboard()->setText(QStringLiteral("12ab"));
    panel.phoneNumTextField()->paste();
    EXPECT_EQ(panel.phoneNumTextField()->text(), "");
    EXPECT_EQ(beeps, 1);
    panel.initUIData();
    EXPECT_EQ(panel.qrCodeImageView()->pixmap().size(), QSize(100, 100));
    panel.changeLoginMode(panel.passwordBtn());
    panel.authCodeTextField()->setText(QStringLiteral("secret"));
    EXPECT_TRUE(panel.authCodeBtn()->isHidden());
    panel.changeLoginMode(panel.passwordBtn());
    EXPECT_EQ(panel.authCodeTextField()->text(), "") << "every switch empties the field";
    retitle(world);
    EXPECT_EQ(panel.authCodeLabel()->text(), "验证码");
    EXPECT_TRUE(panel.authCodeBtn()->isHidden()) << "the mode stays";
}

TEST(Acc45PersonCentre, TabsAndFormsShareTheContentArea)
{
    PageWorld world;
    QXPersonCenterView centre(world.transferAudioView);
    centre.resize(900, 600);
    centre.show();
    const QList<QXButton *> &tabs = centre.btnArray();
    ASSERT_EQ(tabs.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(tabs[i]->geometry().topLeft(), QPoint(20, 110 + 60 * i));
    EXPECT_EQ(tabs[0]->titleColor(), qxAccentColor());
    EXPECT_EQ(tabs[1]->titleColor().alpha(), 204);
    EXPECT_TRUE(centre.transferAudioView()->isVisible());
    EXPECT_EQ(centre.transferAudioView()->geometry(), QRect(140, 110, 760, 490));
    EXPECT_EQ(centre.rechargeView()->geometry(), QRect(100, 110, 375, 490));
    EXPECT_FALSE(centre.loginView()->isVisible());

    // Tab 3 has no page; the password form and its cancel come back to the empty area.
    centre.selectItem(tabs[2]);
    EXPECT_FALSE(centre.transferAudioView()->isVisible());
    centre.userInfoView()->modifyPasswordBtnClicked();
    EXPECT_TRUE(centre.modifyPasswordView()->isVisible());
    EXPECT_EQ(tabs[2]->titleColor(), qxAccentColor());
    centre.modifyPasswordView()->cancelBtnClicked();
    EXPECT_FALSE(centre.modifyPasswordView()->isVisible());
    EXPECT_FALSE(centre.transferAudioView()->isVisible());

    // With tab 1 the transcription page comes back; the recharge form starts over each time.
    centre.selectItem(tabs[0]);
    const int inits = centre.rechargeView()->initCount();
    centre.userInfoView()->rechargeBtnClicked();
    centre.rechargeView()->collectionView()->selectItem(4);
    centre.userInfoView()->rechargeBtnClicked();
    EXPECT_EQ(centre.rechargeView()->initCount(), inits + 2);
    EXPECT_EQ(centre.rechargeView()->collectionView()->selectedIndex(), 0);
    centre.rechargeView()->cancelBtnClicked();
    EXPECT_TRUE(centre.transferAudioView()->isVisible());

    // Language storms keep the selection and the widget count; an unknown button hides all.
    centre.selectItem(tabs[1]);
    const auto widgets = centre.findChildren<QWidget *>().size();
    for (int i = 0; i < 5; ++i)
        retitle(world);
    EXPECT_EQ(centre.findChildren<QWidget *>().size(), widgets);
    EXPECT_EQ(centre.currentSelectBtn(), tabs[1]);
    QXButton stray;
    stray.setTag(1);
    centre.selectItem(&stray);
    EXPECT_FALSE(centre.transferAudioView()->isVisible());
}

} // namespace
