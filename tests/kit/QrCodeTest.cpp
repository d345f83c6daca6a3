#include "PZQRCode.h"

#include <QColor>

#include <gtest/gtest.h>

using namespace pz;

namespace {

const QString kText = QStringLiteral("https://example.com/a");

// Every pixel of a code without centre picture is pure black or white.
bool onlyBlackAndWhite(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int g = qGray(image.pixel(x, y));
            if (g != 0 && g != 255)
                return false;
        }
    return true;
}

QImage redSquare()
{
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    return red;
}

} // namespace

TEST(QrCode, ModulesAreSharpBlocksThatMatchTheEncoder)
{
    const QImage modules = qrModuleImage(kText);
    ASSERT_FALSE(modules.isNull());
    ASSERT_EQ(modules.width(), modules.height());

    for (double size : {100.0, 300.0, 57.0}) {
        const QImage code = generatingTwoDimensionalCode(kText, QString(), size);
        ASSERT_EQ(code.size(), QSize(int(size), int(size)));
        EXPECT_TRUE(onlyBlackAndWhite(code)) << size;
        // The pixel at the centre of each module carries that module's colour.
        const double scale = size / modules.width();
        for (int my = 0; my < modules.height(); ++my)
            for (int mx = 0; mx < modules.width(); ++mx) {
                const int px = int((mx + 0.5) * scale);
                const int py = int((my + 0.5) * scale);
                ASSERT_EQ(qGray(code.pixel(px, py)), qGray(modules.pixel(mx, my)))
                    << "module " << mx << "," << my << " at size " << size;
            }
    }
}

TEST(QrCode, CentrePictureIsSixteenSquareAtAnySize)
{
    for (int size : {100, 300}) {
        const QImage plain = generatingTwoDimensionalCode(kText, QString(), size);
        const QImage withIcon = generatingTwoDimensionalCode(kText, redSquare(), size);
        ASSERT_EQ(withIcon.size(), QSize(size, size));
        const int origin = (size - kQRCenterImageSide) / 2; // 42 and 142
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool inside = x >= origin && x < origin + 16 && y >= origin && y < origin + 16;
                if (inside)
                    ASSERT_EQ(QColor(withIcon.pixel(x, y)), QColor(Qt::red)) << x << "," << y;
                else
                    ASSERT_EQ(qGray(withIcon.pixel(x, y)), qGray(plain.pixel(x, y))) << x << "," << y;
            }
    }
}

TEST(QrCode, BadInputGivesBlankOrNothing)
{
    // A resource name that does not exist leaves the centre undrawn.
    EXPECT_EQ(generatingTwoDimensionalCode(kText, QStringLiteral("NoSuchImage"), 100)
                  .convertToFormat(QImage::Format_Grayscale8),
              generatingTwoDimensionalCode(kText, QString(), 100));

    QImage white(100, 100, QImage::Format_Grayscale8);
    white.fill(Qt::white);
    EXPECT_EQ(generatingTwoDimensionalCode(QString(), QString(), 100), white);
    EXPECT_EQ(generatingTwoDimensionalCode(QString(5000, u'x'), QString(), 100), white); // too long for QR

    EXPECT_TRUE(generatingTwoDimensionalCode(kText, QString(), 0).isNull());
    EXPECT_TRUE(generatingTwoDimensionalCode(kText, QString(), -5).isNull());
    EXPECT_TRUE(generatingTwoDimensionalCode(kText, QString(), std::numeric_limits<double>::quiet_NaN()).isNull());

    // NUL bytes and any Unicode are encoded, not cut.
    EXPECT_NE(qrModuleImage(QString::fromUtf8("a\0b", 3)), qrModuleImage("a"));
    EXPECT_FALSE(qrModuleImage(QStringLiteral("你好")).isNull());
}
