// The status item's two states, the guide and the two ways to quit, on virtual time.
#include "ShellWorld.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "tray/GuidePopover.h"
#include "tray/QXGuideViewController.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <thread>

namespace {
bool guideShown(ShellWorld &w)
{
    return w.status->popover() && w.status->popover()->isVisible();
}
} // namespace

TEST(StatusItem, ConnectedBuildsGiveOneItemWithAFreshMenuAndOpenTheWindowOnceAfterLaunch)
{
    ShellWorld w;
    w.build(true);
    w.scheduler.advance(200);
    w.build(true);
    EXPECT_EQ(w.item.created, 1);
    EXPECT_EQ(w.item.imageName, "Icon");
    EXPECT_EQ(w.item.toolTip, "Quorvex Companion");
    EXPECT_EQ(w.item.menuTitles(), QStringList({"打开Quorvex", "退出Quorvex"}));
    EXPECT_TRUE(w.facade.isTimerRunning());
    EXPECT_EQ(w.rebinds, 2);

    w.scheduler.advance(799);
    EXPECT_EQ(w.shell.opened, 0);
    w.scheduler.advance(1);
    EXPECT_EQ(w.shell.opened, 1);
    w.scheduler.advance(4000);
    w.build(true);
    w.scheduler.advance(2000);
    EXPECT_EQ(w.shell.opened, 1);

    w.item.click(0);
    EXPECT_EQ(w.shell.opened, 2);
    EXPECT_TRUE(w.log.calls.isEmpty()) << w.log.calls.join(", ").toStdString();

    // Plugging and unplugging in a hurry never stacks items or menus.
    for (int i = 0; i < 20; ++i)
        w.build(i % 2 == 0);
    EXPECT_EQ(w.item.created, 1);
    EXPECT_TRUE(w.item.menu.isEmpty());
    w.build(true);
    EXPECT_EQ(w.item.menu.size(), 2);
}

TEST(StatusItem, DisconnectedBuildClearsTheScreenAndTheItemTogglesTheGuide)
{
    ShellWorld w;
    w.mainWindow.show();
    w.build(true);
    w.build(false);
    EXPECT_EQ(w.item.imageName, "Icon_Dis");
    EXPECT_TRUE(w.item.menu.isEmpty());
    EXPECT_FALSE(w.mainWindow.isVisible());
    EXPECT_FALSE(w.facade.isTimerRunning());
    EXPECT_EQ(w.log.calls, QStringList({"hiddenWindow", "cancelAsr"}));
    EXPECT_EQ(w.status->popover(), nullptr) << "the guide is made when first shown";

    w.item.click();
    ASSERT_TRUE(guideShown(w));
    EXPECT_TRUE(w.status->isShow());
    EXPECT_EQ(w.status->popover()->mode(), GuidePopover::Mode::Popover);
    EXPECT_TRUE(w.status->popover()->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    QXGuideViewController &guide = w.status->guideVC();
    EXPECT_EQ(guide.tipLabel1()->text(), "未监测到设备");
    EXPECT_EQ(guide.tipLabel2()->text(), "连接设备后，开始使用");
    EXPECT_EQ(guide.exitBtn()->title(), "退出Quorvex");

    w.item.click();
    EXPECT_FALSE(guideShown(w));
    EXPECT_FALSE(w.status->isShow());

    // Global mouse-downs close it, except the one of the item's own click, which
    // toggles it: a second click on the item closes the guide.
    w.item.click();
    w.status->closePopoverForMouseDownAt(w.item.rect.center());
    EXPECT_TRUE(guideShown(w));
    w.item.click();
    EXPECT_FALSE(guideShown(w));
    w.item.click();
    w.status->closePopoverForMouseDownAt({100, 100});
    EXPECT_FALSE(guideShown(w));

    // A disconnected build keeps a shown guide, a language change re-titles it, and the
    // next connected build closes it.
    w.item.click();
    w.build(false);
    EXPECT_TRUE(guideShown(w));
    w.languages.setUiLanguageIndex(2);
    NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    EXPECT_EQ(guide.tipLabel1()->text(), "No device detected");
    EXPECT_EQ(guide.exitBtn()->title(), "Quit Quorvex");
    w.build(true);
    EXPECT_FALSE(guideShown(w));
    EXPECT_FALSE(w.status->isShow());
}

TEST(StatusItem, TheGuideQuitsAfterHalfASecondAndTheMenuAfterOneWithThePointerTold)
{
    ShellWorld guideQuit;
    guideQuit.state->setIsLaser(true);
    guideQuit.build(false);
    guideQuit.item.click();
    guideQuit.status->guideVC().exitBtn()->click();
    guideQuit.status->guideVC().exitBtn()->click();
    EXPECT_EQ(guideQuit.sent(), QStringList({"sendOpenPopUpWebSiteData"}));
    guideQuit.scheduler.advance(499);
    EXPECT_EQ(guideQuit.terminated, 0);
    guideQuit.scheduler.advance(1);
    EXPECT_EQ(guideQuit.terminated, 1);

    for (const bool pointer : {true, false}) {
        SCOPED_TRACE(pointer ? "pointer receiver" : "mouse");
        ShellWorld w;
        w.state->setIsLaser(pointer);
        w.build(true);
        w.sent();
        w.item.click(1);
        w.item.click(1); // a second Quit while the first waits sends nothing again
        EXPECT_EQ(w.sent(), pointer ? QStringList({"sendOpenPopUpWebSiteData", "sendTelinkLaserPenOffLineData"})
                                    : QStringList({"sendOpenPopUpWebSiteData"}));
        w.scheduler.advance(999);
        EXPECT_EQ(w.terminated, 0);
        w.scheduler.advance(1);
        EXPECT_EQ(w.terminated, 1);
    }
}

TEST(StatusItem, WithoutAStatusAreaTheGuideIsAWindowAtLaunchAndWhenTheDeviceGoes)
{
    ShellWorld w(false);
    w.build(false);
    ASSERT_TRUE(guideShown(w));
    EXPECT_EQ(w.status->popover()->mode(), GuidePopover::Mode::Window);
    EXPECT_FALSE(w.status->popover()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.item.created, 0);

    // Losing the focus keeps it, as does any further rebuild after the user closed it.
    w.status->closePopover();
    EXPECT_TRUE(guideShown(w));
    w.status->popover()->close();
    EXPECT_FALSE(w.status->isShow());
    w.build(false);
    EXPECT_FALSE(guideShown(w));
    w.status->reopen();
    EXPECT_TRUE(guideShown(w));

    w.build(true);
    EXPECT_FALSE(guideShown(w));
    w.build(false);
    EXPECT_TRUE(guideShown(w));
}

TEST(StatusItem, ABuildAskedForOnAnotherThreadRunsOnTheMainThread)
{
    ShellWorld w;
    w.state->setMouseIsConnect(true);
    std::thread([&] { w.status->addStatusItem(); }).join();
    EXPECT_TRUE(w.item.imageName.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(w.item.imageName, "Icon");
}

TEST(GuidePopover, SitsUnderTheItemOrAboveItInsideTheScreen)
{
    const QRect topPanel(0, 28, 1280, 772), bottomPanel(0, 0, 1280, 780); // the free area beside the panel
    const QSize size(280, 150);
    struct Row {
        const char *what;
        QRect screen, anchor;
        QPoint cursor, origin;
    } rows[] = {
        {"under an item in the middle", topPanel, {600, 2, 24, 24}, {}, {471, 30}},
        {"pushed in at the right edge", topPanel, {1250, 2, 24, 24}, {}, {1000, 30}},
        {"above an item on a bottom panel", bottomPanel, {600, 780, 24, 20}, {}, {471, 626}},
        {"at the pointer when the item's place is unknown", topPanel, {}, {100, 400}, {0, 405}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(GuidePopover::popoverOrigin(r.anchor, size, r.screen, r.cursor), r.origin) << r.what;
}
