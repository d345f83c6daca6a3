#pragma once

// The receivers and wired mice the application talks to over USB HID, one row per
// vendor/product pair, in the order they are matched. Everything the transport needs
// to know per family lives in a row; the device-access rule installed with the
// package is generated from the same rows (see UdevRules.h).
//
// Plain data without Qt, so the build-time rule generator can use it.

#include <cstddef>
#include <cstdint>
#include <span>

namespace qx::receivers {

// Which interface of the receiver carries commands.
enum class InterfaceRule : std::uint8_t {
    Fixed,          // usage page and usage must both match
    AnyUsage,       // the usage page must match, any usage
    ByVersion,      // decided from the dongle version (and for some, the product name)
    EveryInterface, // every interface of the receiver is taken
};

// What opening the receiver sets up.
enum class OpenFamily : std::uint8_t {
    Basic,     // chip plan 1, ids stored
    PlanGroup, // chip plan from the row, key setting and command timer (ids only for row 8's pen)
    Telink,    // Telink pointer: key setting, timer, microphone data, announced at once
    PlanSeven, // chip plan 7, key setting
};

enum Flag : std::uint16_t {
    kStoreIds = 1 << 0,          // vid, pid and serial go into the device state
    kStartTimer = 1 << 1,        // the command manager's timer starts
    kMouseConnected = 1 << 2,    // the mouse counts as connected at once
    kLaserPen = 1 << 3,          // laser-pen status 1 is sent
    kHotKey = 1 << 4,            // a hot-key receiver (voice assistant keys)
    kExcludeNimboNames = 1 << 5, // ByVersion: "Nimbo ..." product names keep the 0xFFEF interface at "3.00"
};

inline constexpr std::int8_t kUnchanged = -1;

struct Usage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;
};

// The command interface most receivers use.
inline constexpr Usage kDefaultCommandInterface{0xFF05, 0};

struct ReceiverRow {
    int number;                 // 1-based position, as in the product list
    std::uint16_t productId;
    std::uint16_t vendorId;
    InterfaceRule rule;
    Usage command;              // for Fixed/AnyUsage (AnyUsage compares the page only)
    Usage alternative;          // a second interface taken directly ({0,0} when none)
    const char *logText;        // written to the user log when it opens; nullptr for none
    std::int8_t deviceType;     // 1 unless the row says otherwise
    std::int8_t mouseSource;    // kUnchanged leaves the stored value
    std::int8_t chipPlan;       // kUnchanged leaves the stored value
    std::int8_t keySetting;     // 0/1, or kUnchanged
    std::int8_t hotKeyPlan;     // for hot-key receivers: plan they switch to, 0 none
    OpenFamily family;
    std::uint16_t flags;

    bool has(Flag f) const { return (flags & f) != 0; }
    bool hasAlternative() const { return alternative.page != 0; }
};

// All rows, in matching order.
std::span<const ReceiverRow> receiverTable();

// The row of a vendor/product pair, or nullptr.
const ReceiverRow *findReceiver(std::uint16_t vendorId, std::uint16_t productId);

} // namespace qx::receivers
