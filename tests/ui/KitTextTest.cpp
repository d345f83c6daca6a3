// Label, input fields, text view and the integer formatter.
#include "ManualScheduler.h"
#include "controls/OnlyIntegerValueFormatter.h"
#include "controls/QXLabel.h"
#include "controls/QXSecureTextField.h"
#include "controls/QXTextField.h"
#include "controls/QXTextView.h"
#include "drawing/KitAppearance.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>

TEST(KitLabel, ClicksPassThroughToTheButtonUnderneath)
{
    QWidget window;
    auto *button = new QPushButton(&window);
    button->setGeometry(0, 0, 100, 30);
    auto *label = new QXLabel(QStringLiteral("over the button"), &window);
    label->setGeometry(0, 0, 100, 30);
    window.show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    // A click is delivered to the widget at the point, which must be the button.
    QWidget *target = window.childAt(50, 15);
    ASSERT_EQ(target, button);
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(clicks, 1);
}

TEST(KitLabel, TextIsInsetEquallyAtTopAndBottom)
{
    QXLabel label(QStringLiteral("Voice"));
    label.setFont(qxSystemFont(13));
    label.resize(200, 30);
    const QFontMetricsF m(label.font());
    const double d = std::floor(15 - (m.ascent() - m.descent())) + 2;
    const QRectF r = label.textRect();
    EXPECT_DOUBLE_EQ(r.top(), d);
    EXPECT_DOUBLE_EQ(30 - r.bottom(), d);
}

TEST(KitTextField, FocusTurnsTheCaretAccentAndItBlinksOnTheScheduler)
{
    ManualScheduler clock;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *field = new QXTextField;
    auto *other = new QXTextField;
    field->setFixedSize(200, 30);
    layout->addWidget(field);
    layout->addWidget(other);
    EXPECT_NE(field->caretColor(), qxAccentColor()); // never focused yet
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    EXPECT_EQ(field->caretColor(), qxAccentColor());
    EXPECT_TRUE(field->isCaretShown());
    // The caret is painted in the accent colour, one pixel wide.
    const QImage shot = field->grab().toImage();
    int accentPixels = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            accentPixels += shot.pixelColor(x, y) == qxAccentColor() ? 1 : 0;
    EXPECT_GT(accentPixels, 5);
    EXPECT_LT(accentPixels, shot.height());

    const int half = QApplication::cursorFlashTime() / 2;
    clock.advance(half);
    EXPECT_FALSE(field->isCaretShown());
    clock.advance(half);
    EXPECT_TRUE(field->isCaretShown());

    other->setFocus();
    EXPECT_FALSE(field->isCaretShown());
    EXPECT_EQ(field->caretColor(), qxAccentColor()); // stays once focused
    other->clearFocus();
    EXPECT_EQ(clock.pendingCount(), 0); // no blinking without focus
}

TEST(KitTextField, SecureFieldShowsNoTypedCharacter)
{
    QXSecureTextField field;
    field.resize(200, 30);
    field.setText(QStringLiteral("secret"));
    EXPECT_EQ(field.echoMode(), QLineEdit::Password);
    EXPECT_EQ(field.text(), QStringLiteral("secret"));
    EXPECT_FALSE(field.displayText().contains(u's'));
}

TEST(KitTextView, HeightIsLinesWithTenPixelSpacingPlusThirty)
{
    QXTextView view;
    const double lh = QFontMetricsF(view.font()).height();

    view.setString(QString());
    EXPECT_EQ(view.textH(), 30);

    view.setMaxWidth(856);
    view.setString(QStringLiteral("Hold the voice key and speak."));
    const double one = view.textH();
    EXPECT_NEAR(one, std::ceil(lh) + 30, 1);

    view.setString(QStringLiteral("first line\nsecond line"));
    EXPECT_NEAR(view.textH() - one, lh + 10, 1);

    // Character wrapping: a word longer than the width is broken, not overflowed.
    view.setMaxWidth(60);
    view.setString(QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_GT(view.textH(), one + lh);

    // Between words where there are words; anywhere in Chinese or a word too long.
    const QFontMetricsF m(view.font());
    const struct {
        const char *text, *fits, *lines;
    } rows[] = {
        {"hello world", "hello wor", "hello |world"},
        {"你好世界你好世界", "你好世", "你好世|界你好|世界"},
        {"abcdefgh", "abcd", "abcd|efgh"},
    };
    for (const auto &row : rows) {
        const QString text = QString::fromUtf8(row.text);
        const qreal width = m.horizontalAdvance(QString::fromUtf8(row.fits)) + 0.5;
        EXPECT_EQ(QXTextView::wrappedLines(text, view.font(), width).join('|'), QString::fromUtf8(row.lines))
            << row.text;
    }

    QXTextView fresh, explicitWidth;
    const QString text = QString(80, u'x');
    explicitWidth.setMaxWidth(300);
    fresh.setString(text);
    explicitWidth.setString(text);
    EXPECT_EQ(fresh.textH(), explicitWidth.textH()); // never set: 300
    fresh.setMaxWidth(std::nan(""));
    fresh.setString(text);
    EXPECT_EQ(fresh.textH(), explicitWidth.textH());

    QXTextView longText;
    longText.setString(QString(200000, u'a'));
    EXPECT_TRUE(std::isfinite(longText.textH()));
    EXPECT_GT(longText.textH(), 1000);
}

TEST(IntegerFormatter, AcceptsWholeNumbersOnlyAndBeepsOnEachRefusal)
{
    struct Row {
        const char *text;
        bool accepted;
    };
    const Row rows[] = {
        {"", true},
        {"12", true},
        {"-3", true},
        {" 7", true},
        {"+5", true},
        {"7 ", true},
        {"\t42\n", true},
        {"1a", false},
        {"a", false},
        {"-", false},
        {" ", false},
        {"+-1", false},
        {"1 2", false},
        {"1.5", false},
        {"9223372036854775807", true},
        {"-9223372036854775808", true},
        {"9223372036854775808", false},
    };
    OnlyIntegerValueFormatter formatter;
    int beeps = 0;
    formatter.setBeep([&] { ++beeps; });
    int refused = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        QString input = QString::fromUtf8(row.text);
        int pos = 0;
        EXPECT_EQ(formatter.validate(input, pos) == QValidator::Acceptable, row.accepted);
        refused += row.accepted ? 0 : 1;
        EXPECT_EQ(beeps, refused);
    }
}
