// Buttons, the segmented control and the drop-down button, driven by mouse events.
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "controls/QXSegmentedControl.h"
#include "desktop/QXToolManagerUI.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(KitButton, PressShowsTheHighlightsAndEveryReleaseClicksOnce)
{
    struct Row {
        const char *what;
        bool highlights;
        QPoint release;
    };
    const Row rows[] = {{"highlights, release inside", true, {10, 10}},
                        {"highlights, release outside", true, {-50, -50}},
                        {"no highlights, release outside", false, {-50, -50}}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QXButton button(QStringLiteral("OK"));
        button.resize(80, 30);
        button.setLayerBackgroundColor(Qt::white);
        button.setTitleColor(QColor(9, 9, 9));
        if (row.highlights) {
            button.setHighlightBackGroundColor(QColor(1, 2, 3));
            button.setHighlightTitleColor(QColor(4, 5, 6));
        }
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(button.layerStyle().backgroundColor, row.highlights ? QColor(1, 2, 3) : QColor(Qt::white));
        EXPECT_EQ(button.titleColor(), row.highlights ? QColor(4, 5, 6) : QColor(9, 9, 9));
        QTest::mouseMove(&button, row.release);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, row.release);
        EXPECT_EQ(clicked.count(), 1);
        EXPECT_EQ(button.layerStyle().backgroundColor, QColor(Qt::white));
        EXPECT_EQ(button.titleColor(), QColor(9, 9, 9));
    }

    // A switch: the click flips the state before the action sees it.
    QXButton toggle;
    toggle.resize(40, 20);
    toggle.setCheckable(true);
    bool seen = false;
    QObject::connect(&toggle, &QAbstractButton::clicked, [&](bool checked) { seen = checked; });
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(toggle.isChecked());
}

TEST(KitButton, TitleKeepsItsColourAndAnInvalidColourChangesNothing)
{
    QXButton button;
    button.resize(60, 30);
    button.setTitleColor(Qt::red);
    button.setTitle(QStringLiteral("X"));
    button.setTitleColor(QColor());
    EXPECT_EQ(button.titleColor(), QColor(Qt::red));
    EXPECT_EQ(button.title(), QStringLiteral("X"));
    const QImage image = button.grab().toImage();
    int red = 0; // glyph pixels, blended with the clear background at the edges
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += (c.red() > 150 && c.green() < 90 && c.blue() < 90) ? 1 : 0;
        }
    EXPECT_GT(red, 3);
}

TEST(KitSegmented, SegmentsAreWidthOverMaxOfThreeAndTheCountAndAllClickable)
{
    struct Row {
        int count;
        int segmentWidth;
    };
    for (const Row row : {Row{3, 100}, Row{2, 100}, Row{1, 100}, Row{4, 75}, Row{6, 50}}) {
        SCOPED_TRACE(row.count);
        QXSegmentedControl control;
        control.resize(300, 30);
        QStringList titles;
        for (int i = 0; i < row.count; ++i)
            titles << QString::number(i);
        control.setTitleArr(titles);
        control.setTitleArr(titles); // again: the old segments go
        ASSERT_EQ(control.allItemArr().size(), row.count);
        EXPECT_EQ(control.findChildren<QXButton *>().size(), row.count);
        ASSERT_EQ(control.dividers().size(), row.count - 1);
        QList<int> reports;
        control.setSelectBlock([&](int i) { reports << i; });
        const QImage shot = control.grab().toImage(); // the dividers show over the segments
        for (int i = 0; i < row.count; ++i) {
            const QRect seg = control.allItemArr()[i]->geometry();
            EXPECT_EQ(seg, QRect(i * row.segmentWidth, 0, row.segmentWidth - 1, 30));
            if (i + 1 < row.count) {
                EXPECT_EQ(control.dividers()[i]->geometry(), QRect((i + 1) * row.segmentWidth, 0, 1, 30));
                EXPECT_EQ(shot.pixelColor((i + 1) * row.segmentWidth, 15), qxDarkGreyColor()) << i;
            }
            QTest::mouseClick(control.allItemArr()[i], Qt::LeftButton, {}, QPoint(10, 10));
        }
        QList<int> expected;
        for (int i = 0; i < row.count; ++i)
            expected << i;
        EXPECT_EQ(reports, expected);
    }
    QXSegmentedControl empty;
    empty.setTitleArr({});
    EXPECT_TRUE(empty.allItemArr().isEmpty());
    EXPECT_EQ(empty.selectIndex(), 0);
}

TEST(KitSegmented, OnlyClicksReportAndTheSelectedSegmentIsDark)
{
    QXSegmentedControl control;
    control.resize(300, 30);
    QSignalSpy selected(&control, &QXSegmentedControl::selected);
    control.setTitleArr({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    EXPECT_EQ(control.selectIndex(), 0);
    control.setSelectIndex(1);
    EXPECT_EQ(selected.count(), 0);
    EXPECT_EQ(control.allItemArr()[1]->layerStyle().backgroundColor, QColor(60, 60, 60));
    EXPECT_EQ(control.allItemArr()[1]->titleColor(), QColor(Qt::white));
    EXPECT_EQ(control.allItemArr()[0]->layerStyle().backgroundColor, QColor(Qt::white));
    QTest::mouseClick(control.allItemArr()[1], Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(control.allItemArr()[1], Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(selected.count(), 2);
    EXPECT_EQ(selected.at(1).at(0).toInt(), 1);
}

namespace {
struct PopUpWindow {
    QWidget window;
    QXPopUpButton *button = new QXPopUpButton(&window);
    PopUpWindow()
    {
        window.resize(500, 500);
        button->setGeometry(200, 200, 120, 34);
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
    }
};
} // namespace

TEST(KitPopUp, MenuOpensFiveUnderTheButtonAndTheArrowFollowsIt)
{
    PopUpWindow w;
    w.button->setItemsArr({QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(w.button->shownImageName(), QStringLiteral("1_popUpBtn_down"));
    QTest::mouseClick(w.button, Qt::LeftButton, {}, QPoint(10, 10));
    QMenu *menu = w.button->myMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
    EXPECT_EQ(menu->pos(), w.button->mapToGlobal(QPoint(0, 39)));
    EXPECT_GE(menu->width(), 120);
    EXPECT_EQ(w.button->shownImageName(), QStringLiteral("1_popUpBtn_up"));
    menu->close(); // dismissed without a choice
    EXPECT_EQ(w.button->shownImageName(), QStringLiteral("1_popUpBtn_down"));

    // An empty list still opens (an empty menu).
    w.button->setItemsArr({});
    QTest::mouseClick(w.button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
    menu->close();
}

TEST(KitPopUp, OnlyUserChoicesReportAndAnIndexOutsideTheItemsKeepsTheLabel)
{
    QXPopUpButton button;
    button.resize(120, 34);
    QSignalSpy selected(&button, &QXPopUpButton::selected);
    button.setItemsArr({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    button.setSelectIndex(2);
    EXPECT_TRUE(button.allMenuItem()[2]->isChecked());
    EXPECT_FALSE(button.allMenuItem()[0]->isChecked());
    EXPECT_EQ(button.stringValue(), QStringLiteral("C"));
    EXPECT_EQ(selected.count(), 0);

    button.allMenuItem()[2]->trigger();
    button.allMenuItem()[2]->trigger();
    ASSERT_EQ(selected.count(), 2);
    EXPECT_EQ(selected.at(0).at(0).toInt(), 2);

    button.setItemsArr({QStringLiteral("x")});
    EXPECT_FALSE(button.allMenuItem()[0]->isChecked());
    EXPECT_EQ(button.stringValue(), QStringLiteral("C"));
    EXPECT_EQ(button.selectIndex(), 2);
    button.setSelectIndex(-1);
    EXPECT_FALSE(button.allMenuItem()[0]->isChecked());
    EXPECT_EQ(button.stringValue(), QStringLiteral("C"));
    EXPECT_EQ(selected.count(), 2);
}

TEST(KitPopUp, WithAlignmentOneTheArrowStaysFiveAfterTheCentredText)
{
    QXPopUpButton button;
    button.resize(200, 34);
    button.setTextAlignment(Qt::AlignCenter);
    button.setImageAlignment(QXPopUpButton::ArrowAfterText);
    button.setItemsArr({QStringLiteral("short"), QStringLiteral("a much longer entry")});
    for (int i : {0, 1}) {
        button.allMenuItem()[i]->trigger();
        const double t = QXToolManagerUI::textWidth(button.stringValue(), 34, button.titleLabel()->font());
        EXPECT_NEAR(button.imageView()->x(), 100 + t / 2 + 5, 1) << i;
    }
    // Values other than 0 and 1 are kept and move nothing.
    const int x = button.imageView()->x();
    button.setImageAlignment(7);
    EXPECT_EQ(button.imageAlignment(), 7u);
    EXPECT_EQ(button.imageView()->x(), x);
}

// The chosen entry's name is cut with "…" where the button is too narrow for it, at
// its own size: the title paints as a label showing the name's cut form would, not as
// the whole name clipped or drawn smaller.
TEST(AuditPopUp, ATitleWiderThanItsButtonEndsInAnEllipsis)
{
    QXPopUpButton button;
    button.resize(120, 34);
    const struct {
        QString name;
        bool wide;
    } rows[] = {{"Go", false}, {"A language with a very long name", true}};
    for (const auto &r : rows) {
        button.setItemsArr({r.name});
        button.setSelectIndex(0);
        QXLabel *title = button.titleLabel();
        ASSERT_EQ(title->fontMetrics().horizontalAdvance(r.name) > title->width(), r.wide);
        const QString cut = title->fontMetrics().elidedText(r.name, Qt::ElideRight, int(title->textRect().width()));
        EXPECT_EQ(cut.endsWith(u'…'), r.wide);
        QXLabel expected(cut, &button);
        expected.setFont(title->font());
        expected.setTextColor(title->textColor());
        expected.setAlignment(title->alignment());
        expected.setGeometry(title->geometry());
        EXPECT_EQ(title->grab().toImage(), expected.grab().toImage()) << r.name.toStdString();
    }
}
