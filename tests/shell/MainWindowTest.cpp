// The main window's tab bar and pages, offscreen.
#include "windows/MainWindow.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXLanguageManager.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "views/QXBaseView.h"
#include "windows/PageFactory.h"
#include "windows/PlaceholderPage.h"
#include "windows/QXTabItem.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// A page of a table: it asks the device for its DPI when its view loads, through the
// context it was made over.
class TinyPage : public QXBaseViewController {
public:
    explicit TinyPage(const PageContext &context) : m_context(context) {}
    static int made;

protected:
    QWidget *loadView() override { return new QWidget; }
    void viewDidLoad() override { m_context.device.sendSetDpiData(m_context.state.mouseInfoItem().dpi()); }

private:
    PageContext m_context;
};
int TinyPage::made = 0;

constexpr PageEntry kTinyTable[] = {
    {viewtag::kPersonalitySetting, "TinyPage", [](const PageContext &c) -> std::unique_ptr<QXBaseViewController> {
         ++TinyPage::made;
         return std::make_unique<TinyPage>(c);
     }}};

// Placeholder pages, and a record of every account refresh with whether the account
// page was showing at that moment.
class RecordingPages : public PageFactory {
public:
    using PageFactory::PageFactory;
    QList<bool> refreshes;
    // Placeholders for the library pages that talk to the device or the server when
    // they load: the window's behaviour is under test, not theirs.
    std::unique_ptr<QXBaseViewController> makePage(int viewTag) override
    {
        if (viewTag == viewtag::kMouseSetting)
            return std::make_unique<PlaceholderPage>(viewTag, QStringLiteral("MouseSettingViewController"),
                                                     tabEntryForTag(viewTag)->name);
        return PageFactory::makePage(viewTag);
    }
    void getUserInfo(QXBaseViewController &mine) override { refreshes << mine.view()->isVisible(); }
};

struct WindowWorld {
    PageWorld world;
    QXUserInfoData &state = world.state();
    QXLanguageManager &languages = world.data.languages();
    RecordingPages pages;
    QStringList statusBuilds; // the selected tab's title at each status item build
    MainWindow window{{&state, [this] { statusBuilds << selected(); }}};

    WindowWorld(quint64 deviceType, quint64 mouseType, bool isLaser, std::vector<PageTable> tables = {})
        : pages(world.context(), std::move(tables))
    {
        state.mouseInfoItem().setdeviceType(deviceType);
        state.mouseInfoItem().setMouseType(mouseType);
        state.setIsLaser(isLaser);
        window.configUI(&pages);
        window.show();
    }

    QList<int> tags() const
    {
        QList<int> out;
        for (QXTabItem *item : window.btnArr())
            out << item->tag();
        return out;
    }
    QString selected() const
    {
        for (QXTabItem *item : window.btnArr())
            if (item->layerStyle().backgroundColor == qxAccentColor())
                return item->titleName();
        return {};
    }
    // The page numbers whose pages show.
    QList<int> visiblePages() const
    {
        QList<int> out;
        for (int tag = 0; tag < viewtag::kCount; ++tag)
            if (QXBaseViewController *page = window.page(tag); page && page->view()->isVisible())
                out << tag;
        return out;
    }
    // The page numbers made so far.
    QList<int> madePages() const
    {
        QList<int> out;
        for (int tag = 0; tag < viewtag::kCount; ++tag)
            if (window.page(tag))
                out << tag;
        return out;
    }
};
} // namespace

TEST(TabBar, TheDeviceDecidesTheTabsAndTheFirstIsSelected)
{
    struct Row {
        quint64 deviceType, mouseType;
        bool isLaser;
        QList<int> tags;
        int selected;
    } rows[] = {
        {1, 0, false, {0, 1, 2, 3}, 0},     {3, 0, true, {1, 2, 3}, 1},       {2, 56, false, {7, 1, 2, 3, 6}, 7},
        {1, 72, false, {0, 1, 2, 3, 6}, 0}, {1, 202, false, {7, 1, 2, 3}, 7}, {3, 56, false, {1, 2, 3, 6}, 1},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << "device type " << r.deviceType << ", mouse type " << r.mouseType
                                        << (r.isLaser ? ", pointer" : ""));
        WindowWorld w(r.deviceType, r.mouseType, r.isLaser);
        EXPECT_EQ(w.tags(), r.tags);
        EXPECT_EQ(w.window.selectIndex(), r.selected);
        EXPECT_EQ(w.visiblePages(), QList<int>{r.selected});
        for (int i = 0; i < w.window.btnArr().size(); ++i)
            EXPECT_EQ(w.window.btnArr()[i]->geometry(), QRect(0, 80 + 48 * i, MainWindow::kLeftWidth, 48));
        // Whichever item is first, position 0 selects it.
        w.window.manualSelectedItemWithIndex(2);
        w.window.manualSelectedItemWithIndex(0);
        EXPECT_EQ(w.window.selectIndex(), r.tags.first());
    }
}

TEST(PageSwitch, AClickShowsThatPageAloneAndColoursItsItem)
{
    WindowWorld w(1, 0, false);
    QXTabItem *software = w.window.btnArr()[2];
    QTest::mouseClick(software, Qt::LeftButton);
    EXPECT_EQ(w.visiblePages(), QList<int>{2});
    for (QXTabItem *item : w.window.btnArr()) {
        const bool on = item == software;
        const TabEntry *entry = tabEntryForTag(item->tag());
        EXPECT_EQ(item->layerStyle().backgroundColor, on ? qxAccentColor() : QColor(Qt::transparent));
        EXPECT_EQ(item->titleLabel()->textColor(), on ? QColor(Qt::white) : QColor(38, 12, 12));
        EXPECT_EQ(item->imageName(), on ? entry->selectIcon : entry->icon);
        EXPECT_EQ(item->imageView()->geometry(), QRect(24, 12, 24, 24));
        EXPECT_EQ(item->titleLabel()->geometry(), QRect(53, 14, MainWindow::kLeftWidth - 53, 20));
    }
    EXPECT_EQ(software->imageName(), "softwareManager_icon_td");

    // Positions that do not exist change nothing.
    w.window.manualSelectedItemWithIndex(-1);
    w.window.manualSelectedItemWithIndex(99);
    EXPECT_EQ(w.window.selectIndex(), 2);
    EXPECT_EQ(w.visiblePages(), QList<int>{2});
    EXPECT_EQ(software->layerStyle().backgroundColor, qxAccentColor());

    // A page number without a page selects nothing to show.
    QXTabItem stray(w.window.leftView());
    stray.setTag(9);
    w.window.appendItemForTest(&stray);
    w.window.itemClicked(&stray);
    EXPECT_EQ(w.visiblePages(), QList<int>{2});
}

TEST(PageSwitch, TheAccountPageRefreshesItsHeaderEachTimeItShows)
{
    WindowWorld w(1, 0, false);
    QXTabItem mine(w.window.leftView());
    mine.setTag(viewtag::kMine);

    // Not an item of the bar: every item loses its selection and the page stays.
    w.window.itemClicked(&mine);
    EXPECT_EQ(w.visiblePages(), QList<int>{0});
    EXPECT_TRUE(w.selected().isEmpty());
    EXPECT_TRUE(w.pages.refreshes.isEmpty());

    w.window.appendItemForTest(&mine);
    w.window.itemClicked(&mine);
    EXPECT_EQ(w.visiblePages(), QList<int>{viewtag::kMine});
    EXPECT_EQ(w.pages.refreshes, QList<bool>{true});
    w.window.itemClicked(&mine);
    EXPECT_EQ(w.pages.refreshes, QList<bool>({true, true}));
}

TEST(LanguageRetitle, ALanguageChangeRebuildsTheTabsThenRetitlesThemAndTheStatusMenu)
{
    WindowWorld w(1, 56, false);
    QTest::mouseClick(w.window.btnArr()[3], Qt::LeftButton);
    ASSERT_EQ(w.visiblePages(), QList<int>{3});
    EXPECT_EQ(static_cast<PlaceholderPage *>(w.window.page(3))->className(), "PersonalitySettingViewController");

    w.languages.setUiLanguageIndex(2);
    NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    // The tabs were rebuilt (the first is selected again) before the status item was.
    EXPECT_EQ(w.statusBuilds, QStringList{"Device Settings"});
    EXPECT_EQ(w.visiblePages(), QList<int>{0});
    QStringList titles;
    for (QXTabItem *item : w.window.btnArr())
        titles << item->titleName();
    EXPECT_EQ(titles, QStringList({"Device Settings", "Smart Settings", "Software", "Personalization", "Preferences"}));

    // Device information and a new profile rebuild the tabs too.
    w.state.mouseInfoItem().setdeviceType(3);
    NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::HadUSBInfoNotification));
    EXPECT_EQ(w.tags(), QList<int>({1, 2, 3, 6}));
}

TEST(MainWindow, OpensCentredOnlyWithADeviceAndShowsTheLowBatteryImageAtTheBottom)
{
    WindowWorld w(1, 0, false);
    w.window.hide();
    w.window.openApp();
    EXPECT_FALSE(w.window.isVisible());
    w.state.setMouseIsConnect(true);
    w.window.openApp();
    EXPECT_TRUE(w.window.isVisible());

    EXPECT_EQ(w.window.lowElectricImageView(), nullptr);
    w.window.setLowElectricShown(true);
    ASSERT_NE(w.window.lowElectricImageView(), nullptr);
    EXPECT_EQ(w.window.lowElectricImageView()->geometry(), QRect(20, w.window.height() - 38, 31, 18));
    w.window.setLowElectricShown(false);
    EXPECT_FALSE(w.window.lowElectricImageView()->isVisible());
}

TEST(HousePageTable, APageOfATableIsMadeOverTheContextTheFirstTimeItsTabShows)
{
    TinyPage::made = 0;
    WindowWorld w(1, 0, false, {PageFactory::libraryTables().front(), kTinyTable});
    // Only the selected tab's page is made at the start.
    EXPECT_EQ(w.madePages(), QList<int>{0});
    EXPECT_EQ(TinyPage::made, 0);

    w.state.mouseInfoItem().setDpi(3);
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(w.window.btnArr()[3], Qt::LeftButton);
        QTest::mouseClick(w.window.btnArr()[2], Qt::LeftButton);
    }
    EXPECT_EQ(TinyPage::made, 1);
    EXPECT_EQ(w.world.log.calls, QStringList{"sendSetDpiData(3)"});
    EXPECT_EQ(w.madePages(), QList<int>({0, 2, 3}));
    EXPECT_EQ(w.window.page(3)->view()->parentWidget(), w.window.rightView());
    // The settings library's table offers the software page.
    EXPECT_STREQ(w.window.page(2)->metaObject()->className(), "SoftwareManagerViewController");
}
