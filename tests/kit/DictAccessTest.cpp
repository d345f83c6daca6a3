#include "PZDictionary.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <limits>

using namespace pz;

namespace {

// A stored value written as JSON text, so rows read like a server answer.
QJsonObject dictWith(const char *valueJson)
{
    return QJsonDocument::fromJson(QByteArray("{\"v\":") + valueJson + "}").object();
}

} // namespace

TEST(DictAccess, IntFromNumbersAndTexts)
{
    struct Row {
        const char *stored;
        qint32 expected;
    };
    const Row rows[] = {
        {"42", 42},         {"\"42\"", 42},  {"\"4.7\"", 4},    {"\"-3.9\"", -3},    {"\"3.9\"", 3}, {"\"12abc\"", 12},
        {"\"1e3\"", 1},     {"\"0x1F\"", 0}, {"\"abc\"", 0},    {"\"null\"", 0},     {"\"nil\"", 0}, {"\" yes\"", 0},
        {"\"  7\"", 7},     {"\"+5\"", 5},   {"\"\"", 0},       {"\"1.5e3\"", 1500}, {"\".5\"", 0},  {"\"inf.\"", 0},
        {"\"0x1.8p1\"", 0}, {"\"yes\"", 1},  {"4.99", 4},       {"-4.99", -4},       {"true", 1},    {"false", 0},
        {"null", -9},       {"[1]", -9},     {"{\"a\":1}", -9}, // not scalars: the default
    };
    for (const Row &row : rows)
        EXPECT_EQ(intValueForKey(dictWith(row.stored), "v", -9), row.expected) << row.stored;

    const QJsonObject dict = dictWith("42");
    EXPECT_EQ(intValueForKey(dict, QString(), -9), -9); // no key
    EXPECT_EQ(intValueForKey(dict, "missing", -9), -9);
}

TEST(DictAccess, BoolReadings)
{
    struct Row {
        const char *stored;
        bool def;
        bool expected;
    };
    const Row rows[] = {
        {"\"YES\"", false, true},   {"\"true\"", false, true}, {"\"True\"", false, true}, {"\"no\"", true, false},
        {"\"FALSE\"", true, false}, {"\"null\"", true, false}, // the text null reads as zero, not the default
        {"\"2\"", false, true},     {"0", true, false},        {"\"0.5\"", false, true},  {"0.5", false, true},
        {"null", true, true},       {"[]", true, true},        {"true", false, true},
    };
    for (const Row &row : rows)
        EXPECT_EQ(boolValueForKey(dictWith(row.stored), "v", row.def), row.expected) << row.stored;
}

TEST(DictAccess, NarrowingAndWideTypes)
{
    EXPECT_EQ(unsignedCharValueForKey(dictWith("300"), "v", 1), 44);
    EXPECT_EQ(unsignedCharValueForKey(dictWith("\"300\""), "v", 1), 44);
    EXPECT_EQ(charValueForKey(dictWith("200"), "v", 1), -56);
    EXPECT_EQ(shortValueForKey(dictWith("65537"), "v", 1), 1);
    EXPECT_EQ(unsignedShortValueForKey(dictWith("-1"), "v", 1), 65535);
    EXPECT_EQ(unsignedIntValueForKey(dictWith("\"-1\""), "v", 1), 4294967295u);
    EXPECT_EQ(longValueForKey(dictWith("\"9007199254740993\""), "v", 1), 9007199254740993LL);
    EXPECT_EQ(integerValueForKey(dictWith("-7"), "v", 1), -7);
    EXPECT_EQ(unsignedIntegerValueForKey(dictWith("\"18446744073709551615.0\""), "v", 1),
              std::numeric_limits<quint64>::max());
    EXPECT_EQ(unsignedLongValueForKey(dictWith("\"12\""), "v", 1), 12u);
    EXPECT_FLOAT_EQ(floatValueForKey(dictWith("\"2.5\""), "v", 1), 2.5f);
    EXPECT_DOUBLE_EQ(doubleValueForKey(dictWith("\"1.5e3\""), "v", 1), 1500.0);
    EXPECT_DOUBLE_EQ(doubleValueForKey(dictWith("\"7\""), "v", 1), 7.0);
    EXPECT_DOUBLE_EQ(doubleValueForKey(dictWith("null"), "v", 1.25), 1.25);

    // Overlong digit strings saturate instead of wrapping.
    EXPECT_EQ(longLongValueForKey(dictWith("\"99999999999999999999999\""), "v", 0), std::numeric_limits<qint64>::max());
    EXPECT_EQ(longLongValueForKey(dictWith("\"-99999999999999999999999\""), "v", 0),
              std::numeric_limits<qint64>::min());
    // Holds ".", so it is read as a double, and 1e400 overflows.
    EXPECT_EQ(longLongValueForKey(dictWith("\"1e400.\""), "v", 0), std::numeric_limits<qint64>::max());
    EXPECT_EQ(longLongValueForKey(dictWith("\"1.0e400\""), "v", 0), std::numeric_limits<qint64>::max());
    EXPECT_EQ(unsignedLongLongValueForKey(dictWith("\"-1.0e400\""), "v", 0),
              quint64(std::numeric_limits<qint64>::min()));
    EXPECT_EQ(unsignedLongLongValueForKey(dictWith("\"18446744073709551616\""), "v", 0),
              quint64(std::numeric_limits<qint64>::max()));

    // The value form reads array elements; past the end is missing.
    const QJsonArray arr{QJsonValue("5"), QJsonValue(), 6};
    EXPECT_EQ(intValue(arr.at(0), -1), 5);
    EXPECT_EQ(intValue(arr.at(1), -1), -1);
    EXPECT_EQ(intValue(arr.at(2), -1), 6);
    EXPECT_EQ(intValue(arr.at(9), -1), -1);
}

TEST(DictAccess, StringValues)
{
    struct Row {
        const char *stored;
        const char *expected;
    };
    const Row rows[] = {
        {"7", "7"},         {"1.5", "1.5"}, {"0.1", "0.1"}, {"true", "1"}, {"false", "0"}, {"\"\"", ""},
        {"\"abc\"", "abc"}, {"-12", "-12"}, {"2.0", "2"},   {"{}", "def"}, {"[1]", "def"}, {"null", "def"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(stringValueForKey(dictWith(row.stored), "v", "def"), QString::fromUtf8(row.expected)) << row.stored;
    EXPECT_EQ(stringValueForKey(dictWith("1"), QString(), "def"), "def");
}

TEST(DictAccess, JsonStringEncoded)
{
    const QJsonObject dict{{"messages", QJsonArray{QJsonObject{{"role", "user"}, {"content", "hi there"}}}}};
    EXPECT_EQ(jsonStringEncoded(dict), R"({"messages":[{"content":"hi there","role":"user"}]})");
    EXPECT_EQ(jsonStringEncoded({}), "{}");
}
