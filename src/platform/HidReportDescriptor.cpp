#include "HidReportDescriptor.h"

namespace platform {

namespace {

// Item types and tags of the HID 1.11 short item format.
enum : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };
enum : std::uint8_t { kTagCollection = 0xA, kTagEndCollection = 0xC };
enum : std::uint8_t { kTagUsagePage = 0x0, kTagReportId = 0x8, kTagPush = 0xA, kTagPop = 0xB };
enum : std::uint8_t { kTagUsage = 0x0, kTagUsageMinimum = 0x1 };
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::uint32_t kApplication = 0x01;
// Deeper Push nesting than any real device uses; beyond it pushes are ignored.
constexpr int kMaxPushDepth = 16;

std::uint32_t littleEndian(const std::uint8_t *p, std::size_t n)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
        v |= std::uint32_t(p[i]) << (8 * i);
    return v;
}

} // namespace

HidDescriptorSummary parseHidReportDescriptor(const std::uint8_t *data, std::size_t size)
{
    HidDescriptorSummary out;
    if (!data)
        size = 0;

    std::uint32_t usagePage = 0;
    std::uint32_t pushed[kMaxPushDepth] = {};
    int pushDepth = 0;
    // The first usage of the pending local items: page (0 = take the global page) and id.
    bool haveUsage = false;
    std::uint32_t usageId = 0;
    std::uint32_t usageExplicitPage = 0;
    int depth = 0;
    bool haveApplication = false;
    HidDescriptorSummary::Usage firstAnyTopLevel;
    bool haveAnyTopLevel = false;

    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t prefix = data[i];
        if (prefix == kLongItemPrefix) {
            // Long item: size byte, tag byte, data. Nothing we need lives in one.
            if (size - i < 3) {
                out.malformed = true;
                break;
            }
            const std::size_t len = data[i + 1];
            if (size - i - 3 < len) {
                out.malformed = true;
                break;
            }
            i += 3 + len;
            continue;
        }
        const std::size_t len = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        const std::uint8_t type = (prefix >> 2) & 0x3;
        const std::uint8_t tag = prefix >> 4;
        if (size - i - 1 < len) {
            out.malformed = true;
            break;
        }
        const std::uint32_t value = littleEndian(data + i + 1, len);
        i += 1 + len;

        if (type == kGlobal) {
            if (tag == kTagUsagePage) {
                usagePage = value;
            } else if (tag == kTagReportId) {
                out.usesReportIds = true;
            } else if (tag == kTagPush) {
                if (pushDepth < kMaxPushDepth)
                    pushed[pushDepth++] = usagePage;
                else
                    out.malformed = true;
            } else if (tag == kTagPop) {
                if (pushDepth > 0)
                    usagePage = pushed[--pushDepth];
                else
                    out.malformed = true;
            }
        } else if (type == kLocal) {
            if ((tag == kTagUsage || tag == kTagUsageMinimum) && !haveUsage) {
                haveUsage = true;
                // A four-byte usage carries its own page in the upper half.
                if (len == 4) {
                    usageExplicitPage = value >> 16;
                    usageId = value & 0xFFFF;
                } else {
                    usageExplicitPage = 0;
                    usageId = value;
                }
            }
        } else if (type == kMain) {
            if (tag == kTagCollection) {
                if (depth == 0) {
                    const HidDescriptorSummary::Usage u{haveUsage && usageExplicitPage ? usageExplicitPage : usagePage,
                                                        haveUsage ? usageId : 0};
                    if (out.topLevel.size() < HidDescriptorSummary::kMaxTopLevel)
                        out.topLevel.push_back(u);
                    if (!haveAnyTopLevel) {
                        haveAnyTopLevel = true;
                        firstAnyTopLevel = u;
                    }
                    if (!haveApplication && value == kApplication) {
                        haveApplication = true;
                        out.primary = u;
                    }
                }
                if (depth < 1 << 20)
                    ++depth;
            } else if (tag == kTagEndCollection) {
                if (depth > 0)
                    --depth;
                else
                    out.malformed = true;
            }
            // Local items apply to the next main item only.
            haveUsage = false;
        }
    }
    if (depth != 0)
        out.malformed = true;
    if (!haveApplication && haveAnyTopLevel)
        out.primary = firstAnyTopLevel;
    out.hasPrimary = haveApplication || haveAnyTopLevel;
    return out;
}

} // namespace platform
