// The smart-settings page and its choice rows, over PageWorld's recorders and the
// real language manager.
#include "HRVLocalizedString.h"
#include "HyperTranslateView.h"
#include "InputSettingView.h"
#include "KeyValueStore.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "SearchEngineView.h"
#include "SettingsPages.h"
#include "SmartSettingViewController.h"
#include "SnipTranslateView.h"
#include "TranslateSettingView.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct SmartWorld {
    PageWorld world;
    KeyValueStore &store = world.data.store();
    QXLanguageManager &languages = world.data.languages();
    SmartWorld() { languages.setAsrLanguageType(1); }
    void post(const char *name) { world.notifications.post(QString::fromLatin1(name)); }
};

QList<int> tops(const SmartSettingViewController &page)
{
    return {page.inputView()->y(), page.translateView()->y(), page.hyperTranslateView()->y(),
            page.snipTranslateView()->y(), page.searchEngineView()->y()};
}

void pick(QXPopUpButton *popUp, int index)
{
    popUp->allMenuItem()[index]->trigger();
}
} // namespace

TEST(Pgs6SmartSettingsStack, RowsStackAndFollowTheInputRowsHeight)
{
    SmartWorld w;
    auto page = findPage({settingsPages()}, 1)->make(w.world.context());
    auto &smart = dynamic_cast<SmartSettingViewController &>(*page);
    smart.view()->resize(800, 600 + SmartSettingViewController::kTopBand);
    smart.view()->show();
    EXPECT_EQ(tops(smart), (QList<int>{0, 247, 439, 578, 806}));
    EXPECT_EQ(smart.totalHeight(), 905);
    EXPECT_EQ(smart.contentView()->height(), 905);
    EXPECT_EQ(smart.inputView()->x(), 44);
    smart.view()->resize(800, 1000 + SmartSettingViewController::kTopBand);
    EXPECT_EQ(smart.contentView()->height(), 1000);
    smart.view()->resize(800, 600 + SmartSettingViewController::kTopBand);

    QScrollBar *scroll = smart.scrollView()->verticalScrollBar();
    const struct {
        qint64 vid, pid;
        quint64 deviceType;
        const char *post;
        QList<int> tops;
        int total;
    } steps[] = {
        {0x13BA, 0x12AB, 3, qx::notify::kUSBInsertNotification, {0, 454, 646, 785, 1013}, 1112},
        {0, 0, 1, qx::notify::kUSBRemoveNotification, {0, 247, 439, 578, 806}, 905},
        {0, 0, 1, qx::notify::kUSBRemoveNotification, {0, 247, 439, 578, 806}, 905}, // unchanged height
    };
    for (const auto &s : steps) {
        w.world.ports.vid = s.vid;
        w.world.ports.pid = s.pid;
        w.world.state().mouseInfoItem().setdeviceType(s.deviceType);
        scroll->setValue(300);
        w.post(s.post);
        EXPECT_EQ(tops(smart), s.tops);
        EXPECT_EQ(smart.totalHeight(), s.total);
        EXPECT_EQ(smart.contentView()->height(), s.total);
        EXPECT_EQ(scroll->value(), 0);
    }
    const QRect before = smart.snipTranslateView()->geometry();
    w.post(qx::notify::HadUSBInfoNotification);
    EXPECT_EQ(smart.snipTranslateView()->geometry(), before);
}

TEST(Pgs6SearchEngineRow, PickStoresOnChangeAndNamesFollowTheLanguage)
{
    QTemporaryDir tables;
    QFile en(tables.filePath("en.json"));
    ASSERT_TRUE(en.open(QIODevice::WriteOnly));
    en.write(R"({"谷歌":"Google","划词翻译":"Selection Translation"})");
    en.close();
    HRVLocalizedString::setTableDirectory(tables.path());

    SmartWorld w;
    const QStringList before = w.store.keys();
    SearchEngineView row(w.world.context());
    HyperTranslateView hyper(w.world.context());
    EXPECT_EQ(w.store.keys(), before) << "building writes nothing";
    EXPECT_EQ(row.engineBtn()->selectIndex(), 0);
    EXPECT_EQ(row.engineBtn()->itemsArr(), (QStringList{"百度", "谷歌", "雅虎"}));
    pick(row.engineBtn(), 1);
    EXPECT_EQ(w.store.value("QX_Search_Engine_Key").toInt(), 1);
    w.store.remove("QX_Search_Engine_Key");
    pick(row.engineBtn(), 1);
    EXPECT_FALSE(w.store.contains("QX_Search_Engine_Key")) << "the same pick writes nothing";

    pick(hyper.toLanguageBtn(), 2);
    for (int i = 0; i < 5; ++i) { // English, Chinese, ... : no item doubled, choices kept
        w.languages.setUiLanguageIndex(i % 2 ? 0 : 2);
        w.languages.shouldRefreshData();
        w.post(qx::notify::kUpdateTitleNotification);
    }
    EXPECT_EQ(row.engineBtn()->itemsArr(), (QStringList{"百度", "Google", "雅虎"}));
    EXPECT_EQ(row.engineBtn()->selectIndex(), 1);
    EXPECT_EQ(hyper.titleLabel()->text(), "Selection Translation");
    EXPECT_EQ(hyper.fromLanguageBtn()->itemsArr().size(), 7);
    EXPECT_EQ(hyper.toLanguageBtn()->itemsArr().first(), "Chinese (Simplified)");
    EXPECT_EQ(hyper.toLanguageBtn()->selectIndex(), 2);
    HRVLocalizedString::setTableDirectory({});
}

TEST(Pgs6TranslateRow, FreshPicksAndAShrunkList)
{
    SmartWorld w;
    TranslateSettingView row(w.world.context());
    EXPECT_EQ(row.fromLanguageBtn()->selectIndex(), 0);
    EXPECT_EQ(row.fromLanguageBtn()->itemsArr().first(), "中文简体");
    EXPECT_EQ(row.toLanguageBtn()->selectIndex(), 5);
    EXPECT_TRUE(row.functionLabel1()->isHidden());
    EXPECT_TRUE(row.showSourceTextBtn()->isHidden());
    EXPECT_EQ(row.viewHeight(), 152);

    pick(row.toLanguageBtn(), 1);
    EXPECT_EQ(w.store.value("toLanguageIndexKey").toInt(), 1);
    EXPECT_EQ(w.store.value("toLanguageCodeKey").toString(), "KO_KR");
    pick(row.fromLanguageBtn(), 4);
    EXPECT_EQ(w.store.value("translateFromLanguageCodeKey").toString(), "ZH_GD");
    const QStringList keys = w.store.keys();
    row.changeLanguageBtn()->click();
    EXPECT_EQ(w.store.keys(), keys);
    EXPECT_EQ(w.store.value("toLanguageIndexKey").toInt(), 1) << "the swap button swaps nothing";

    w.languages.setAudioLanguageArr(
        QJsonArray{QJsonObject{{"code", "FR_FR"}, {"name", "法语"}}, QJsonObject{{"code", "DE_DE"}, {"name", "德语"}}});
    w.post(qx::notify::kUpdateInputAudioListNotification);
    EXPECT_EQ(row.fromLanguageBtn()->itemsArr(), (QStringList{"法语", "德语"}));
    EXPECT_EQ(row.fromLanguageBtn()->selectIndex(), 0);
}

TEST(Pgs6HyperTranslateRow, AutoDetectionSwitchAndTheWindowsTargetChoice)
{
    SmartWorld w;
    HyperTranslateView row(w.world.context());
    EXPECT_FALSE(row.switchBtn()->isChecked());
    EXPECT_EQ(row.fromLanguageBtn()->itemsArr().size(), 7);
    EXPECT_EQ(row.fromLanguageBtn()->itemsArr().first(), "自动检测");
    EXPECT_EQ(row.fromLanguageBtn()->selectIndex(), 1);
    EXPECT_EQ(row.toLanguageBtn()->itemsArr().size(), 6);
    EXPECT_EQ(row.toLanguageBtn()->selectIndex(), 5);
    EXPECT_EQ(row.viewHeight(), 99);

    pick(row.fromLanguageBtn(), 0);
    EXPECT_EQ(w.store.value("QX_From_Word_Input_Key").toInt(), 0);
    EXPECT_EQ(w.store.value("fromWordInputLanguageCodeKey").toString(), "auto");
    row.switchBtn()->click();
    EXPECT_TRUE(w.store.value("wordInputSwitchKey").toBool());

    const QList<QAction *> sourceItems = row.fromLanguageBtn()->allMenuItem();
    w.languages.setWordInputTag(2);
    w.post(qx::notify::kUpdateHyperTranslateIndexNotification);
    EXPECT_EQ(row.toLanguageBtn()->selectIndex(), 2);
    EXPECT_EQ(row.fromLanguageBtn()->allMenuItem(), sourceItems) << "the source is not reloaded";
    EXPECT_EQ(row.fromLanguageBtn()->selectIndex(), 0);
}

TEST(Pgs6TranslateRow, UntrustedProfileListsStayUsable)
{
    SmartWorld w;
    w.store.setValue("toLanguageIndexKey", 40); // an index past any list
    TranslateSettingView translate(w.world.context());
    HyperTranslateView hyper(w.world.context());
    EXPECT_EQ(translate.toLanguageBtn()->selectIndex(), 5) << "the stored code wins at launch";

    const QJsonArray odd{QJsonObject{{"name", "无代码"}}, QJsonObject{{"code", 7}, {"name", "数字"}},
                         QJsonObject{{"code", "EN_US"}}, QJsonObject{{"code", "EN_US"}, {"name", "英语"}},
                         QStringLiteral("not an item")};
    w.languages.setToLanguageArr(odd);
    w.post(qx::notify::kUpdateTranslateListNotification);
    EXPECT_EQ(translate.toLanguageBtn()->itemsArr(), (QStringList{"无代码", "数字", "", "英语", ""}));
    EXPECT_EQ(hyper.fromLanguageBtn()->itemsArr().size(), 6);
    for (QXPopUpButton *popUp : {translate.toLanguageBtn(), hyper.toLanguageBtn(), hyper.fromLanguageBtn()})
        EXPECT_TRUE(popUp->selectIndex() >= 0 && popUp->selectIndex() < popUp->itemsArr().size());

    w.languages.setToLanguageArr(QJsonArray{});
    w.post(qx::notify::kUpdateTranslateListNotification);
    EXPECT_EQ(translate.toLanguageBtn()->itemsArr().size(), 6) << "an empty list: the built-in six";
}
