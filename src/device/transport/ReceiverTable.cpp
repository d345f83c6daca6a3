#include "ReceiverTable.h"

#include <array>

namespace qx::receivers {

namespace {

constexpr Usage kNone{0, 0};
constexpr Usage kDefault = kDefaultCommandInterface;
constexpr std::int8_t U = kUnchanged;
constexpr auto F = InterfaceRule::Fixed;
constexpr auto Any = InterfaceRule::AnyUsage;
constexpr auto Ver = InterfaceRule::ByVersion;
constexpr auto Every = InterfaceRule::EveryInterface;
constexpr auto B = OpenFamily::Basic;
constexpr auto G = OpenFamily::PlanGroup;
constexpr auto T = OpenFamily::Telink;
constexpr auto S = OpenFamily::PlanSeven;

constexpr const char kDomestic[] = "国内版接收器";
constexpr const char kInternational[] = "国际版接收器";
constexpr const char kAsiaPacific[] = "亚太版接收器";
constexpr const char kLaserPenReceiver[] = "激光笔接收器";
constexpr const char kKorvelPen[] = "Korvel激光笔接收器";
constexpr const char kTelink[] = "泰凌微接收器";
constexpr const char kDamsen[] = "Damsen鼠标接收器";
constexpr const char kAB[] = "AB接收器";

// clang-format off
constexpr std::array<ReceiverRow, 34> kRows{{
    // #   pid     vid     rule   command          alternative  log                deviceType source plan key hot family flags
    { 1, 0x24AB, 0x25BA, F,     kDefault,         kNone, kDomestic,         1, 0, 1, U, 0, B, kStoreIds | kUsbWatch},
    { 2, 0x24BB, 0x25AA, F,     kDefault,         kNone, kInternational,    1, 1, 1, U, 0, B, kStoreIds | kUsbWatch},
    { 3, 0xAC22, 0xAC21, F,     kDefault,         kNone, kAsiaPacific,      1, 2, 1, U, 0, B, kStoreIds | kUsbWatch},
    { 4, 0x26AB, 0x27BA, F,     kDefault,         kNone, kLaserPenReceiver, 2, U, 1, U, 0, B, kStoreIds | kLaserPen | kUsbWatch},
    { 5, 0x12AB, 0x13BA, F,     kDefault,         kNone, nullptr,           1, U, 1, U, 0, B, kStoreIds | kHotKey | kUsbWatch | kHidapiHotKeys | kF2SwitchesMode},
    { 6, 0x24AC, 0x25CA, F,     kDefault,         kNone, nullptr,           1, U, 1, U, 0, B, kStoreIds | kUsbWatch | kOrvaneAudio},
    { 7, 0x12AC, 0x13CA, F,     kDefault,         kNone, nullptr,           1, U, 1, U, 0, B, kStoreIds | kHotKey | kUsbWatch | kHidapiHotKeys},
    { 8, 0x23AB, 0x3151, F,     kDefault,         kNone, kKorvelPen,        2, 0, 2, 0, 0, G, kStoreIds | kLaserPen | kUsbWatch | kPointerReports},
    { 9, 0x22AB, 0x3151, F,     {0xFF05, 0},      kNone, nullptr,           1, 0, 2, 1, 0, G, kStartTimer | kUsbWatch},
    {10, 0x50AB, 0x3151, F,     {0xFF05, 0},      kNone, nullptr,           1, 0, 2, 1, 0, G, kStartTimer | kUsbWatch},
    {11, 0x1043, 0x25A7, F,     kDefault,         kNone, nullptr,           1, U, 1, U, 0, B, kStoreIds},
    {12, 0x20AB, 0x3151, F,     kDefault,         kNone, nullptr,           1, U, 1, U, 2, B, kStoreIds | kHotKey},
    {13, 0x5453, 0x4A4A, F,     kDefault,         kNone, nullptr,           4, 0, 2, 1, 0, G, kStartTimer},
    {14, 0xB010, 0x10D6, F,     kDefault,         kNone, nullptr,           1, U, 1, U, 0, B, kStoreIds | kUsbWatch},
    {15, 0x8373, 0x248A, F,     kDefault,         kNone, kTelink,           5, 0, U, 1, 0, T, kStartTimer},
    {16, 0x3030, 0x3151, F,     kDefault,         kNone, nullptr,           1, U, 1, U, 0, B, kStoreIds},
    {17, 0x10AB, 0x3151, F,     {0xFF91, 0},      kNone, kDamsen,           1, 0, 4, 1, 0, G, kStartTimer},
    {18, 0x11AB, 0x3151, F,     {0x000C, 1},      kNone, kDamsen,           1, 0, 4, 1, 0, G, kStartTimer | kMouseConnected | kSequencedVoice},
    {19, 0x12AB, 0x3151, F,     {0xFF91, 0},      kNone, kDamsen,           1, 0, 4, 1, 0, G, kStartTimer | kReframedReports},
    {20, 0x13AB, 0x3151, F,     {0x000C, 1},      kNone, kDamsen,           1, 0, 4, 1, 0, G, kStartTimer | kMouseConnected | kSequencedVoice},
    {21, 0x60AB, 0x248A, Ver,   kNone,            kNone, nullptr,           1, 0, 6, 1, 0, G, kStartTimer | kExcludeNimboNames | kVoiceBlocks32 | kFw11RateOnWhenUnflagged},
    {22, 0x80AB, 0x248A, Ver,   kNone,            kNone, nullptr,           1, 0, 6, 1, 0, G, kStartTimer | kExcludeNimboNames | kVoiceBlocks32 | kFw11RateOnWhenUnflagged},
    {23, 0x61AB, 0x248A, F,     {0x0001, 6},      kNone, nullptr,           1, 0, 6, 1, 0, G, kStartTimer | kMouseConnected | kFw11RateOffWhenFlagged | kFixedReportRate},
    {24, 0x62AB, 0x248A, Any,   {0xFFEF, 0},      kNone, kLaserPenReceiver, 2, 0, 6, 1, 0, G, kStartTimer | kLaserPen | kVoiceBlocks32},
    {25, 0x63AB, 0x248A, F,     {0x0001, 6},      kNone, kLaserPenReceiver, 2, 0, 6, 1, 0, G, kStartTimer | kLaserPen | kMouseConnected},
    {26, 0x64AB, 0x248A, Any,   {0xFFEF, 0},      kNone, nullptr,           1, U, 1, U, 6, B, kStoreIds | kHotKey | kWideBandPcm},
    {27, 0x65AB, 0x248A, Ver,   kNone,            kNone, nullptr,           1, 0, 6, 1, 0, G, kStartTimer | kVoiceBlocks32},
    {28, 0x67AC, 0x248A, F,     {0xFFBB, 0},      kNone, kAB,               1, U, 7, 1, 0, S, 0},
    {29, 0x68AC, 0x248A, F,     {0x0001, 2},      kNone, kAB,               1, U, 7, 1, 0, S, kLargeVoiceUnits},
    {30, 0x69AC, 0x248A, F,     {0xFFBB, 0},      kNone, kAB,               1, U, 7, 1, 0, S, 0},
    {31, 0x5055, 0x4C4A, Every, {0x02FF, 2},      kNone, nullptr,           1, U, 1, U, 0, B, kStoreIds},
    {32, 0x70AC, 0x248A, F,     {0xFFF0, 1}, {0xFFBB, 0}, kAB,              1, U, 7, 1, 0, S, kDecimalFirmware},
    {33, 0x71AC, 0x248A, F,     {0x0001, 2},      kNone, kAB,               1, U, 7, 1, 0, S, 0},
    {34, 0x72AC, 0x248A, F,     {0xFFF0, 1},      kNone, kAB,               1, U, 7, 1, 0, S, 0},
}};
// clang-format on

constexpr bool rowsAreUniqueAndNumbered()
{
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (kRows[i].number != int(i) + 1)
            return false;
        for (std::size_t j = i + 1; j < kRows.size(); ++j)
            if (kRows[i].vendorId == kRows[j].vendorId && kRows[i].productId == kRows[j].productId)
                return false;
    }
    return true;
}
static_assert(rowsAreUniqueAndNumbered(), "receiver rows must be numbered in order and unique per pair");

// The maker's mice (vendor kMakerVendorId) by the product id they report, and the
// origin of the receiver they were sold with.
struct MouseSourceRow {
    std::uint16_t productId;
    int source;
};
constexpr MouseSourceRow kMouseSources[] = {
    {0x31AB, 0}, {0x33AB, 0}, {0x34AB, 0}, {0x36AB, 0}, {0x37AB, 0}, {0x39AB, 0},
    {0x32AB, 1}, {0x35AB, 1}, {0x38AB, 1}, {0x3AAB, 2}, {0x3BAB, 2}, {0x3CAB, 2},
};

} // namespace

std::span<const ReceiverRow> receiverTable()
{
    return kRows;
}

const ReceiverRow *findReceiver(std::uint16_t vendorId, std::uint16_t productId)
{
    for (const ReceiverRow &row : kRows)
        if (row.vendorId == vendorId && row.productId == productId)
            return &row;
    return nullptr;
}

bool receiverHas(std::uint16_t vendorId, std::uint16_t productId, Flag flag)
{
    const ReceiverRow *row = findReceiver(vendorId, productId);
    return row && row->has(flag);
}

bool receiverHasKeyboardHotKeys(std::int64_t vendorId, std::int64_t productId)
{
    const auto isId = [](std::int64_t id) { return id > 0 && id <= 0xFFFF; };
    return isId(vendorId) && isId(productId)
           && receiverHas(std::uint16_t(vendorId), std::uint16_t(productId), kHidapiHotKeys);
}

bool productHas(std::uint16_t productId, Flag flag)
{
    for (const ReceiverRow &row : kRows)
        if (row.productId == productId && row.has(flag))
            return true;
    return false;
}

bool followsPointerModes(std::uint16_t vendorId, std::uint16_t productId)
{
    return vendorId == kTelinkVendorId || productId == 0x62AB || productId == 0x63AB;
}

std::optional<int> mouseSourceOfProduct(std::uint16_t vendorId, std::uint16_t productId)
{
    if (vendorId != kMakerVendorId)
        return std::nullopt;
    for (const MouseSourceRow &row : kMouseSources)
        if (row.productId == productId)
            return row.source;
    return std::nullopt;
}

} // namespace qx::receivers
