// The personalisation page and its voice-command list over the page world's scripted
// command model, dialog factory and alerts: the start-up requests, the tabs, the rows
// and cells, the fetches, the delete question and the dialog hosting.
#include "CommandWordCellView.h"
#include "CommandWordView.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "PersonalitySettingViewController.h"
#include "QXLanguageManager.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/ShortcutRecorder.h"
#include "drawing/NamedImage.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {
using ItemPtr = std::shared_ptr<QXVoiceCommandItem>;

ItemPtr item(const char *type, const QString &word, const QString &target)
{
    auto record = std::make_shared<QXVoiceCommandItem>();
    record->cmdType = QString::fromUtf8(type);
    record->customCmd = word;
    record->customName = target;
    return record;
}

const QColor kAccent(12, 165, 192);
const QColor kStripe(241, 244, 248);
const QString kCopy = R"({"keyCode":8,"modifierFlagsString":"⌘","modifierFlags":1048576})";

class Cmd4Page : public ::testing::Test {
protected:
    void SetUp() override { world.data.languages().setUiLanguageIndex(0); }
    PersonalitySettingViewController &load()
    {
        page = std::make_unique<PersonalitySettingViewController>(world.context());
        page->view()->resize(900, 600);
        page->view()->show();
        return *page;
    }
    CommandWordView &list() { return *page->commandWordView(); }
    CommandWordCellView *cell(int row) { return static_cast<CommandWordCellView *>(list().tableView()->cell(row)); }
    void post(const char *name) { world.notifications.post(QString::fromLatin1(name)); }

    PageWorld world;
    std::unique_ptr<PersonalitySettingViewController> page;
};

TEST_F(Cmd4Page, LoadingAsksForTheCommonThenTheCustomListAndOpensOnTheCommandTab)
{
    load();
    EXPECT_EQ(world.commands.fetches, QStringList({"common", "custom"}));

    QXButton *commands = page->commandWordBtn();
    EXPECT_EQ(commands->geometry().topLeft(), QPoint(33, 39));
    EXPECT_EQ(commands->height(), 27);
    EXPECT_EQ(commands->titleColor(), kAccent);
    EXPECT_TRUE(page->commandWordView()->isVisible());
    EXPECT_FALSE(page->hotWordView()->isVisible());
    EXPECT_FALSE(page->hotWordBtn()->isVisible()) << "the hot-word tab is never offered";
    const QRect line = page->lineImageView()->geometry();
    EXPECT_EQ(line, QRect(commands->x(), commands->geometry().bottom() + 1 + 6, commands->width(), 2));
    EXPECT_EQ(page->commandWordView()->geometry(), QRect(0, line.bottom() + 1, 900, 600 - line.bottom() - 1));

    // The other tab, reached only from code: colours, contents and the underline swap.
    page->typeBtnClicked(page->hotWordBtn());
    QXButton *hot = page->hotWordBtn();
    EXPECT_EQ(hot->x(), commands->geometry().right() + 1 + 40);
    EXPECT_EQ(hot->geometry().center().y(), commands->geometry().center().y());
    EXPECT_EQ(hot->titleColor(), kAccent);
    EXPECT_EQ(commands->titleColor(), QColor(38, 12, 12));
    EXPECT_FALSE(page->commandWordView()->isVisible());
    EXPECT_TRUE(page->hotWordView()->isVisible());
    EXPECT_EQ(page->lineImageView()->geometry(), QRect(hot->x(), line.y(), hot->width(), 2));
}

TEST_F(Cmd4Page, ALanguageChangeRetitlesTheTabAndTheAddButtonAndResizesTheUnderline)
{
    load();
    const int before = page->lineImageView()->width();
    world.data.languages().setUiLanguageIndex(2);
    post(qx::notify::kUpdateTitleNotification);
    EXPECT_EQ(page->commandWordBtn()->title(), "Command Word");
    EXPECT_EQ(list().addCommandBtn()->title(), "+Add Command");
    EXPECT_EQ(page->lineImageView()->width(), page->commandWordBtn()->width());
    EXPECT_GT(page->lineImageView()->width(), before);
}

TEST_F(Cmd4Page, RowsAreStripedAndNeverFewerThanTen)
{
    struct Case {
        int records, rows;
    };
    for (const Case c : {Case{0, 10}, Case{12, 12}, Case{500, 500}}) {
        world.commands.list.clear();
        for (int i = 0; i < c.records; ++i)
            world.commands.list << item("website", QString::number(i), "https://q.example");
        load();
        RowList *table = list().tableView();
        ASSERT_EQ(table->rowCount(), c.rows) << c.records;
        EXPECT_EQ(table->widget()->height(), c.rows * 52);
        EXPECT_EQ(table->rowView(0)->layerStyle().backgroundColor, kStripe);
        EXPECT_EQ(table->rowView(1)->layerStyle().backgroundColor, QColor(Qt::white));
        EXPECT_EQ(table->rowView(c.rows - 1)->objectName(), QStringLiteral("row%1").arg(c.rows - 1));
        EXPECT_EQ(cell(c.rows - 1)->delBtn()->isVisibleTo(table), c.records == c.rows);
    }
    // A blank row shows nothing at all.
    CommandWordCellView *blank = cell(0);
    world.commands.list.clear();
    list().reloadData();
    for (QWidget *w :
         std::initializer_list<QWidget *>{blank->typeImageView(), blank->wordLabel(), blank->contentLabel(),
                                          blank->shortcutsView(), blank->editBtn(), blank->delBtn()})
        EXPECT_FALSE(w->isVisibleTo(blank));
    EXPECT_EQ(list().tableView()->rowCount(), 10);
}

TEST_F(Cmd4Page, CellsShowTypeWordAndTargetOrAShortcutThatCannotBeChanged)
{
    world.commands.list << item("website", "官网", "https://q.example") << item("shortcuts", "复制", kCopy)
                        << item("shortcuts", "坏", "not json") << std::make_shared<QXVoiceCommandItem>()
                        << item("text", "<b>x</b>", "<i>y</i>");
    load();
    CommandWordCellView *web = cell(0);
    EXPECT_EQ(web->typeImageView()->pixmap().toImage(), namedImage("4_commandType3_icon"));
    EXPECT_EQ(web->wordLabel()->text(), "官网");
    EXPECT_EQ(web->contentLabel()->text(), "https://q.example");
    EXPECT_FALSE(web->shortcutsView()->isVisibleTo(web));
    EXPECT_EQ(web->editBtn()->geometry(), QRect(web->width() - 105, 6, 40, 40));

    CommandWordCellView *copy = cell(1);
    EXPECT_FALSE(copy->contentLabel()->isVisibleTo(copy));
    ASSERT_TRUE(copy->shortcutsView()->isVisibleTo(copy));
    EXPECT_EQ(copy->shortcutsView()->displayText(), "Ctrl+C");
    QTest::mouseClick(copy->shortcutsView(), Qt::LeftButton);
    QTest::keyClick(copy->shortcutsView(), Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(copy->shortcutsView()->displayText(), "Ctrl+C") << "the list only shows shortcuts";

    EXPECT_EQ(cell(2)->shortcutsView()->displayText(), "") << "a target that is no shortcut";
    CommandWordCellView *unset = cell(3);
    EXPECT_EQ(unset->typeImageView()->pixmap().toImage(), namedImage("4_commandType1_icon"));
    EXPECT_EQ(unset->wordLabel()->text(), "");
    EXPECT_TRUE(unset->delBtn()->isVisibleTo(unset));
    CommandWordCellView *markup = cell(4);
    EXPECT_EQ(markup->wordLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(markup->wordLabel()->text(), "<b>x</b>");
    EXPECT_EQ(markup->contentLabel()->textFormat(), Qt::PlainText);
}

TEST_F(Cmd4Page, TheListIsFetchedWhenMadeAndOnEveryDeviceInformation)
{
    world.commands.list << item("website", "a", "x");
    load();
    ASSERT_EQ(world.commands.customFetches.size(), 1u);
    world.commands.list = {item("website", "b", "x"), item("text", "c", "y")};
    world.commands.answerFetch(true);
    EXPECT_EQ(cell(1)->wordLabel()->text(), "c");

    for (int i = 0; i < 10; ++i)
        post(qx::notify::HadUSBInfoNotification);
    EXPECT_EQ(world.commands.customFetches.size(), 11u);
    world.commands.list = {item("website", "d", "x")};
    world.commands.answerFetch(false, "offline");
    EXPECT_EQ(cell(0)->wordLabel()->text(), "b") << "a failed fetch changes nothing";
    for (int i = 0; i < 9; ++i)
        world.commands.answerFetch(true);
    EXPECT_EQ(cell(0)->wordLabel()->text(), "d");
    EXPECT_EQ(list().tableView()->rowCount(), 10) << "no row twice";
    EXPECT_FALSE(cell(1)->wordLabel()->isVisibleTo(cell(1)));
    EXPECT_TRUE(world.log.calls.filter("showErrorMsg").isEmpty()) << "a failed fetch is silent";
}

TEST_F(Cmd4Page, DeleteAsksFirstAndOnlyTheSecondButtonDeletes)
{
    const ItemPtr first = item("website", "<b>x</b>", "https://q.example");
    world.commands.list << first << item("text", "b", "y");
    load();
    list().tableView()->findChild<QXButton *>("row0.delete")->click();
    ASSERT_EQ(world.alerts.count(), 1);
    EXPECT_EQ(world.alerts.shown[0].message, "确定要删除语音指令‘<b>x</b>’？\n删除后该语音指令将失效！");
    EXPECT_EQ(world.alerts.shown[0].buttons, QStringList({"取消", "确定"}));
    world.alerts.answer(0);
    EXPECT_TRUE(world.commands.requests.empty());

    for (const bool success : {false, true}) {
        list().tableView()->findChild<QXButton *>("row0.delete")->click();
        world.alerts.answer(1);
        ASSERT_FALSE(world.commands.requests.empty());
        EXPECT_FALSE(world.commands.requests.back().create);
        EXPECT_EQ(world.commands.requests.back().item, first) << "that very record";
        world.commands.answer(success, "m");
    }
    EXPECT_EQ(world.log.calls.filter("showErrorMsg"), QStringList{"showErrorMsg(删除失败,m)"});
    EXPECT_EQ(cell(0)->wordLabel()->text(), "b");

    // Answers that arrive after the list went are dropped.
    list().tableView()->findChild<QXButton *>("row0.delete")->click();
    page.reset();
    world.alerts.answer(1);
    EXPECT_EQ(world.commands.requests.size(), 2u);
}

// The question quotes the command the way its language does, and asks once.
using ReadDeleteQuestion = Cmd4Page;
TEST_F(ReadDeleteQuestion, QuotesAndQuestionMarkAreTheLanguages)
{
    world.commands.list << item("text", "b", "y");
    for (const auto &[language, question] : {std::pair{2, "Are you sure you want to delete the voice command “b”?"},
                                             {3, "次の音声コマンドを削除しますか：「b」"}}) {
        world.data.languages().setUiLanguageIndex(quint64(language));
        load();
        list().tableView()->findChild<QXButton *>("row0.delete")->click();
        EXPECT_EQ(world.alerts.shown.back().message.section(u'\n', 0, 0), QString::fromUtf8(question));
    }
}

TEST_F(Cmd4Page, AddAndEditOpenTheVoiceDialogOverThePageAndReloadOnSuccessOnly)
{
    const ItemPtr first = item("folder", "音乐", "file:///m");
    world.commands.list << first;
    load();
    list().addCommandBtn()->click();
    ASSERT_EQ(world.commandDialogs.opened.size(), 1u);
    EXPECT_EQ(world.commandDialogs.opened[0].host, page->view());
    EXPECT_FALSE(world.commandDialogs.opened[0].mouseMode);
    EXPECT_EQ(world.commandDialogs.opened[0].record, nullptr);

    list().tableView()->findChild<QXButton *>("row0.edit")->click();
    ASSERT_EQ(world.commandDialogs.opened.size(), 2u);
    EXPECT_EQ(world.commandDialogs.opened[1].record, first);

    world.commands.list << item("text", "新", "t");
    world.commandDialogs.finish(false);
    EXPECT_FALSE(cell(1)->wordLabel()->isVisibleTo(cell(1))) << "kept as it was after a failure";
    world.commandDialogs.finish(true);
    EXPECT_EQ(cell(1)->wordLabel()->text(), "新");
}
} // namespace
