// The software-management page: the language row, the about row and its firmware
// transfer, over PageWorld's recorders.
#include "AboutMouseView.h"
#include "HRVLocalizedString.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "SettingsPages.h"
#include "SoftwareManagerViewController.h"
#include "SystemLanguageView.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "controls/QXTextView.h"
#include "drawing/KitAppearance.h"
#include "scenes/QXUploadBurnerInfoScene.h"
#include "views/CustomProgress.h"
#include "windows/MainWindow.h"
#include "windows/PageFactory.h"
#include "windows/QXTabItem.h"

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

namespace {
struct SoftwareWorld {
    PageWorld world;
    QXMouseInfoItem &device = world.state().mouseInfoItem();
    SoftwareWorld()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
        world.state().setProductCode(QStringLiteral("523"));
        device.setSn(QStringLiteral("ABC"));
        device.setFirmwareVersion(QStringLiteral("2.0"));
        device.setdeviceType(1);
    }
    void post(const char *name, const QVariant &payload = {})
    {
        world.notifications.post(QString::fromLatin1(name), payload);
    }
};

bool shown(QWidget *w)
{
    return !w->isHidden();
}
} // namespace

TEST(Pgs4AboutRow, VersionLineAndNoteFollowTheDevice)
{
    SoftwareWorld w;
    AboutMouseView row(w.world.context());
    EXPECT_EQ(row.versionLabel()->text(), "SN:ABC         软件版本： V1.2.3         固件版本： 2.0(523)");
    EXPECT_EQ(row.tipLabel()->text(), "版本说明V1.2.3");
    EXPECT_EQ(row.viewHeight(), int(std::ceil(row.instructionTextView()->textH())) + 234);

    w.device.setSn(std::nullopt);
    w.post(qx::notify::kUpdateFirmwareVersionNotification);
    EXPECT_EQ(row.versionLabel()->text(), "SN:         软件版本： V1.2.3         固件版本： 2.0(523)");
    w.world.state().setProductCode(QStringLiteral("412")); // no AI pages: neither sn nor firmware
    w.device.setSn(QStringLiteral("ABC"));
    w.post(qx::notify::HadUSBInfoNotification);
    EXPECT_EQ(row.versionLabel()->text(), "SN:         软件版本： V1.2.3         固件版本： (412)");
    // A translated label holding a placeholder stays as it is.
    EXPECT_EQ(AboutMouseView::versionLine("S", "%1 v%@", "1", "%2", "f", "p"),
              "SN:S         %1 v%@ V1         %2 f(p)");
}

TEST(Pgs4AboutRow, ProgressIsClampedToAPercentage)
{
    const std::vector<std::pair<QVariant, int>> cases{
        {QVariant(), 0},
        {QVariant(QStringLiteral("abc")), 0},
        {QVariant(std::numeric_limits<double>::quiet_NaN()), 0},
        {QVariant(-5), 0},
        {QVariant(57), 57},
        {QVariant(250), 100},
    };
    SoftwareWorld w;
    AboutMouseView row(w.world.context());
    for (const auto &[payload, expected] : cases) {
        w.post(qx::notify::kUpdateOTAProgressNotification, payload);
        EXPECT_EQ(row.progressLabel()->text(), QString::number(expected) + "%") << payload.toString().toStdString();
        EXPECT_TRUE(shown(row.custompro()));
    }
}

TEST(Pgs4AboutRow, TransferStartsCancelsAndEndsWithTheImageDeleted)
{
    SoftwareWorld w;
    AboutMouseView row(w.world.context());
    EXPECT_FALSE(shown(row.updateBtn()));
    w.world.ports.mouseImage = true; // downloaded
    w.post(qx::notify::kUpdateOTAStatusNotification);
    ASSERT_TRUE(shown(row.updateBtn()) && shown(row.updateDongleBtn()));

    row.updateBtn()->click();
    EXPECT_EQ(row.updateBtn()->title(), "取消升级");
    EXPECT_TRUE(row.isUpdating());
    row.updateDongleBtn()->click(); // no receiver image: the tip only
    w.world.ports.dongleImage = true;
    row.updateDongleBtn()->click(); // the other button while the mouse transfer runs: nothing
    EXPECT_EQ(row.updateBtn()->title(), "取消升级");
    w.post(qx::notify::kUpdateOTAProgressNotification, 57);
    EXPECT_EQ(row.progressLabel()->text(), "57%");
    row.updateBtn()->click();
    EXPECT_EQ(row.updateBtn()->title(), "升级设备固件");
    w.post(qx::notify::kUpdateOTACancelNotification);
    EXPECT_TRUE(row.custompro()->isHidden());
    EXPECT_EQ(row.progressLabel()->text(), "");

    row.updateBtn()->click();
    w.post(qx::notify::kUpdateOTASuccessNotification);
    EXPECT_TRUE(w.world.state().isNeedUpLoadBurnerInfo());
    EXPECT_EQ(row.updateStatus(), AboutMouseView::kNone);
    // A result of a transfer not started here: tips only.
    w.post(qx::notify::kUpdateOTASuccessNotification);
    w.post(qx::notify::kUpdateOTAFailNotification);
    EXPECT_EQ(
        w.world.log.calls,
        QStringList({"sendStartOTAData", "showTipMessage(当前是最新版本,info_icon)", "sendCancelOTAData",
                     "showTipMessage(升级取消,info_icon)", "sendStartOTAData", "showTipMessage(升级成功,success_icon)",
                     "deleteOTAFile", "showTipMessage(升级成功,success_icon)", "showTipMessage(升级失败,error_icon)"}));
    EXPECT_TRUE(shown(row.updateBtn()) && !row.isUpdating());
}

TEST(Pgs4AboutRow, AStoredImageIsOfferedAgainAfterDeviceInformation)
{
    SoftwareWorld w;
    w.world.ports.mouseImage = true; // stored by an earlier run
    AboutMouseView row(w.world.context());
    EXPECT_TRUE(shown(row.updateBtn())); // offered as soon as the row is built
    w.post(qx::notify::HadUSBInfoNotification);
    EXPECT_TRUE(shown(row.updateBtn()) && shown(row.updateDongleBtn()));
    row.updateBtn()->click();
    w.post(qx::notify::HadUSBInfoNotification); // mid-transfer: hidden, titles idle
    EXPECT_FALSE(shown(row.updateBtn()));
    EXPECT_EQ(row.updateBtn()->title(), "升级设备固件");

    SoftwareWorld none;
    AboutMouseView idle(none.world.context());
    none.post(qx::notify::HadUSBInfoNotification);
    EXPECT_FALSE(shown(idle.updateBtn()));
    none.device.setdeviceType(4); // the remote control's transfer needs no stored image
    idle.updateBtn()->click();
    EXPECT_EQ(none.world.log.calls, QStringList{"sendStartOTAData"});
}

TEST(Pgs4AboutRow, FileDropsAreTakenAndOtherDataRefused)
{
    SoftwareWorld w;
    struct Row : AboutMouseView {
        using AboutMouseView::AboutMouseView;
        using AboutMouseView::dropEvent;
    } row(w.world.context());
    for (const bool files : {true, false}) {
        QMimeData data;
        if (files)
            data.setUrls({QUrl::fromLocalFile("/tmp/a.bin"), QUrl::fromLocalFile("/tmp/b.bin")});
        else
            data.setText("text");
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setAccepted(false);
        row.dropEvent(&drop);
        EXPECT_EQ(drop.isAccepted(), files);
    }
    EXPECT_TRUE(w.world.log.calls.isEmpty());
}

TEST(Pgs4AboutRow, AHardwareReportClearsTheFlagOnlyOnSuccess)
{
    SoftwareWorld w;
    AboutMouseView row(w.world.context());
    for (const bool success : {false, true}) {
        w.world.state().setIsNeedUpLoadBurnerInfo(true);
        row.uploadBurnerInfo();
        auto &[scene, answer] = w.world.ports.requests.back();
        auto *report = static_cast<QXUploadBurnerInfoScene *>(scene.get());
        EXPECT_EQ(report->firmwareVersion, "2.0");
        EXPECT_EQ(report->softVersion, "523");
        answer(success, {}, {});
        EXPECT_EQ(w.world.state().isNeedUpLoadBurnerInfo(), !success);
    }
}

TEST(Pgs4LanguageRow, APickStoresRenamesAndRetitlesEveryView)
{
    QTemporaryDir tables;
    QFile en(tables.filePath("en.json")), zh(tables.filePath("zh-Hans.json"));
    ASSERT_TRUE(en.open(QIODevice::WriteOnly) && zh.open(QIODevice::WriteOnly));
    en.write(R"({"简体中文":"Simplified Chinese","关于AI鼠标":"About the AI mouse","软件管理":"Software"})");
    zh.write("{}");
    en.close();
    zh.close();
    HRVLocalizedString::setTableDirectory(tables.path());

    SoftwareWorld w;
    w.world.state().setProductCode(QStringLiteral("114"));
    w.world.data.store().setValue("uiLanguageIndexKey", 25); // an older store
    w.world.data.languages().setAsrLanguageType(1);
    // The main window with the settings library's pages, showing the software tab.
    PageFactory pages(w.world.context(), {settingsPages()});
    MainWindow window{{&w.world.state(), {}}};
    window.configUI(&pages);
    window.show();
    QTest::mouseClick(window.btnArr()[2], Qt::LeftButton);
    auto &page = *dynamic_cast<SoftwareManagerViewController *>(window.page(2));
    QXPopUpButton *popUp = page.languageView()->popUpButton();
    EXPECT_EQ(popUp->selectIndex(), 0);
    ASSERT_EQ(popUp->itemsArr().size(), 18);
    EXPECT_EQ(popUp->itemsArr().first(), "简体中文");

    popUp->allMenuItem()[2]->trigger(); // the user's pick
    EXPECT_EQ(w.world.data.languages().uiLanguageIndex(), 2u);
    EXPECT_TRUE(w.world.data.store().boolValue("isManualSelect_114"));
    EXPECT_EQ(popUp->itemsArr().first(), "Simplified Chinese");
    EXPECT_EQ(page.aboutView()->titleLabel()->text(), "About the AI mouse");
    EXPECT_EQ(window.btnArr()[2]->titleName(), "Software");
    // Someone else changes the language (the device page forcing English): the row
    // shows the language the interface now has.
    w.world.data.languages().setUiLanguageIndex(0);
    w.post(qx::notify::kUpdateTitleNotification);
    EXPECT_EQ(popUp->selectIndex(), 0);
    EXPECT_EQ(page.aboutView()->titleLabel()->text(), "关于AI鼠标"); // the key: "zh-Hans" is empty
    HRVLocalizedString::setTableDirectory({});
}

TEST(Pgs4SoftwarePage, RowsStackAndTheTableOffersThePage)
{
    SoftwareWorld w;
    const PageEntry *entry = findPage({settingsPages()}, 2);
    ASSERT_NE(entry, nullptr);
    auto page = entry->make(w.world.context());
    auto *software = dynamic_cast<SoftwareManagerViewController *>(page.get());
    ASSERT_NE(software, nullptr);
    software->view()->resize(700, 500);
    const int width = software->scrollView()->viewport()->width();
    EXPECT_EQ(software->languageView()->geometry(), QRect(44, 40, width - 44, 99));
    EXPECT_EQ(software->aboutView()->y(), 179);
    EXPECT_EQ(software->aboutView()->height(), software->aboutView()->viewHeight());
    EXPECT_EQ(software->contentView()->height(), std::max(650, 139 + software->aboutView()->viewHeight() + 40));
}

// A row built after the image arrived (the tab opened late, or a restart with an image
// stored) offers it; its version line and progress have their own look.
TEST(DayAboutRow, ARowBuiltAfterTheImageArrivedOffersItAndItsLinesKeepTheirLook)
{
    const struct {
        bool mouse, dongle;
    } stored[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto &s : stored) {
        SoftwareWorld w;
        w.world.ports.mouseImage = s.mouse;
        w.world.ports.dongleImage = s.dongle;
        AboutMouseView row(w.world.context());
        const bool offered = s.mouse || s.dongle;
        EXPECT_EQ(shown(row.updateBtn()), offered) << s.mouse << s.dongle;
        EXPECT_EQ(shown(row.updateDongleBtn()), offered) << s.mouse << s.dongle;
        EXPECT_EQ(row.versionLabel()->font().pixelSize(), 12);
        EXPECT_EQ(row.versionLabel()->textColor(), qxGreyColor());
        EXPECT_EQ(row.progressLabel()->font().pixelSize(), 16);
        EXPECT_EQ(row.progressLabel()->textColor(), QColor(0, 175, 204));
    }
}

// The content ends 40 below the about row's height counted from the language row's
// height plus 40: a tall about row (a narrow page wraps its feature list) shows it.
TEST(DayAboutRow, TheSoftwarePageIsAsTallAsItsStackAndNoTaller)
{
    SoftwareWorld w;
    auto page = findPage({settingsPages()}, 2)->make(w.world.context());
    auto *software = dynamic_cast<SoftwareManagerViewController *>(page.get());
    ASSERT_NE(software, nullptr);
    software->view()->resize(200, 500);
    software->view()->show();
    QCoreApplication::processEvents();
    const int about = software->aboutView()->viewHeight();
    ASSERT_GT(139 + about + 40, 650) << "the about row is not tall enough to tell";
    EXPECT_EQ(software->aboutView()->y(), 179);
    EXPECT_EQ(software->contentView()->height(), 139 + about + 40);
}
