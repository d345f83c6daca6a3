#include "OTAVersionText.h"

#include <gtest/gtest.h>

using proto::naturalCompareCi;

TEST(OTAVersionText, NaturalCaseInsensitiveOrder)
{
    struct Row {
        const char *a, *b;
        int expected;
        const char *why;
    };
    const Row rows[] = {
        {"1.10", "1.9", 1, "digit runs compare as numbers"},
        {"1.9", "1.10", -1, "and the other way round"},
        {"1.9", "1.9", 0, "same text"},
        {"V1.9", "v1.9", 0, "letters fold case"},
        {"1.09", "1.9", 0, "leading zeros carry no value"},
        {"1.9\n", "1.9", 1, "a trailing line break orders after (kept as published)"},
        {" 1.9", "1.9", -1, "leading white space orders before digits"},
        {"1.9a", "1.9", 1, "a longer text with the same start orders after"},
        {"2.0", "1.99.9", 1, "first differing run decides"},
        {"abc", "1.0.3", 1, "letters order after digits"},
        {"", "1.9", -1, "nothing orders first"},
        {"99999999999999999999999", "1", 1, "runs longer than any integer"},
        {"1.0.0", "1.0", 1, "more components order after"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(naturalCompareCi(QString::fromUtf8(r.a), QString::fromUtf8(r.b)), r.expected) << r.why;
}

TEST(OTAVersionText, FirmwareNumberDropsEveryV)
{
    EXPECT_EQ(proto::otaNumberForFirmwareVersion("V1.2"), "1.2");
    EXPECT_EQ(proto::otaNumberForFirmwareVersion("v1.V2"), "1.2");
    EXPECT_EQ(proto::otaNumberForFirmwareVersion("1.2"), "1.2");
    EXPECT_EQ(proto::otaNumberForFirmwareVersion(""), "");
    EXPECT_EQ(proto::otaNumberForFirmwareVersion("ab1"), "AB1");
}
