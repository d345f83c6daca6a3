// The product picture: which record the interface language picks and what is saved
// where. (The download itself is the application's picture port: CompanionAppTest.)
#include "ProfileWorld.h"

#include "DataPaths.h"

#include <QBuffer>
#include <QFileInfo>

namespace {

QByteArray square(Qt::GlobalColor color)
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray png;
    QBuffer buffer(&png);
    image.save(&buffer, "PNG");
    return png;
}

TEST(Pgs1ProductImage, TheInterfaceLanguagePicksTheRecord)
{
    const char *mixed = R"([{"EN_US":[{"img":"http://e/1.png"}]},{"ZH_CN":[]},{"ZH_CN":[{"img":"http://c/1.png"}]},
        "junk",{"ZH_CN":"x"},{"EN_US":[7]}])";
    const struct {
        const char *images;
        int uiIndex; // 0 ZH_CN, 1 ZH_TW, 3 JA_JP, 4 VI_VN
        const char *loaded;
    } rows[] = {
        {mixed, 0, "http://c/1.png"},
        {mixed, 1, "http://c/1.png"},
        {mixed, 3, "http://e/1.png"},
        {R"([{"ZH_CN":[{"img":"http://c/1.png"}]}])", 4, ""},
        {R"([{"ZH_CN":[{"img":7}]},{"ZH_CN":[{"img":"https://c/2.png"}]}])", 0, ""},
        {R"([{"ZH_CN":[{"img":"file:///etc/passwd"}]}])", 0, ""},
        {R"([{"ZH_CN":[{"img":"https://c/产品 1.png"}]}])", 0, "https://c/产品 1.png"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.images) + " " + std::to_string(row.uiIndex));
        ProfileWorld w;
        w.s.languages().setUiLanguageIndex(quint64(row.uiIndex));
        w.apply(QByteArray(R"({"images":)") + row.images + "}");
        EXPECT_EQ(w.imageLoads().join(' '), *row.loaded ? QStringLiteral("loadImage(%1)").arg(row.loaded) : "");
    }
}

// A load saves the picture under the product's name, inside the data root whatever
// the "sno"; a failed one shows the saved file, or nothing; no pictures clear the view.
TEST(Pgs1ProductImage, SavedOnSuccessShownFromTheFileOnFailure)
{
    ProfileWorld w;
    const QByteArray profile = R"({"sno":"S9X","images":[{"ZH_CN":[{"img":"http://c/1.png"}]}]})";
    const QUrl url("http://c/1.png");
    w.apply(profile); // no picture there
    EXPECT_TRUE(w.ctl.productImage().isNull());
    w.page.ports.images[url] = square(Qt::red);
    w.apply(profile);
    EXPECT_EQ(QImage(DataPaths::getFilePath("523_S9X.png")).pixelColor(1, 1), QColor(Qt::red));
    w.page.ports.images.remove(url);
    w.apply(profile);
    EXPECT_EQ(w.ctl.productImage().pixelColor(0, 0), QColor(Qt::red));
    w.apply(R"({"images":[]})");
    EXPECT_TRUE(w.ctl.productImage().isNull());

    w.page.ports.images[url] = square(Qt::blue);
    w.apply(R"({"sno":"../../evil","images":[{"ZH_CN":[{"img":"http://c/1.png"}]}]})");
    EXPECT_TRUE(QFileInfo::exists(DataPaths::getFilePath("523_..%2F..%2Fevil.png")));
}

TEST(Pgs1ProductImage, TheFileNameIsOneSafeName)
{
    const struct {
        QString code, sno, name;
    } rows[] = {{"523", "S9X", "523_S9X.png"},
                {"5/2", "a\\b", "5%2F2_a%5Cb.png"},
                {"523", "..", "523_...png"},
                {"523", QString(QChar(0)) + "\n~中", "523_%00%0A%7E%E4%B8%AD.png"}};
    for (const auto &row : rows)
        EXPECT_EQ(DeviceProfileController::productImageFileName(row.code, row.sno), row.name);
    const QString longName = DeviceProfileController::productImageFileName("523", QString(1000, 'x'));
    EXPECT_LT(longName.size(), 255);
    EXPECT_NE(longName, DeviceProfileController::productImageFileName("523", QString(1001, 'x')));
}

} // namespace
