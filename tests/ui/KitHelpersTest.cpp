// Frame accessors, colours from text, URL encoding and the small string helpers.
#include "ManualScheduler.h"
#include "drawing/CocoaScreen.h"
#include "drawing/PZColor.h"
#include "drawing/PZFrame.h"
#include "drawing/PZStringKit.h"
#include "views/PZViewAnimation.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

TEST(FrameGeometry, EdgesAndCornersFollowTheFlip)
{
    struct Row {
        bool flipped;
        QPointF topLeft, leftBottom, bottomRight, topRight;
        qreal topAfterSet100; // y after setTop(100)
    };
    // Frame (0, 0, 10, 20).
    const Row rows[] = {{true, {0, 0}, {0, 20}, {10, 20}, {10, 0}, 100},
                        {false, {0, 20}, {0, 0}, {10, 0}, {10, 20}, 80}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.flipped);
        PZFrame f{QRectF(0, 0, 10, 20), row.flipped};
        EXPECT_EQ(f.topLeft(), row.topLeft);
        EXPECT_EQ(f.leftBottom(), row.leftBottom);
        EXPECT_EQ(f.bottomRight(), row.bottomRight);
        EXPECT_EQ(f.topRight(), row.topRight);
        f.setTop(100);
        EXPECT_EQ(f.y(), row.topAfterSet100);
        EXPECT_EQ(f.size(), QSizeF(10, 20));
        f.setBottomRight({50, 60});
        EXPECT_EQ(f.bottomRight(), QPointF(50, 60));
        f.setCenter({0, 0});
        EXPECT_EQ(f.frame, QRectF(-5, -10, 10, 20));
    }
    const PZFrame window{QRectF(0, 50, 30, 20), false};
    EXPECT_EQ(window.top(), 70);
    EXPECT_EQ(window.bottom(), 50);
    // A Qt window at the top of an 800 px screen has its bottom-left frame at y 780.
    EXPECT_EQ(CocoaScreen::fromQt(QRectF(0, 0, 30, 20), 800), QRectF(0, 780, 30, 20));
    EXPECT_EQ(CocoaScreen::toQt(QRectF(0, 780, 30, 20), 800), QRectF(0, 0, 30, 20));
}

TEST(FrameGeometry, MoveAnimationCompletesAfter350Ms)
{
    ManualScheduler clock;
    QWidget parent;
    auto *view = new QWidget(&parent);
    int done = 0;
    moveAnimationWithView(view, QRect(10, 10, 20, 20), [&] { ++done; });
    clock.advance(349);
    EXPECT_EQ(done, 0);
    clock.advance(1);
    EXPECT_EQ(done, 1);
    moveAnimationWithView(nullptr, QRect(), [&] { ++done; });
    clock.advance(1000);
    EXPECT_EQ(done, 1);
}

TEST(HexColor, OnlyAWholeSixDigitTextParses)
{
    struct Row {
        const char *text;
        qreal alpha;
        QColor expected;
    };
    const QColor white(Qt::white);
    const Row rows[] = {
        {"#FF8000", 1, QColor(255, 128, 0)},
        {"#ff8000", 0.5, QColor(255, 128, 0, 128)},
        {"FF8000", 1, white},
        {"#FF800", 1, white},
        {"#GG0000", 1, white},
        {"", 1, white},
        {"#FF8000\n", 1, white},
        {" #FF8000", 1, white},
        {"#FF80001", 1, white},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        const QColor c = pz_colorWithHexString(QString::fromUtf8(row.text), row.alpha);
        EXPECT_EQ(c.toRgb().rgba(), row.expected.rgba());
    }
    EXPECT_EQ(pz_colorWithHexString(QString()), white);
    EXPECT_EQ(pz_colorWithIntR(0, 175, 204), QColor(0, 175, 204));
    for (int i = 0; i < 50; ++i) {
        const QColor c = pz_randomColor();
        for (float v : {c.redF(), c.greenF(), c.blueF()}) {
            EXPECT_GE(v, 0.605f);
            EXPECT_LE(v, 1.0f);
            EXPECT_NEAR(v * 100, std::round(v * 100), 0.01); // whole hundredths
        }
    }
}

TEST(UrlEncode, EncodesEveryByteButTheUnreservedOnes)
{
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("a b&c"), QStringLiteral("a+b%26c")},
        {QStringLiteral("é"), QStringLiteral("%C3%A9")},
        {QString(), QString()},
        {QStringLiteral("~-._"), QStringLiteral("~-._")},
        {QStringLiteral("*"), QStringLiteral("%2A")},
        {QString(QChar(0)), QStringLiteral("%00")},
        {QStringLiteral("😀"), QStringLiteral("%F0%9F%98%80")},
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(pz_urlencode(in), out) << in.toStdString();
}

TEST(StringCombine, JoinInvertAndAttribute)
{
    const QStringList abc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_EQ(pz_stringByCombineComponents(abc, QStringLiteral(",")), QStringLiteral("a,b,c"));
    EXPECT_EQ(pz_stringByCombineComponents(abc, QString()), QStringLiteral("abc"));
    EXPECT_FALSE(pz_stringByCombineComponents({}, QStringLiteral(",")).has_value());

    EXPECT_FALSE(pz_reverseKeysAndObjectsDictionary(QMap<QString, int>{{"a", 1}, {"b", 1}}).has_value());
    const auto inverted = pz_reverseKeysAndObjectsDictionary(QMap<QString, int>{{"a", 1}, {"b", 2}});
    ASSERT_TRUE(inverted.has_value());
    EXPECT_EQ(*inverted, (QMap<int, QString>{{1, "a"}, {2, "b"}}));

    EXPECT_FALSE(pz_attributedStringWithString(QString(), QFont(), Qt::red).has_value());
    EXPECT_FALSE(pz_attributedStringWithString(QStringLiteral("x"), QFont(), QColor()).has_value());
    EXPECT_TRUE(pz_attributedStringWithString(QStringLiteral("x"), QFont(), Qt::red).has_value());
}
