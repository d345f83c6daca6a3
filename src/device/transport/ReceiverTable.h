#pragma once

// The receivers and wired mice the application talks to over USB HID, one row per
// vendor/product pair, in the order they are matched. Everything the transport needs
// to know per family lives in a row; the device-access rule installed with the
// package is generated from the same rows (see UdevRules.h).
//
// Plain data without Qt, so the build-time rule generator can use it.

#include <cstddef>
#include <cstdint>
#include <optional>
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

enum Flag : std::uint32_t {
    kStoreIds = 1 << 0,          // vid, pid and serial go into the device state
    kStartTimer = 1 << 1,        // the command manager's timer starts
    kMouseConnected = 1 << 2,    // the mouse counts as connected at once
    kLaserPen = 1 << 3,          // laser-pen status 1 is sent
    kHotKey = 1 << 4,            // a hot-key receiver (voice assistant keys, F1 to F3)
    kExcludeNimboNames = 1 << 5, // ByVersion: "Nimbo ..." product names keep the 0xFFEF interface at "3.00"
    kUsbWatch = 1 << 6,          // watched by the USB arrival monitor
    kHidapiHotKeys = 1 << 7,     // the hidapi path binds its hot keys (F1 word, F2 and F3 by kF2SwitchesMode)
    kF2SwitchesMode = 1 << 8,    // hidapi hot keys: F2 switches typing/translation instead of translating
    kPointerReports = 1 << 9,    // the information path reads the presentation pointer's report layout
    // Voice quirks of single receivers.
    kReframedReports = 1 << 10, // plan 4: an extra byte after the report id, dropped before reading;
                                // its voice restarts the decoder on a zero byte 1 (31-byte units)
    kSequencedVoice = 1 << 11,  // plan 4: voice units of 96 bytes with a sequence number
    kVoiceBlocks32 = 1 << 12,   // plan 6: 32-byte voice blocks whatever the firmware
    kWideBandPcm = 1 << 13,     // the voice chip streams 16 kHz PCM whatever the family says
    kLargeVoiceUnits = 1 << 14, // plan 7: 114-byte voice units instead of 57
    kDecimalFirmware = 1 << 15, // plan-7 information: the firmware byte reads as a decimal, not a hex, text
    // Firmware 11 of these Telink receivers misreports its audio rate: the information
    // reply corrects it (sampling flag set -> rate 0; clear -> rate 1).
    kFw11RateOffWhenFlagged = 1 << 16,
    kFw11RateOnWhenUnflagged = 1 << 17,
    kOrvaneAudio = 1 << 18,     // its microphone shows up as the "ORVANE" audio input
    kFixedReportRate = 1 << 19, // the device page offers no report-rate choice for it
};

// Vendor ids the code names outside a row: the maker's own (its mice report it too)
// and the Telink receivers'. A row's ids are read from the row.
inline constexpr std::uint16_t kMakerVendorId = 0x3151;
inline constexpr std::uint16_t kTelinkVendorId = 0x248A;
// The Telink receiver whose microphone products take voice from the device's interface.
inline constexpr std::uint16_t kTelinkMicProductId = 0x60AB;

inline constexpr std::int8_t kUnchanged = -1;

struct Usage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;
};

// The command interface most receivers use.
inline constexpr Usage kDefaultCommandInterface{0xFF05, 0};

struct ReceiverRow {
    int number; // 1-based position, as in the product list
    std::uint16_t productId;
    std::uint16_t vendorId;
    InterfaceRule rule;
    Usage command;           // for Fixed/AnyUsage (AnyUsage compares the page only)
    Usage alternative;       // a second interface taken directly ({0,0} when none)
    const char *logText;     // written to the user log when it opens; nullptr for none
    std::int8_t deviceType;  // 1 unless the row says otherwise
    std::int8_t mouseSource; // kUnchanged leaves the stored value
    std::int8_t chipPlan;    // kUnchanged leaves the stored value
    std::int8_t keySetting;  // 0/1, or kUnchanged
    std::int8_t hotKeyPlan;  // for hot-key receivers: plan they switch to, 0 none
    OpenFamily family;
    std::uint32_t flags;

    bool has(Flag f) const { return (flags & f) != 0; }
    bool hasAlternative() const { return alternative.page != 0; }
};

// All rows, in matching order.
std::span<const ReceiverRow> receiverTable();

// The row of a vendor/product pair, or nullptr.
const ReceiverRow *findReceiver(std::uint16_t vendorId, std::uint16_t productId);

// Whether the row of the pair carries the flag (false for a pair without a row).
bool receiverHas(std::uint16_t vendorId, std::uint16_t productId, Flag flag);

// Whether the open device's ids (0 while none is open) are a receiver whose voice keys
// reach the computer as the keyboard's F1 to F3 (kHidapiHotKeys).
bool receiverHasKeyboardHotKeys(std::int64_t vendorId, std::int64_t productId);

// Whether any row of a product id carries the flag, whatever its vendor (the plan-6
// voice blocks were always chosen by product id alone).
bool productHas(std::uint16_t productId, Flag flag);

// Whether the pointer overlay follows this receiver's mode key: any receiver with the
// Telink vendor id, and the two pointer receivers by their product ids whatever their
// vendor id.
bool followsPointerModes(std::uint16_t vendorId, std::uint16_t productId);

// The origin (0 domestic, 1 international, 2 Asia-Pacific) that a mouse of the maker
// reports through its own product id; nothing for other ids. The same for HID and
// Bluetooth LE mice.
std::optional<int> mouseSourceOfProduct(std::uint16_t vendorId, std::uint16_t productId);

} // namespace qx::receivers
