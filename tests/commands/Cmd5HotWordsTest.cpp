// The hot-word tab over the page world's scripted command model and hot-word list: the
// entry rows, create, the list and delete, and where the tab's two views sit.
#include "AddHotWordView.h"
#include "HotWordView.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"
#include "PageWorld.h"
#include "PersonalitySettingViewController.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXTextField.h"
#include "views/RowList.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <gtest/gtest.h>

namespace {
using ItemPtr = std::shared_ptr<QXVoiceCommandItem>;

ItemPtr entry(const QString &words)
{
    auto e = std::make_shared<QXVoiceCommandItem>();
    e->setTypeIndex(5);
    e->customCmd = words;
    return e;
}

class Cmd5HotWords : public ::testing::Test {
protected:
    void SetUp() override
    {
        card.resize(280, 520);
        card.show();
        QApplication::setActiveWindow(&card);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&card));
    }
    QXTextField *field(int row) { return card.cell(row)->contentField(); }
    // Types into a row the way a user does: click into it, then keys.
    void type(int row, const QString &text)
    {
        field(row)->setFocus();
        QTest::keyClicks(field(row), text);
    }
    QString sentWords() const { return world.commands.requests.back().item->customCmd.value_or("-"); }

    PageWorld world;
    NotificationRecorder posted{{QString::fromLatin1(qx::notify::kUpdateHotWordListNotification)}, world.notifications};
    AddHotWordView card{{world.commands, world.ports, world.notifications}};
};

TEST_F(Cmd5HotWords, ReturnMovesToTheNextRowAndLeavingARowKeepsItsText)
{
    EXPECT_EQ(card.dataArr(), QStringList(10, QString()));
    EXPECT_EQ(card.tableView()->rowCount(), 10);
    type(0, "a");
    QTest::keyClick(field(0), Qt::Key_Return);
    EXPECT_TRUE(field(1)->hasFocus());
    EXPECT_EQ(card.dataArr()[0], "a");
    type(1, "b");
    field(4)->setFocus(); // leaving without Return
    EXPECT_EQ(card.dataArr()[1], "b");
    EXPECT_EQ(card.currentInputRow(), 4);
    type(9, "z");
    QTest::keyClick(field(9), Qt::Key_Return);
    EXPECT_TRUE(field(9)->hasFocus()) << "no row after the tenth";
}

TEST_F(Cmd5HotWords, CreateSendsTheFilledRowsAsOneEntryAndEmptiesThemOnSuccessOnly)
{
    card.createBtnClicked();
    EXPECT_TRUE(world.commands.requests.empty()) << "nothing typed";

    type(0, "a");
    type(3, "   ");
    type(2, "b c"); // still being typed
    card.createBtn()->click();
    ASSERT_EQ(world.commands.requests.size(), 1u);
    const ItemPtr sent = world.commands.requests.back().item;
    EXPECT_EQ(sentWords(), R"(["a","b c","   "])");
    EXPECT_EQ(sent->cmdType, "phrase");
    EXPECT_FALSE(sent->customName.has_value());

    // A second create before the first answer: each answer is handled once.
    card.createBtnClicked();
    world.commands.answer(false, "m");
    EXPECT_EQ(world.log.calls.filter("showErrorMsg"), QStringList{"showErrorMsg(创建失败,m)"});
    EXPECT_EQ(card.dataArr()[2], "b c") << "kept after a failure";
    world.commands.answer(true);
    EXPECT_EQ(card.dataArr(), QStringList(10, QString()));
    EXPECT_EQ(field(2)->text(), "");
    EXPECT_EQ(posted.count(qx::notify::kUpdateHotWordListNotification), 1);
    // The old editor's late end of editing does not bring its text back.
    field(2)->setText("old");
    emit field(2)->editingFinished();
    EXPECT_EQ(card.dataArr()[2], "");

    // Quotes, backslashes, commas and a thousand letters still make a valid array.
    const QStringList words{QString(1000, u'字'), R"(say "hi")", R"(C:\path\)", "a,b"};
    for (int i = 0; i < words.size(); ++i) {
        field(i)->setFocus();
        field(i)->setText(words[i]);
    }
    card.createBtnClicked();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(sentWords().toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(doc.array().toVariantList(), QVariant(words).toList());
}

TEST(Cmd5HotWordList, ShowsEntriesAsStoredAndDeletesWithoutAsking)
{
    PageWorld world;
    const ItemPtr second = entry(R"(["b","<i>c</i>"])");
    world.hotWords.list = {entry(R"(["a"])"), second};
    HotWordView list({world.hotWords, world.commands, world.ports, world.notifications});
    list.resize(575, 520);
    EXPECT_EQ(list.tableView()->rowCount(), 10);
    EXPECT_EQ(list.cell(1)->contentLabel()->text(), R"(["b","<i>c</i>"])");
    EXPECT_EQ(list.cell(1)->contentLabel()->textFormat(), Qt::PlainText);
    EXPECT_FALSE(list.cell(2)->delBtn()->isVisibleTo(list.cell(2)));

    for (const bool success : {false, true}) {
        list.tableView()->findChild<QXButton *>("row1.delete")->click();
        ASSERT_FALSE(world.commands.requests.empty());
        EXPECT_EQ(world.commands.requests.back().item, second);
        if (success)
            world.hotWords.list.removeAll(second); // as the model does before answering
        world.commands.answer(success, "m");
    }
    EXPECT_EQ(world.alerts.count(), 0) << "no question";
    EXPECT_EQ(world.log.calls.filter("showErrorMsg"), QStringList{"showErrorMsg(删除失败,m)"});
    EXPECT_FALSE(list.cell(1)->contentLabel()->isVisibleTo(list.cell(1)));

    world.hotWords.list << entry(R"(["new"])");
    world.notifications.post(QString::fromLatin1(qx::notify::kUpdateHotWordListNotification));
    EXPECT_EQ(list.cell(1)->contentLabel()->text(), R"(["new"])");
}

TEST(Cmd5HotWordTab, TheCardAndTheListShareTheTabBetweenTheirMargins)
{
    PageWorld world;
    PersonalitySettingViewController page(world.context());
    page.view()->resize(900, 600);
    page.view()->show();
    page.typeBtnClicked(page.hotWordBtn());
    const QRect tab = page.hotWordView()->rect();
    EXPECT_EQ(page.addHotWordView()->geometry(), QRect(15, 30, 280, tab.height() - 80));
    EXPECT_EQ(page.hotWordListView()->geometry(), QRect(310, 30, 575, tab.height() - 80));
    AddHotWordView *card = page.addHotWordView();
    EXPECT_EQ(card->createBtn()->geometry(), QRect((280 - 85) / 2, card->height() - 41, 85, 31));
    EXPECT_EQ(card->tableView()->geometry().top(), 40 + 17 + 15);
}

// The hint is an instruction ("one per line"): it wraps whole, in its own type.
TEST(ReadHotWords, TheHintIsReadWholeAboveTheRows)
{
    for (const int language : {0, 5, 9, 15}) { // zh-Hans, Russian, French, Filipino
        PageWorld world;
        world.data.languages().setUiLanguageIndex(quint64(language));
        AddHotWordView card{{world.commands, world.ports, world.notifications}};
        card.resize(280, 520);
        card.show();
        const QXLabel *tip = card.tipLabel();
        const int width = int(tip->textRect().width());
        EXPECT_LE(tip->fontMetrics().boundingRect(0, 0, width, 1000, Qt::TextWordWrap, tip->text()).height(),
                  tip->height());
        EXPECT_GE(card.tableView()->y(), tip->geometry().bottom() + 15) << language;
    }
}
} // namespace

// The card goes while one of its rows is being typed in, and the window it is in hides
// (as it goes, when the card is the window): the row's end of editing must find no
// callback into the card that is gone (a use-after-free a memory checker reports).
TEST(AuditHotWordCard, GoingWhileARowHasTheFocusLeavesNothingToCallBack)
{
    for (const bool ownWindow : {true, false}) {
        PageWorld world;
        auto host = std::make_unique<QWidget>();
        auto *card =
            new AddHotWordView({world.commands, world.ports, world.notifications}, ownWindow ? nullptr : host.get());
        QWidget *window = ownWindow ? static_cast<QWidget *>(card) : host.get();
        window->resize(280, 520);
        card->resize(280, 520);
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QXTextField *field = card->cell(2)->contentField();
        field->setFocus();
        QTest::keyClicks(field, "typed");
        ASSERT_TRUE(field->hasFocus());
        delete card;
        host->hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(QApplication::focusWidget(), nullptr) << ownWindow;
    }
}
