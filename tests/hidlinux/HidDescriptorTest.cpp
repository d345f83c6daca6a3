#include "platform/HidReportDescriptor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::HidDescriptorSummary;
using platform::parseHidReportDescriptor;

namespace {

struct Case {
    const char *what;
    std::vector<std::uint8_t> bytes;
    bool hasPrimary;
    std::uint32_t page;
    std::uint32_t usage;
    bool reportIds;
    bool malformed;
    std::size_t topLevelCount;
};

HidDescriptorSummary parse(const std::vector<std::uint8_t> &b)
{
    return parseHidReportDescriptor(b.data(), b.size());
}

// The vendor collection receivers use for commands: 0xFF05/0, 15-byte reports.
const std::vector<std::uint8_t> kVendorFF05 = {0x06, 0x05, 0xFF, 0x09, 0x00, 0xA1, 0x01, 0x15, 0x00,
                                               0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x0F, 0x09, 0x00,
                                               0x81, 0x02, 0x09, 0x00, 0x91, 0x02, 0xC0};

} // namespace

TEST(HidDescriptor, FirstTopLevelApplicationCollectionIsPrimary)
{
    // clang-format off
    const std::vector<Case> cases = {
        {"vendor page 0xFF05 only", kVendorFF05, true, 0xFF05, 0, false, false, 1},
        {"mouse, then vendor collection",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03,
          0x81, 0x02, 0xC0, 0xC0, 0x06, 0x05, 0xFF, 0x09, 0x00, 0xA1, 0x01, 0x09, 0x00, 0x81, 0x02, 0xC0},
         true, 0x0001, 0x0002, false, false, 2},
        {"physical collection before the application collection",
         {0x05, 0x01, 0x09, 0x01, 0xA1, 0x00, 0xC0, 0x06, 0xEF, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0},
         true, 0xFFEF, 0x0001, false, false, 2},
        {"report ids present",
         {0x06, 0x91, 0xFF, 0x09, 0x00, 0xA1, 0x01, 0x85, 0x0D, 0x09, 0x00, 0x81, 0x02, 0xC0},
         true, 0xFF91, 0, true, false, 1},
        {"long item is skipped",
         {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x06, 0x0C, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0},
         true, 0xFF0C, 1, false, false, 1},
        {"four-byte usage carries its own page",
         {0x05, 0x01, 0x0B, 0x01, 0x00, 0x0C, 0x00, 0xA1, 0x01, 0xC0}, true, 0x000C, 1, false, false, 1},
        {"usage page restored by pop",
         {0x05, 0x01, 0xA4, 0x06, 0x0C, 0xFF, 0xB4, 0x09, 0x06, 0xA1, 0x01, 0xC0}, true, 0x0001, 6, false, false, 1},
        {"collection without usage", {0x06, 0xBB, 0xFF, 0xA1, 0x01, 0xC0}, true, 0xFFBB, 0, false, false, 1},
        {"usage consumed by an earlier main item",
         {0x05, 0x01, 0x09, 0x02, 0x81, 0x02, 0xA1, 0x01, 0xC0}, true, 0x0001, 0, false, false, 1},
        {"nested application collection is not top level",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x02, 0x06, 0x05, 0xFF, 0x09, 0x00, 0xA1, 0x01, 0xC0, 0xC0,
          0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0},
         true, 0x000C, 1, false, false, 2},
        {"only a logical collection: taken as fallback", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x02, 0xC0},
         true, 0x0001, 2, false, false, 1},
        {"empty", {}, false, 0, 0, false, false, 0},
        {"usage without any collection", {0x05, 0x01, 0x09, 0x02}, false, 0, 0, false, false, 0},
        {"truncated inside the first item", {0x06, 0x05}, false, 0, 0, false, true, 0},
        {"truncated after the collection opened",
         {0x06, 0x05, 0xFF, 0x09, 0x00, 0xA1, 0x01, 0x85}, true, 0xFF05, 0, false, true, 1},
        {"truncated long item", {0xFE, 0x09, 0x10, 0x00}, false, 0, 0, false, true, 0},
        {"end collection without collection", {0xC0, 0x06, 0x05, 0xFF, 0xA1, 0x01, 0xC0},
         true, 0xFF05, 0, false, true, 1},
        {"collection never closed", {0x06, 0x05, 0xFF, 0xA1, 0x01}, true, 0xFF05, 0, false, true, 1},
        {"pop without push", {0xB4, 0x06, 0x05, 0xFF, 0xA1, 0x01, 0xC0}, true, 0xFF05, 0, false, true, 1},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const HidDescriptorSummary s = parse(c.bytes);
        EXPECT_EQ(s.hasPrimary, c.hasPrimary);
        EXPECT_EQ(s.primary.page, c.page);
        EXPECT_EQ(s.primary.usage, c.usage);
        EXPECT_EQ(s.usesReportIds, c.reportIds);
        EXPECT_EQ(s.malformed, c.malformed);
        EXPECT_EQ(s.topLevel.size(), c.topLevelCount);
    }
}

TEST(HidDescriptor, HostileInputStaysBounded)
{
    // Thousands of top-level collections and deep pushes: the summary stays small and
    // the walk ends.
    std::vector<std::uint8_t> many;
    for (int i = 0; i < 5000; ++i)
        many.insert(many.end(), {0x09, 0x01, 0xA1, 0x01, 0xC0});
    EXPECT_EQ(parse(many).topLevel.size(), HidDescriptorSummary::kMaxTopLevel);

    std::vector<std::uint8_t> pushes(100, 0xA4);
    pushes.insert(pushes.end(), {0x06, 0x05, 0xFF, 0xA1, 0x01, 0xC0});
    const auto s = parse(pushes);
    EXPECT_TRUE(s.malformed);
    EXPECT_EQ(s.primary.page, 0xFF05u);

    EXPECT_FALSE(parseHidReportDescriptor(nullptr, 10).hasPrimary);
}
