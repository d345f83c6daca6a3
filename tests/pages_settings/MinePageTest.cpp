// The Mine page and its device panel over PageWorld's recorders.
#include "MineContentView.h"
#include "MineViewController.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "SettingsPages.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "windows/PageFactory.h"
#include "windows/TabBarEntries.h"

TEST(Pgs7MinePage, PanelTextsSerialNumberAndSwitches)
{
    PageWorld world;
    const QStringList before = world.data.store().keys();
    MineContentView panel(world.context());
    QStringList texts;
    for (int n = 1; n <= 6; ++n)
        texts << panel.tipLabel(n)->text();
    EXPECT_EQ(texts,
              QStringList({"我的设备", "自动删除录音", "录音过程中指示灯熄灭", "电量:", "固件版本:", "设备序列号:"}));
    EXPECT_EQ(panel.electricLabel()->text(), "100%");
    EXPECT_EQ(panel.firmwareVersionLabel()->text(), "版本1.0.0");
    EXPECT_EQ(panel.tipLabel(6)->geometry().top() - panel.tipLabel(5)->geometry().bottom() - 1, 15);
    EXPECT_EQ(panel.snLabel()->x(), MineContentView::kValueLeft);

    // Switches: off with nothing stored, and building wrote nothing; a click stores at once.
    EXPECT_EQ(panel.autoDelRecordBtn()->property("imageName"), "2_switch_off_icon");
    EXPECT_EQ(panel.ledBtn()->property("imageName"), "2_switch_off_icon");
    EXPECT_EQ(world.data.store().keys(), before);
    panel.autoDelRecordBtn()->click();
    EXPECT_EQ(panel.autoDelRecordBtn()->property("imageName"), "2_switch_on_icon");
    EXPECT_TRUE(world.data.store().value(QString::fromLatin1(MineContentView::kAutoDeleteRecordKey)).toBool());
    EXPECT_FALSE(world.data.store().contains(QString::fromLatin1(MineContentView::kRecordLedOffKey)));
    // The serial number waits for the device's information.
    EXPECT_EQ(panel.snLabel()->text(), "");
    world.state().mouseInfoItem().setSn(QStringLiteral("S9"));
    EXPECT_EQ(panel.snLabel()->text(), "");
    world.notifications.post(QString::fromLatin1(qx::notify::HadUSBInfoNotification));
    EXPECT_EQ(panel.snLabel()->text(), "S9");
    // Device text is shown as text, and a long one is cut to the line.
    world.state().mouseInfoItem().setSn(QStringLiteral("<b>x</b>") + QString(500, u'7'));
    world.notifications.post(QString::fromLatin1(qx::notify::HadUSBInfoNotification));
    EXPECT_EQ(panel.snLabel()->textFormat(), Qt::PlainText);
    EXPECT_TRUE(panel.snLabel()->text().startsWith(QStringLiteral("<b>x</b>77")));
    EXPECT_TRUE(panel.snLabel()->text().endsWith(QChar(0x2026)));

    MineContentView again(world.context());
    EXPECT_EQ(again.autoDelRecordBtn()->property("imageName"), "2_switch_on_icon");
}

TEST(Pgs7MinePage, TheTableOffersThePageWithItsPanelUnderTheHeaderItRefreshes)
{
    PageWorld world;
    PageFactory pages(world.context(), {settingsPages()});
    std::unique_ptr<QXBaseViewController> made = pages.makePage(viewtag::kMine);
    auto *mine = qobject_cast<MineViewController *>(made.get());
    ASSERT_NE(mine, nullptr);
    mine->view()->resize(880, 720);
    mine->view()->show();
    ASSERT_EQ(world.accountHeaders.made.size(), 1u);
    auto *header = static_cast<FakeAccountHeaderView *>(world.accountHeaders.made[0].data());
    EXPECT_EQ(mine->headerView(), header);
    EXPECT_EQ(header->geometry(), QRect(0, 50, 880, 110));
    EXPECT_EQ(mine->contentView()->geometry(), QRect(0, 160, 880, 560));
    // The page's own refresh and the main window's (which finds the header in the view).
    mine->getUserInfo();
    pages.getUserInfo(*mine);
    EXPECT_EQ(header->refreshes, 2);
}
