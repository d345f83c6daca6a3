#include "desktop/MessageBoxAlertPresenter.h"
#include "FakeNeighbours.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QMessageBox *openBox(QWidget *window)
{
    QMessageBox *box = nullptr;
    (void)QTest::qWaitFor([&] {
        const auto boxes = window->findChildren<QMessageBox *>();
        box = boxes.isEmpty() ? nullptr : boxes.first();
        return box && box->isVisible();
    });
    return box;
}

QAbstractButton *buttonWithText(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace

TEST(MessageBoxAlertPresenter, WindowModalOnTheMainWindowAndReportsTheButton)
{
    FakeNeighbours neighbours;
    QWidget window;
    window.show();
    neighbours.shell.mainWindow = &window;

    MessageBoxAlertPresenter presenter(&neighbours.shell);
    std::vector<int> answers;
    for (int pick : {1, 0}) {
        const size_t before = answers.size();
        presenter.showAlert("检测到有新版本，是否升级？", {"取消", "确定"}, [&](int i) { answers.push_back(i); });
        EXPECT_EQ(answers.size(), before) << "not answered while shown";
        QMessageBox *box = openBox(&window);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);
        EXPECT_EQ(box->parentWidget(), &window);
        EXPECT_EQ(box->text(), "检测到有新版本，是否升级？");
        EXPECT_EQ(box->windowTitle(), "Quorvex") << "not the program's file name";
        EXPECT_EQ(box->escapeButton(), buttonWithText(box, "取消"));
        QAbstractButton *button = buttonWithText(box, pick == 1 ? "确定" : "取消");
        ASSERT_NE(button, nullptr);
        QPointer<QMessageBox> alive(box);
        button->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); })) << "the box deletes itself";
    }
    EXPECT_EQ(answers, (std::vector<int>{1, 0}));
}
