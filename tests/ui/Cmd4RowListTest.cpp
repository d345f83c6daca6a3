// The row list of the command pages, and the alerts that show user text as it is.
#include "FakeNeighbours.h"
#include "desktop/MessageBoxAlertPresenter.h"
#include "desktop/QXToolManagerUI.h"
#include "views/RowList.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A list of n items whose cells are buttons showing their row's item.
struct Numbers {
    int items = 0;
    int made = 0;
    RowList list;
    Numbers()
    {
        list.setRowHeight(40);
        list.setMinRows(3);
        list.setSource({[this] { return items; },
                        [this](QWidget *row) {
                            ++made;
                            return new QPushButton(row);
                        },
                        [this](QWidget *cell, int row) {
                            auto *b = static_cast<QPushButton *>(cell);
                            b->setObjectName(RowList::partName(row, "button"));
                            b->setText(row < items ? QString::number(row) : QString());
                        }});
        list.resize(300, 100);
        list.show();
    }
    QPushButton *button(int row) { return list.findChild<QPushButton *>(RowList::partName(row, "button")); }
};

TEST(Cmd4RowList, RowsFollowTheDataAreReusedAndGoSafelyFromTheirOwnHandler)
{
    Numbers n;
    n.list.reload();
    EXPECT_EQ(n.list.rowCount(), 3) << "never fewer than the minimum";
    EXPECT_EQ(n.button(2)->text(), "");
    n.items = 6;
    n.list.reload();
    EXPECT_EQ(n.list.rowCount(), 6);
    EXPECT_EQ(n.made, 6) << "the first three rows were kept";
    EXPECT_EQ(n.list.widget()->size(), QSize(300, 240));
    EXPECT_EQ(n.list.rowView(5)->geometry(), QRect(0, 200, 300, 40));
    EXPECT_EQ(n.button(5)->geometry(), QRect(0, 0, 300, 40));
    EXPECT_EQ(n.button(4)->text(), "4");

    // The last row's own button shrinks the list: the button lives until its click is over.
    QPointer<QPushButton> last = n.button(5);
    QObject::connect(last, &QPushButton::clicked, [&] {
        n.items = 1;
        n.list.reload();
    });
    last->click();
    EXPECT_FALSE(last.isNull());
    EXPECT_EQ(n.list.rowCount(), 3);
    EXPECT_EQ(n.list.findChild<QWidget *>("row5"), nullptr);
    EXPECT_EQ(n.button(5), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(last.isNull());

    // Scrolling a row into view, with no scroll bar shown.
    n.items = 20;
    n.list.reload();
    n.list.scrollToRow(19);
    EXPECT_EQ(n.list.verticalScrollBar()->value(), 20 * 40 - n.list.viewport()->height());
    EXPECT_FALSE(n.list.verticalScrollBar()->isVisible());
    // The transcription list's look: one colour and grid lines.
    n.list.setLook({QColor(28, 28, 29), QColor(28, 28, 29), QColor(Qt::gray)});
    EXPECT_EQ(n.list.rowView(0)->layerStyle().backgroundColor, QColor(28, 28, 29));
    EXPECT_EQ(n.list.rowView(1)->gridColor(), QColor(Qt::gray));
}

QMessageBox *shownBox()
{
    QMessageBox *found = nullptr;
    (void)QTest::qWaitFor([&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
                found = box;
        return found != nullptr;
    });
    return found;
}

TEST(Cmd4PlainTextAlert, QuestionsAndErrorDetailsShowMarkupLiterally)
{
    FakeNeighbours neighbours;
    MessageBoxAlertPresenter presenter(&neighbours.shell);
    presenter.showAlert("确定要删除语音指令‘<b>x</b>’？", {"取消", "确定"}, [](int) {});
    QMessageBox *question = shownBox();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->textFormat(), Qt::PlainText);
    EXPECT_EQ(question->findChild<QLabel *>("qt_msgbox_label")->text(), "确定要删除语音指令‘<b>x</b>’？");
    delete question;

    QXToolManagerUI::Deps deps;
    deps.localize = [](const QString &key) { return key; };
    QXToolManagerUI tool(deps);
    tool.showErrorMsg("<i>删除失败</i>", "<b>x</b>");
    QMessageBox *error = shownBox();
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->textFormat(), Qt::PlainText);
    auto *detail = error->findChild<QLabel *>("qt_msgbox_informativelabel");
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->textFormat(), Qt::PlainText);
    EXPECT_EQ(detail->text(), "<b>x</b>");
    error->close();
}

} // namespace
