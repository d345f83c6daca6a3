// The product picture: which record the interface language picks, what is saved
// where, and the real download.
#include "ProfileWorld.h"

#include "DataPaths.h"

#include <QBuffer>
#include <QFileInfo>
#include <QNetworkAccessManager>

#include <gtest/gtest.h>

namespace {

QImage square(QColor color)
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(Pgs1ProductImage, TheInterfaceLanguagePicksTheRecord)
{
    const char *mixed = R"([{"EN_US":[{"img":"http://e/1.png"}]},{"ZH_CN":[]},{"ZH_CN":[{"img":"http://c/1.png"}]},
        "junk",{"ZH_CN":"x"},{"EN_US":[7]}])";
    const struct {
        const char *images;
        int uiIndex;
        const char *loaded; // "" for none
    } rows[] = {
        {mixed, 0, "http://c/1.png"},
        {mixed, 1, "http://c/1.png"}, // ZH_TW falls back to simplified Chinese
        {mixed, 3, "http://e/1.png"}, // JA_JP falls back to English
        {R"([{"ZH_CN":[{"img":"http://c/1.png"}]}])", 4, ""},
        {R"([{"ZH_CN":[{"img":7}]}])", 0, ""},
        {R"([{"ZH_CN":[{"img":"file:///etc/passwd"}]}])", 0, ""},
        {R"([{"ZH_CN":[{"img":"/etc/passwd"}]}])", 0, ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.images) + " " + std::to_string(row.uiIndex));
        ProfileWorld w;
        w.s.languages().setUiLanguageIndex(quint64(row.uiIndex));
        w.apply(QByteArray(R"({"images":)") + row.images + "}");
        EXPECT_EQ(w.images.urls.join(' '), row.loaded);
    }
}

// A load saves the picture under the product's name; a failed one shows the saved
// file, or nothing when there is none. A profile without pictures clears the view.
TEST(Pgs1ProductImage, SavedOnSuccessShownFromTheFileOnFailure)
{
    ProfileWorld w;
    const QByteArray profile = R"({"sno":"S9X","images":[{"ZH_CN":[{"img":"http://c/1.png"}]}]})";
    w.apply(profile);
    w.images.finish(QImage());
    EXPECT_TRUE(w.ctl.productImage().isNull());

    w.apply(profile);
    w.images.finish(square(Qt::red));
    const QString file = DataPaths::getFilePath("523_S9X.png");
    EXPECT_EQ(w.ctl.productImagePath(), file);
    EXPECT_EQ(QImage(file).pixelColor(1, 1), QColor(Qt::red));

    w.apply(profile);
    w.images.finish(QImage());
    EXPECT_EQ(w.ctl.productImage().pixelColor(0, 0), QColor(Qt::red));

    w.apply(R"({"images":[]})");
    EXPECT_TRUE(w.ctl.productImage().isNull());
}

// The file name comes from server text: it stays one file inside the data root.
TEST(Pgs1ProductImage, TheFileNameStaysInsideTheDataRoot)
{
    const struct {
        const char *code, *sno, *name;
    } rows[] = {
        {"523", "S9X", "523_S9X.png"}, {"523", "../../x", "523_..%2F..%2Fx.png"}, {"5/2", "a/b", "5%2F2_a%2Fb.png"},
        {"523", "..", "523_...png"},   {"523", "中", "523_%E4%B8%AD.png"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(DeviceProfileController::productImageFileName(row.code, row.sno), row.name);
    EXPECT_EQ(DeviceProfileController::productImageFileName("523", QString(QChar(0)) + "\n"), "523_%00%0A.png");
    const QString longName = DeviceProfileController::productImageFileName("523", QString(1000, 'x'));
    EXPECT_LT(longName.size(), 255);
    EXPECT_NE(longName, DeviceProfileController::productImageFileName("523", QString(1001, 'x')));

    ProfileWorld w;
    w.apply(R"({"sno":"../../evil","images":[{"ZH_CN":[{"img":"http://c/1.png"}]}]})");
    w.images.finish(square(Qt::blue));
    const QFileInfo saved(w.ctl.productImagePath());
    EXPECT_TRUE(saved.exists());
    EXPECT_EQ(saved.absolutePath(), QFileInfo(DataPaths::dataRoot()).absoluteFilePath());
}

TEST(Pgs1ProductImage, TheNetworkLoaderDecodesAServedPng)
{
    LocalHttpServer server;
    server.enqueue(HttpScriptedReply::withContentType("image/png", png(square(Qt::green))));
    server.enqueue(HttpScriptedReply::html(404, "<p>gone</p>"));
    QNetworkAccessManager network;
    NetworkProductImageLoader loader(network);
    QList<QImage> got;
    for (int i = 1; i <= 2; ++i) {
        loader.load(QUrl(server.baseUrl() + "/p.png"), [&](const QImage &image) { got << image; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return got.size() == i; }, 5000));
    }
    EXPECT_EQ(got[0].size(), QSize(2, 2));
    EXPECT_EQ(got[0].pixelColor(0, 0), QColor(Qt::green));
    EXPECT_TRUE(got[1].isNull());
}

} // namespace
