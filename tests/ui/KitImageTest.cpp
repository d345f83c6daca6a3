// Small views, the table header, the named artwork and the image helpers.
#include "PZLog.h"
#include "controls/QXTableHeaderCell.h"
#include "drawing/NamedImage.h"
#include "drawing/PZImage.h"
#include "views/QXBackGroundView.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
class CountingParent : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        ++presses;
        e->accept();
    }
};
} // namespace

TEST(KitBackground, KeepsPressesFromTheViewBehind)
{
    CountingParent parent;
    parent.resize(200, 200);
    auto *form = new QXBackGroundView(&parent);
    form->setGeometry(0, 0, 100, 100);
    parent.show();
    QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(parent.presses, 0);
    QTest::mouseClick(&parent, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(parent.presses, 1);
}

TEST(KitHeader, TitlesAreWhiteOnDarkGreyWithinTheirBand)
{
    QStandardItemModel model(1, 1);
    model.setHorizontalHeaderLabels({QStringLiteral("MMMMMM")});
    model.setHeaderData(0, Qt::Horizontal, QColor(Qt::red), Qt::ForegroundRole);
    QTableView table;
    auto *header = new QXTableHeaderCell(Qt::Horizontal, &table);
    table.setHorizontalHeader(header);
    table.setModel(&model);
    table.resize(300, 200);
    table.show();
    const QImage image = header->grab().toImage();
    ASSERT_GE(image.height(), 38);
    int white = 0, other = 0, outsideBand = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < header->sectionSize(0) - 1; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(60, 60, 60))
                continue;
            // Glyph edges blend white into the grey; anything redder than it is not.
            if (c.red() == c.green() && c.green() == c.blue() && c.red() > 60) {
                ++white;
                if (y < QXTableHeaderCell::kTitleTop || y >= QXTableHeaderCell::kTitleTop + 24)
                    ++outsideBand;
            } else {
                ++other;
            }
        }
    EXPECT_GT(white, 20);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(outsideBand, 0);
}

TEST(NamedImage, KnownNamesLoadAndMissingOnesAreNullAndLoggedOnce)
{
    EXPECT_FALSE(namedImage(QStringLiteral("1_popUpBtn_down")).isNull());
    EXPECT_FALSE(namedPixmap(QStringLiteral("1_popUpBtn_up")).isNull());
    const QString missing = QStringLiteral("no_such_artwork");
    EXPECT_TRUE(namedImage(missing).isNull());
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("namedImage:") + missing));
    EXPECT_TRUE(namedImage(QString()).isNull());
}

TEST(ImageUtil, BitmapIsWholePixelsOfTheSizeAndBadSizesDrawNothing)
{
    int calls = 0;
    const PZImage image = pz_imageWithSize(QSizeF(10.7, 5.2), [&](QPainter &p) {
        ++calls;
        EXPECT_EQ(p.device()->width(), 10);
        p.fillRect(0, 0, 1, 1, Qt::red);
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(image.bitmap.size(), QSize(10, 5));
    EXPECT_EQ(image.size, QSizeF(10.7, 5.2));
    EXPECT_EQ(image.bitmap.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.bitmap.pixelColor(5, 3).alpha(), 0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QSizeF bad[] = {{0, 5}, {5, 0}, {-3, 5}, {0.5, 0.5}, {nan, 5}, {5, inf}, {1e9, 1e9}};
    for (const QSizeF &size : bad) {
        const PZImage none = pz_imageWithSize(size, [&](QPainter &) { ++calls; });
        EXPECT_TRUE(none.isNull()) << size.width() << "x" << size.height();
    }
    EXPECT_EQ(calls, 1);
}

TEST(ImageUtil, WritesOnlyToPathsWithAFolderAndMakesMissingFolders)
{
    QTemporaryDir tmp;
    QImage image(12, 7, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::blue);
    QFile(tmp.filePath(QStringLiteral("plain"))).open(QIODevice::WriteOnly);

    const QString cwd = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    EXPECT_FALSE(pz_writeToFileAsPNG(image, QStringLiteral("a.png")));
    EXPECT_FALSE(QFile::exists(tmp.filePath(QStringLiteral("a.png"))));
    QDir::setCurrent(cwd);

    struct Row {
        QString path;
        bool png;
        bool written;
    };
    const Row rows[] = {
        {QString(), true, false},
        {tmp.filePath(QStringLiteral("新建/x/y.png")), true, true},
        {tmp.filePath(QStringLiteral("新建/x/y.jpg")), false, true},
        {tmp.filePath(QStringLiteral("plain/y.png")), true, false}, // the parent is a file
        {tmp.filePath(QStringLiteral("dir/")), true, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        const bool ok = row.png ? pz_writeToFileAsPNG(image, row.path) : pz_writeToFileAsJPEG(image, row.path);
        EXPECT_EQ(ok, row.written);
        if (row.written) {
            EXPECT_EQ(QImage(row.path).size(), image.size());
        }
    }
    EXPECT_FALSE(pz_writeToFileAsPNG(QImage(), tmp.filePath(QStringLiteral("null.png"))));
    EXPECT_TRUE(pz_PNGData(QImage()).isEmpty());
}

// A picture written over another replaces the file in one step: whoever has the old one
// open still reads all of it, as a crash part-way through would leave it.
TEST(FinImageWriter, WritingOverAPictureLeavesTheOldFileWholeUntilReplaced)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("p.png"));
    QImage old(4, 4, QImage::Format_ARGB32_Premultiplied), next(8, 8, QImage::Format_ARGB32_Premultiplied);
    old.fill(Qt::red);
    next.fill(Qt::blue);
    ASSERT_TRUE(pz_writeToFileAsPNG(old, path));
    QFile reader(path);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    ASSERT_TRUE(pz_writeToFileAsPNG(next, path));
    EXPECT_EQ(QImage::fromData(reader.readAll()).size(), old.size());
    EXPECT_EQ(QImage(path).size(), next.size());
}
