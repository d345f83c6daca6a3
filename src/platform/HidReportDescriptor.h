#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// What the transport needs from a HID report descriptor.
struct HidDescriptorSummary {
    struct Usage {
        std::uint32_t page = 0;
        std::uint32_t usage = 0;
        bool operator==(const Usage &) const = default;
    };
    // Usage page and usage of the first top-level application collection (of the first
    // top-level collection of any kind when there is no application collection);
    // {0, 0} when the descriptor has none.
    Usage primary;
    bool hasPrimary = false;
    // Every top-level collection's usage, in order (at most kMaxTopLevel).
    std::vector<Usage> topLevel;
    // The device numbers its reports: a Report ID item appears.
    bool usesReportIds = false;
    // The descriptor ended inside an item or broke the nesting rules. What was read
    // before the fault is kept.
    bool malformed = false;

    static constexpr std::size_t kMaxTopLevel = 32;
};

// Reads the collection structure of a report descriptor. Any byte sequence is safe
// input: a truncated item ends the walk, nesting faults are noted and tolerated.
HidDescriptorSummary parseHidReportDescriptor(const std::uint8_t *data, std::size_t size);

} // namespace platform
