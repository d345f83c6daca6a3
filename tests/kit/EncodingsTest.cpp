#include "ManualScheduler.h"
#include "PZString.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>

using namespace pz;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace

TEST(Encodings, HexTextAndBytes)
{
    EXPECT_EQ(convertDataToHexStr(bytes({0x00, 0x0A, 0xFF})), "000aff");
    EXPECT_EQ(convertDataToHexStr(QByteArray()), "");

    struct Row {
        const char *text;
        std::optional<QByteArray> expected;
    };
    const Row rows[] = {
        {"abc", bytes({0x0A, 0xBC})}, // odd length: the first group is one digit
        {"ABCD", bytes({0xAB, 0xCD})},
        {"0102", bytes({0x01, 0x02})},
        {"1", bytes({0x01})},
        {"00ff10", bytes({0x00, 0xFF, 0x10})},
        {" f0a", bytes({0x0F, 0x0A})}, // white space leading a group is skipped
        {"", std::nullopt},
        {"zz", std::nullopt}, // not hex: refused, never garbage
        {"0g", std::nullopt},
        {"124 ", std::nullopt},
        {"  ", std::nullopt},
        {"-1", std::nullopt},
    };
    for (const Row &row : rows)
        EXPECT_EQ(convertHexStrToData(QString::fromUtf8(row.text)), row.expected) << row.text;
    EXPECT_EQ(convertHexStrToData(QStringLiteral("你好")), std::nullopt);
}

TEST(Encodings, NumberWithHexStringReadsLikeScanf)
{
    struct Row {
        const char *text;
        qint64 expected;
    };
    const Row rows[] = {
        {"80000000", -2147483648LL},
        {"0x1F", 31},
        {"ffffffff", -1},
        {"7f", 127},
        {"12zz", 18},
        {" ff", 255},
        {"0XfF", 255},
        {"", 0},
        {"zz", 0},
        {"0x", 0},
        {"123456789", 0x23456789},
        {"fffffffffffffffffffff", -1}, // saturates before keeping 32 bits
    };
    for (const Row &row : rows)
        EXPECT_EQ(numberWithHexString(QString::fromUtf8(row.text)), row.expected) << row.text;
}

TEST(Encodings, ToHexKeepsAtMostNineDigits)
{
    struct Row {
        qint64 value;
        const char *expected;
    };
    const Row rows[] = {
        {0, "0"},
        {255, "FF"},
        {0x105, "105"},
        {4096, "1000"},
        {68719476736LL, "000000000"},
        {0x123456789ALL, "23456789A"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ToHex(row.value), QLatin1String(row.expected)) << row.value;
}

TEST(Encodings, DigestsAndBase64)
{
    EXPECT_EQ(qx_md5("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(qx_md5(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(qx_md5(QStringLiteral("你好")), "7eca689f0d3389d9dea66ae112e5cfd7");
    EXPECT_EQ(qx_md5(QString::fromUtf8("a\0b", 3)), "0cc175b9c0f1b6a831c399e269772661"); // stops at NUL

    EXPECT_EQ(qx_base64EncodeString("abc"), "YWJj");
    EXPECT_EQ(qx_base64EncodeString(QStringLiteral("你好")), "5L2g5aW9");
    EXPECT_EQ(qx_base64DecodeString("5L2g5aW9"), QStringLiteral("你好"));
    EXPECT_EQ(qx_base64DecodeString("5L2g 5aW9"), std::nullopt);
    EXPECT_EQ(qx_base64DecodeString("5L2g\n5aW9"), std::nullopt);
    EXPECT_EQ(qx_base64DecodeString("YW*j"), std::nullopt);
    EXPECT_EQ(qx_base64DecodeString("/w=="), std::nullopt); // 0xFF is not UTF-8
    EXPECT_EQ(qx_base64DecodeString("5L0="), std::nullopt); // a character cut in two
    EXPECT_EQ(qx_base64DecodeString("YWJ"), std::nullopt);  // padding is required
    EXPECT_EQ(qx_base64DecodeString(""), QString());

    EXPECT_EQ(hmacSHA256WithSecret("key", "The quick brown fox jumps over the lazy dog"),
              "97yD9DBThCSxMpjmqm+xQ+9NWaFJRhdZl0edvC0aPNg=");
}

TEST(Encodings, Aes128Ecb)
{
    const QString chatKey = QStringLiteral("tovaris_19981107");
    struct Row {
        QString key;
        QString plain;
        const char *expected;
    };
    const Row rows[] = {
        {chatKey, "", "sy3PLiJ4R8ejexNX7InKaw=="},
        {chatKey, "abc", "/6U4Iocl4bFlu12n9lscwQ=="},
        {chatKey, R"([{"role":"user","content":"hi"}])",
         "bp11W4zgizQpZUQG5JRZ9qKaG9mU/Ug7gdZeqndzDY6zLc8uInhHx6N7E1fsicpr"},
        {chatKey, "0123456789abcdef", "woabgjXXMd+fdX4obt8eMLMtzy4ieEfHo3sTV+yJyms="}, // a full padding block
        {"abc", "abc", "skiV9Z6w/i63DVkJ6VXFaQ=="},                                    // key zero-padded
        // A key past 16 bytes is cut to its first 16, never read beyond them.
        {chatKey + QStringLiteral("-and-much-longer"), "abc", "/6U4Iocl4bFlu12n9lscwQ=="},
    };
    for (const Row &row : rows)
        EXPECT_EQ(AES128ECBEncryptWithKey(row.plain, row.key), QLatin1String(row.expected)) << row.plain.toStdString();

    // The key buffer sits inside a larger one: a copy running past its 16 bytes would
    // show in the guard bytes, whatever the cipher makes of it.
    for (const QString &key :
         {QString(), QStringLiteral("abc"), chatKey, chatKey + QStringLiteral("-and-much-longer")}) {
        std::array<unsigned char, 48> buffer;
        buffer.fill(0xa5);
        pz::aes128KeyBytes(key, std::span<unsigned char, 16>(buffer.data() + 16, 16));
        const QByteArray utf8 = key.toUtf8().leftJustified(16, '\0', true);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data() + 16), 16), utf8) << key.toStdString();
        EXPECT_EQ(std::count(buffer.begin(), buffer.begin() + 16, 0xa5), 16) << key.toStdString();
        EXPECT_EQ(std::count(buffer.begin() + 32, buffer.end(), 0xa5), 16) << key.toStdString();
    }
}

TEST(Encodings, JsonText)
{
    const auto array = dictionaryWithJsonString("[1,2]");
    ASSERT_TRUE(array);
    EXPECT_EQ(array->toArray(), (QJsonArray{1, 2}));
    const auto object = dictionaryWithJsonString(R"({"data":{"text":"hi"}})");
    ASSERT_TRUE(object && object->isObject());
    EXPECT_EQ(object->toObject()["data"].toObject()["text"].toString(), "hi");
    for (const char *bad : {"{", "", "not json", "{\"a\":1", "[1,]"})
        EXPECT_EQ(dictionaryWithJsonString(bad), std::nullopt) << bad;

    const QString body = convertToJsonData(QJsonObject{{"engine_type", "recognize_document"}});
    EXPECT_EQ(body, R"({"engine_type":"recognize_document"})");
    EXPECT_EQ(qx_base64EncodeString(body), "eyJlbmdpbmVfdHlwZSI6InJlY29nbml6ZV9kb2N1bWVudCJ9");
    // Spaces inside values are data and survive; nested structures stay on one line.
    EXPECT_EQ(convertToJsonData(QJsonObject{{"q", "a b"}, {"n", QJsonArray{1, QJsonObject{{"k", "v"}}}}}),
              R"({"n":[1,{"k":"v"}],"q":"a b"})");
}

TEST(Encodings, TimeTexts)
{
    ManualScheduler scheduler; // 2026-01-01 12:00:00 UTC
    EXPECT_EQ(getTimeStr(), "1767268800");

    // TZ=UTC for this test binary.
    EXPECT_EQ(ConvertStrToTime("1796634307", "yyyy-MM-dd HH:mm:ss"), "2026-12-07 09:05:07");
    EXPECT_EQ(ConvertStrToTime("abc", "yyyy-MM-dd HH:mm:ss"), "1970-01-01 00:00:00");
    EXPECT_EQ(ConvertStrToTime(" 60x", "yyyy-MM-dd-HH-mm_ss"), "1970-01-01-00-01_00");
    EXPECT_FALSE(ConvertStrToTime("99999999999999999999999", "yyyy").isEmpty()); // saturates, no crash

    struct Row {
        qint64 seconds;
        const char *expected;
    };
    const Row rows[] = {
        {0, "0秒"},         {59, "59秒"},          {60, "1分"},           {61, "1分1秒"},        {120, "2分"},
        {3600, "1小时0分"}, {3601, "1小时0分1秒"}, {3661, "1小时1分1秒"}, {7322, "2小时2分2秒"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(secondToStr(row.seconds), QString::fromUtf8(row.expected)) << row.seconds;
    const auto english = [](const QString &unit) {
        return unit == QStringLiteral("分") ? QStringLiteral("m ") : QStringLiteral("s");
    };
    EXPECT_EQ(secondToStr(61, english), "1m 1s");
}

TEST(Encodings, DeleteCharactersTrimsBothEndsOnly)
{
    struct Row {
        const char *in;
        std::optional<const char *> out;
    };
    const Row rows[] = {
        {"（你好）", "你好"}, {"你好。", "你好。"}, {" a b ", "a b"},   {"€100€", "100"},     {"-abc_", "abc"},
        {"...", ""},          {"\tabc", "\tabc"},   {"打开,", "打开,"}, {"「打开」", "打开"}, {"", std::nullopt},
    };
    for (const Row &row : rows) {
        const auto got = deleteCharacters(QString::fromUtf8(row.in));
        if (row.out)
            EXPECT_EQ(got, QString::fromUtf8(*row.out)) << row.in;
        else
            EXPECT_EQ(got, std::nullopt) << row.in;
    }
}

TEST(Encodings, PercentEncoding)
{
    EXPECT_EQ(urlEncodeStr("a b&c~"), "a%20b%26c~");
    EXPECT_EQ(urlEncodeStr(QStringLiteral("你")), "%E4%BD%A0");
    EXPECT_EQ(urlEncodeStr("Az09-._/?="), "Az09-._%2F%3F%3D");

    struct Row {
        const char *in;
        std::optional<const char *> out;
    };
    const Row rows[] = {
        {"%E4%BD%A0", "你"},      {"a%20b%2b", "a b+"}, {"plain", "plain"},     {"", ""},
        {"%FF", std::nullopt},    // not UTF-8
        {"%E4%BD", std::nullopt}, // cut in the middle of a character
        {"%zz", std::nullopt},    {"%4", std::nullopt}, {"100%", std::nullopt},
    };
    for (const Row &row : rows) {
        const auto got = URLDecodedStringWithEncodedStr(QString::fromUtf8(row.in));
        if (row.out)
            EXPECT_EQ(got, QString::fromUtf8(*row.out)) << row.in;
        else
            EXPECT_EQ(got, std::nullopt) << row.in;
    }
    const QString text = QStringLiteral("x=1&y=你 好/~");
    EXPECT_EQ(URLDecodedStringWithEncodedStr(urlEncodeStr(text)), text);
}

TEST(Encodings, MacAddressRule)
{
    QTemporaryDir root;
    const auto addInterface = [&](const QString &name, const QByteArray &address, bool physical) {
        QDir(root.path()).mkpath(name);
        if (physical)
            QDir(root.path()).mkpath(name + "/device");
        QFile f(root.filePath(name + "/address"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(address + "\n");
    };
    EXPECT_EQ(macAddressFromSysfs(root.path()), "");
    addInterface("lo", "00:00:00:00:00:00", false);
    addInterface("br0", "02:42:ac:11:00:02", false);
    EXPECT_EQ(macAddressFromSysfs(root.path()), "02:42:AC:11:00:02"); // only virtual ones: the first of them
    addInterface("eth9", "00:00:00:00:00:00", true);
    addInterface("wlp2s0", "a4:5e:60:0b:1c:2d", true);
    addInterface("wlp3s0", "a4:5e:60:0b:1c:2e", true);
    addInterface("tun0", "", false);
    EXPECT_EQ(macAddressFromSysfs(root.path()), "A4:5E:60:0B:1C:2D"); // physical, non-zero, first by name

    setMacAddressOverride(QStringLiteral("11:22:33:44:55:66"));
    EXPECT_EQ(qx_getMacAddress(), "11:22:33:44:55:66");
    setMacAddressOverride(std::nullopt);
    const QString real = qx_getMacAddress();
    EXPECT_TRUE(real.isEmpty() || QRegularExpression("^([0-9A-F]{2}:){5}[0-9A-F]{2}$").match(real).hasMatch())
        << real.toStdString();
}
