// Device-side rows in long translations: choices and buttons grow to their captions, a
// long key title takes two lines, a long self-test verdict wraps beside its buttons.
#include "KeySettingView.h"
#include "MouseSettingViewController.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PreferencesViewController.h"
#include "ProfileWorld.h"
#include "SmartDetectionViewController.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "services/LanguageHooks.h"

#include <QFontMetricsF>
#include <QScopeGuard>

namespace {
bool showsWhole(const QXButton *b)
{
    return b->drawnTitleFont() == b->font() && QFontMetricsF(b->font()).horizontalAdvance(b->title()) <= b->titleRoom();
}

bool fits(const QXLabel *label)
{
    const QRectF room = label->textRect();
    const int flags = label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    const QRectF needed =
        QFontMetricsF(label->font()).boundingRect(QRectF(0, 0, room.width(), 1e6), flags, label->text());
    return needed.width() <= room.width() && (!label->wordWrap() || needed.height() <= label->height());
}
} // namespace

// zh-Hans keeps its 80-point choices; Russian, Filipino and Bulgarian widen them, 20 apart.
TEST(LookDeviceRows, LightingChoicesAreAsWideAsTheirCaptions)
{
    for (const quint64 language : {0u, 5u, 15u, 17u}) {
        PageWorld world;
        world.data.languages().setUiLanguageIndex(language);
        PreferencesViewController page(world.context());
        page.view()->resize(880, 720);
        for (const QList<QXButton *> &row : {page.modeBtnArr(), {page.leftBehaviorBtn(), page.rightBehaviorBtn()}})
            for (qsizetype i = 0; i < row.size(); ++i) {
                EXPECT_TRUE(showsWhole(row[i])) << language << row[i]->title().toStdString();
                EXPECT_EQ(i ? row[i]->x() - row[i - 1]->geometry().right() - 1 : 20, 20) << language;
                EXPECT_TRUE(language || row[i]->width() == 80);
            }
    }
}

TEST(LookDeviceRows, AKeyTitleTooLongForOneLineTakesTwoInTheRow)
{
    for (const auto &[title, wraps] : {std::pair{"DPI", false}, {"Frequenza di polling", true}}) {
        ProfileWorld w;
        MouseSettingViewController vc(w.page.context());
        vc.view()->resize(880, 720);
        vc.profile().handleModelInfo(ProfileWorld::json(QByteArray(R"({"keyInfos":[{"key":"1","name":"k","childs":[)")
                                                        + R"({"name":")" + title + R"(","childs":[{"name":"o"}]}]}]})"),
                                     "523", "S9");
        ASSERT_FALSE(vc.keyViews().isEmpty() || vc.keyViews().first()->rows().isEmpty());
        const KeySettingSubView *row = vc.keyViews().first()->rows().first();
        EXPECT_EQ(row->titleLabel()->wordWrap(), wraps) << title;
        EXPECT_GE(row->titleLabel()->font().pixelSize(), 12) << title; // three quarters of 16 at the least
        EXPECT_TRUE(fits(row->titleLabel())) << title;
        EXPECT_LE(row->titleLabel()->geometry().right(), row->popUpBtn()->x()) << title;
    }
}

// Filipino "hold" needs three lines even in the smallest type: its row grows and what
// follows moves down when the language changes to Filipino, and back in English.
TEST(LookDeviceRows, APressKindTooLongForTwoLinesGrowsItsRowAndMovesWhatFollows)
{
    QString language = QStringLiteral("EN_US");
    const auto restore = qScopeGuard([previous = installLanguageHooks({[&language] { return language; }, {}, {}})] {
        installLanguageHooks(previous);
    });
    ProfileWorld w;
    MouseSettingViewController vc(w.page.context());
    vc.view()->resize(880, 720);
    vc.profile().handleModelInfo(ProfileWorld::json(R"({"keyInfos":[{"key":"5","name":"k","childs":[
        {"names":{"EN_US":"Hold","FIL_PH":"Pindutin nang matagal"},"childs":[{"name":"o"}]},
        {"name":"Click","childs":[{"name":"o"}]}]},{"key":"3","name":"s","childs":[{"name":"Click","childs":[]}]}]})"),
                                 "523", "S9");
    ASSERT_GE(vc.keyViews().size(), 2);
    const int blockGap = vc.keyViews()[1]->y() - vc.keyViews()[0]->geometry().bottom();
    for (const QString code : {"FIL_PH", "EN_US"}) {
        language = code;
        NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
        const QList<KeySettingView *> &blocks = vc.keyViews();
        const QList<KeySettingSubView *> &rows = blocks[0]->rows();
        ASSERT_EQ(rows.size(), 2);
        EXPECT_TRUE(fits(rows[0]->titleLabel())) << code.toStdString();
        EXPECT_EQ(rows[0]->height() > KeySettingView::kRowHeight, code == "FIL_PH");
        EXPECT_EQ(rows[0]->popUpBtn()->height(), KeySettingView::kRowHeight);
        const int gap = KeySettingView::kRowPitch - KeySettingView::kRowHeight;
        EXPECT_EQ(rows[1]->y(), rows[0]->geometry().bottom() + 1 + gap) << code.toStdString();
        EXPECT_LE(rows[1]->geometry().bottom(), blocks[0]->height()) << code.toStdString();
        EXPECT_EQ(blocks[1]->y(), blocks[0]->geometry().bottom() + blockGap) << code.toStdString();
    }
}

// Russian "Удержание" and Japanese "ダブルクリック" stay on one line in the page's type:
// every block's drop-downs move right alike; Chinese keeps them at 100.
TEST(ReadKeyTitles, ALongWordMovesTheDropDownsOfEveryBlock)
{
    QString language;
    const auto restore = qScopeGuard([previous = installLanguageHooks({[&language] { return language; }, {}, {}})] {
        installLanguageHooks(previous);
    });
    for (const QString code : {"ZH_CN", "RU_RU", "JA_JP"}) {
        language = code;
        ProfileWorld w;
        MouseSettingViewController vc(w.page.context());
        vc.view()->resize(880, 720);
        vc.profile().handleModelInfo(ProfileWorld::json(R"({"keyInfos":[{"key":"5","name":"k","childs":[
            {"names":{"ZH_CN":"长按","RU_RU":"Удержание","JA_JP":"ダブルクリック"},"childs":[{"name":"o"}]}]},
            {"key":"3","name":"s","childs":[{"name":"单击","childs":[]}]}]})"),
                                     "523", "S9");
        ASSERT_GE(vc.keyViews().size(), 2);
        const KeySettingSubView *row = vc.keyViews()[0]->rows().first(), *other = vc.keyViews()[1]->rows().first();
        EXPECT_FALSE(row->titleLabel()->wordWrap()) << code.toStdString();
        EXPECT_EQ(other->popUpBtn()->x(), row->popUpBtn()->x()) << code.toStdString();
        EXPECT_EQ(row->popUpBtn()->x() == KeySettingSubView::kPopUpLeft, code == "ZH_CN") << code.toStdString();
    }
}

// zh-Hans: the verdict on one line in its 470 points; English and Japanese wrap it.
TEST(LookDeviceRows, TheSelfTestButtonsStayOnThePageWhateverTheVerdict)
{
    for (const quint64 language : {0u, 2u, 3u}) {
        PageWorld world;
        world.data.languages().setUiLanguageIndex(language);
        world.state().setMouseIsConnect(true);
        SmartDetectionViewController page(world.context());
        page.view()->resize(880, 720);
        page.view()->show();
        const QRect repair = page.repairBtn()->geometry();
        for (bool connected : {true, false}) {
            world.state().setMouseIsConnect(connected);
            page.showMouseStatus(); // no device: the verdict turns to a failure
            EXPECT_LE(page.repairBtn()->mapTo(page.view(), QPoint(repair.width(), 0)).x(), page.view()->width());
            EXPECT_EQ(page.repairBtn()->geometry(), repair) << language; // the buttons stay put
            EXPECT_TRUE(showsWhole(page.detectionBtn()) && showsWhole(page.repairBtn())) << language;
            EXPECT_EQ(page.statusLabel()->wordWrap(), language != 0);
            EXPECT_TRUE(fits(page.statusLabel())) << language;
            EXPECT_TRUE(language || page.statusLabel()->width() == 470);
        }
    }
}
