// Feeds arbitrary bytes to the HID report-descriptor reader, as a device (or a faked
// sysfs) could present them.
#include "platform/HidReportDescriptor.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto s = platform::parseHidReportDescriptor(data, size);
    if (s.topLevel.size() > platform::HidDescriptorSummary::kMaxTopLevel)
        std::abort();
    // No collection, no primary usage; a primary usage comes from a collection seen.
    if (s.hasPrimary == s.topLevel.empty())
        std::abort();
    if (!s.hasPrimary && (s.primary.page != 0 || s.primary.usage != 0))
        std::abort();
    return 0;
}
