#include "QXQueryEncoding.h"

#include <gtest/gtest.h>

TEST(QueryEncodingTest, ValuesAreEncodedOnceAndSurviveTheWholeUrlEscaping)
{
    struct Row {
        const char *value;
        const char *encoded;
    } rows[] = {
        {"plain-._~", "plain-._~"},
        {"a&b=c", "a%26b%3Dc"},
        {"+86 138", "%2B86%20138"},
        {"100%#x", "100%25%23x"},
        {"a@b.com", "a%40b.com"},
        {"你好", "%E4%BD%A0%E5%A5%BD"},
        {"", ""},
    };
    for (const Row &row : rows) {
        const QString encoded = qxEncodeQueryValue(QString::fromUtf8(row.value));
        EXPECT_EQ(encoded, QString::fromLatin1(row.encoded)) << row.value;
        // The client's escaping of the whole URL must leave an encoded value alone.
        const QString url = QStringLiteral("http://h.test/api/x?v=") + encoded;
        EXPECT_EQ(qxEscapeUrlText(url), url.toLatin1()) << row.value;
    }
}

TEST(QueryEncodingTest, WholeUrlEscapingTouchesOnlyWhatAQueryCannotHold)
{
    EXPECT_EQ(qxEscapeUrlText(QStringLiteral("http://h.test/a b?x=y z&t=你")),
              QByteArray("http://h.test/a%20b?x=y%20z&t=%E4%BD%A0"));
    EXPECT_EQ(qxEscapeUrlText(QStringLiteral("http://h.test/p?q=50%&r=%zz")),
              QByteArray("http://h.test/p?q=50%25&r=%25zz"));
    EXPECT_EQ(qxEscapeUrlText(QStringLiteral("http://[::1]:8080/api?a=#")), QByteArray("http://[::1]:8080/api?a=%23"));
}

TEST(QueryEncodingTest, OnlyAKeyNamedSnSuppressesTheClientFields)
{
    EXPECT_TRUE(qxUrlQueryHasKey("http://h/api/deviceCmd?sn=SN1", QStringLiteral("sn")));
    EXPECT_TRUE(qxUrlQueryHasKey("http://h/api/deviceCmd?sn=", QStringLiteral("sn")));
    EXPECT_TRUE(qxUrlQueryHasKey("http://h/api/x?a=1&sn", QStringLiteral("sn")));
    EXPECT_FALSE(qxUrlQueryHasKey("http://h/api/x?sno=SN1&serialNo=2", QStringLiteral("sn")));
    EXPECT_FALSE(qxUrlQueryHasKey("http://h/api/x?text=hello%20sn%3D1", QStringLiteral("sn")));
    EXPECT_FALSE(qxUrlQueryHasKey("http://h/api/x?usn=1", QStringLiteral("sn")));
    EXPECT_FALSE(qxUrlQueryHasKey("http://h/api/sn=1", QStringLiteral("sn")));
}

TEST(QueryEncodingTest, ParametersAreAppendedToTheExistingQuery)
{
    const QXStringMap params{{QStringLiteral("b"), QStringLiteral("x y")}, {QStringLiteral("a"), QStringLiteral("&")}};
    EXPECT_EQ(qxAppendQueryParameters("http://h/p", params), QByteArray("http://h/p?a=%26&b=x%20y"));
    EXPECT_EQ(qxAppendQueryParameters("http://h/p?c=1", params), QByteArray("http://h/p?c=1&a=%26&b=x%20y"));
    EXPECT_EQ(qxAppendQueryParameters("http://h/token?", params), QByteArray("http://h/token?a=%26&b=x%20y"));
    EXPECT_EQ(qxAppendQueryParameters("http://h/p?c=1", {}), QByteArray("http://h/p?c=1"));
}
