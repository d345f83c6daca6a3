#include "QXDownloadNames.h"

#include <QUrl>

#include <gtest/gtest.h>

TEST(DownloadNames, PlainFileNameKeepsOnlyASafeLastComponent)
{
    struct Row {
        QString in, out;
    };
    const Row rows[] = {
        {"fw_1.3.bin", "fw_1.3.bin"},
        {"../x", "x"},
        {"../../etc/passwd", "passwd"},
        {"/abs/path.bin", "path.bin"},
        {"..\\..\\win.bin", "win.bin"},
        {" fw.bin ", "fw.bin"},
        {"", ""},
        {".", ""},
        {"..", ""},
        {"dir/", ""},
        {"a/..", ""},
        {"bad\nname", ""},
        {QString(QChar(0)) + "x", ""},
        {QString(201, QLatin1Char('a')), ""},
        {QString(200, QLatin1Char('a')), QString(200, QLatin1Char('a'))},
        {"固件.bin", "固件.bin"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(qxPlainFileName(r.in), r.out) << r.in.toStdString();
}

TEST(DownloadNames, ContentDispositionForms)
{
    struct Row {
        QByteArray header;
        QString name;
    };
    const Row rows[] = {
        {"attachment; filename=\"fw_1.3.bin\"", "fw_1.3.bin"},
        {"attachment; filename=fw.bin", "fw.bin"},
        {"attachment;filename = \"a;b.bin\" ; size=3", "a;b.bin"},
        {"attachment; filename=\"q\\\"uote.bin\"", "q\"uote.bin"},
        {"attachment; filename*=UTF-8''%E5%9B%BA%E4%BB%B6.bin; filename=\"fallback.bin\"", "固件.bin"},
        {"attachment; filename=\"fallback.bin\"; FILENAME*=utf-8'en'x%20y.bin", "x y.bin"},
        {"attachment; filename*=koi8-r''x.bin; filename=plain.bin", "plain.bin"},
        {"attachment; filename*=broken; filename=plain.bin", "plain.bin"},
        {"attachment", ""},
        {"", ""},
        {"attachment; filename", ""},
        {"attachment; filename=\"unterminated", "unterminated"},
        {";;;=;", ""},
    };
    for (const Row &r : rows)
        EXPECT_EQ(qxContentDispositionFileName(r.header), r.name) << r.header.constData();
}

TEST(DownloadNames, SuggestionFallsBackToTheUrlsLastSegment)
{
    const QUrl url("http://h/x/fw_1.3.bin?sig=1");
    EXPECT_EQ(qxSuggestedFileName("attachment; filename=\"named.bin\"", url), "named.bin");
    EXPECT_EQ(qxSuggestedFileName("attachment; filename=\"../x\"", url), "x");
    EXPECT_EQ(qxSuggestedFileName("attachment; filename=\"\"", url), "fw_1.3.bin");
    EXPECT_EQ(qxSuggestedFileName("attachment; filename=\".\"", url), "fw_1.3.bin");
    EXPECT_EQ(qxSuggestedFileName("", url), "fw_1.3.bin");
    EXPECT_EQ(qxSuggestedFileName("", QUrl("http://h/x/..%2F..%2Fevil.bin")), "evil.bin");
    EXPECT_EQ(qxSuggestedFileName("", QUrl("http://h/")), "");
    EXPECT_EQ(qxSuggestedFileName("", QUrl("http://h")), "");
}
