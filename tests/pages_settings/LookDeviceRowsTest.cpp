// Device-side rows in long translations: choices and buttons grow to their captions, a
// key row's long title takes two lines, and the self-test verdict wraps rather than
// pushing its buttons off the page.
#include "KeySettingView.h"
#include "MouseSettingViewController.h"
#include "PageWorld.h"
#include "PreferencesViewController.h"
#include "ProfileWorld.h"
#include "SmartDetectionViewController.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"

#include <QFontMetricsF>

namespace {
// Drawn at its own font, not shrunk nor cut.
bool showsWhole(const QXButton *b)
{
    return b->drawnTitleFont() == b->font() && QFontMetricsF(b->font()).horizontalAdvance(b->title()) <= b->titleRoom();
}

bool wrappedFits(const QXLabel *label)
{
    const QRectF room = label->textRect();
    const QRectF needed =
        QFontMetricsF(label->font())
            .boundingRect(QRectF(0, 0, room.width(), 1e6), Qt::TextWordWrap | Qt::AlignLeft, label->text());
    return needed.width() <= room.width() && needed.height() <= label->height();
}
} // namespace

TEST(LookDeviceRows, LightingChoicesAreAsWideAsTheirCaptions)
{
    // zh-Hans keeps its 80-point choices 100 apart; Russian, Filipino and Bulgarian widen them.
    for (const quint64 language : {0u, 5u, 15u, 17u}) {
        SCOPED_TRACE(language);
        PageWorld world;
        world.data.languages().setUiLanguageIndex(language);
        world.state().mouseInfoItem().setMouseType(72);
        PreferencesViewController page(world.context());
        page.view()->resize(880, 720);
        const QList<QList<QXButton *>> rows = {page.modeBtnArr(), {page.leftBehaviorBtn(), page.rightBehaviorBtn()}};
        for (const QList<QXButton *> &row : rows)
            for (qsizetype i = 0; i < row.size(); ++i) {
                EXPECT_TRUE(showsWhole(row[i])) << row[i]->title().toStdString();
                EXPECT_LE(row[i]->geometry().right(), page.contentView()->width());
                if (i > 0)
                    EXPECT_EQ(row[i]->x() - row[i - 1]->geometry().right() - 1, 20);
                if (language == 0)
                    EXPECT_EQ(row[i]->width(), 80);
            }
    }
}

TEST(LookDeviceRows, AKeyTitleTooLongForOneLineTakesTwoInTheRow)
{
    const struct {
        const char *title;
        bool wraps;
    } rows[] = {{"DPI", false}, {"Frequenza di polling", true}, {"Честота на отчитане", true}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.title);
        ProfileWorld w;
        MouseSettingViewController vc(w.page.context());
        vc.view()->resize(880, 720);
        vc.profile().handleModelInfo(ProfileWorld::json(QByteArray(R"({"keyInfos":[{"key":"1","name":"k","childs":[)")
                                                        + R"({"name":")" + row.title
                                                        + R"(","childs":[{"name":"o"}]}]}]})"),
                                     "523", "S9");
        ASSERT_FALSE(vc.keyViews().isEmpty());
        ASSERT_FALSE(vc.keyViews().first()->rows().isEmpty());
        const KeySettingSubView *keyRow = vc.keyViews().first()->rows().first();
        const QXLabel *title = keyRow->titleLabel();
        EXPECT_EQ(title->wordWrap(), row.wraps);
        EXPECT_GE(title->font().pixelSize(), 12); // three quarters of its 16 at the least
        EXPECT_LE(title->geometry().right(), keyRow->popUpBtn()->x());
        if (row.wraps)
            EXPECT_TRUE(wrappedFits(title));
        else
            EXPECT_LE(QFontMetricsF(title->font()).horizontalAdvance(title->text()), title->textRect().width());
    }
}

TEST(LookDeviceRows, TheSelfTestButtonsStayOnThePageWhateverTheVerdict)
{
    // zh-Hans: the verdict on one line in its 470 points; English and Japanese wrap it.
    for (const quint64 language : {0u, 2u, 3u}) {
        SCOPED_TRACE(language);
        PageWorld world;
        world.data.languages().setUiLanguageIndex(language);
        SmartDetectionViewController page(world.context());
        page.view()->resize(880, 720);
        page.view()->show();
        const QRect repair = page.repairBtn()->geometry();
        for (bool failed : {false, true}) {
            if (failed)
                page.showMouseStatus(); // no device: the verdict turns to a failure
            EXPECT_LE(page.repairBtn()->mapTo(page.view(), QPoint(page.repairBtn()->width(), 0)).x(),
                      page.view()->width());
            EXPECT_EQ(page.repairBtn()->geometry(), repair); // the buttons do not move
            EXPECT_TRUE(showsWhole(page.detectionBtn()) && showsWhole(page.repairBtn()));
            const QXLabel *status = page.statusLabel();
            EXPECT_EQ(status->wordWrap(), language != 0);
            if (language == 0)
                EXPECT_EQ(status->width(), 470);
            else
                EXPECT_TRUE(wrappedFits(status));
        }
    }
}
