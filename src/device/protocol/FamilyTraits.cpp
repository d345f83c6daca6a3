#include "FamilyTraits.h"

#include "HidReportRules.h"
#include "ReceiverTable.h"
#include "TextNumber.h"

namespace proto {

namespace {

// Plans 6 and 7 when the device profile gives no list.
constexpr DpiRow kDpiPlan67[] = {
    {{1, 30}, {1000, 1200, 1600, 2400}},
    {{2, 4, 5, 6}, {800, 1000, 1300, 1600}},
    {{8}, {1000, 2400, 4000}},
    {{15, 16, 17, 18, 19, 24}, {1000, 1200, 1600, 2400, 4000}},
    {{20}, {1000, 1200, 1600, 2400, 4000, 4800}},
    {{21}, {1000, 1200, 1600, 2400, 4000, 4800, 6000}},
    {{22}, {800, 1200, 1600, 2000, 2400}},
    {{25}, {1200, 1600, 1800, 2000, 2400, 4000}},
    {{26}, {800, 1600, 2400, 4800, 6400, 10000}},
    {{27}, {800, 1600, 2400, 3200, 4000, 8000}},
    {{28}, {800, 1600, 2400, 3200}},
    {{29}, {800, 1200, 1600}},
    {{32}, {800, 1600, 2400, 3200, 4800, 6400}},
    {{38}, {1200, 1600, 2400, 3200}},
};

constexpr DpiRow kDpiPlan4[] = {
    {{1}, {1000, 1200, 1600, 2400}},
    {{2, 4, 5, 6}, {800, 1000, 1300, 1600}},
};

// Plans 0, 1, 2, 3 and 5.
constexpr DpiRow kDpiOther[] = {
    {{1}, {1200, 1600, 1800, 2000, 2400}},    {{2, 4}, {600, 800, 1000, 1300, 1600}}, {{3}, {800, 1200, 1600}},
    {{5}, {800, 1000, 1300, 1600}},           {{6}, {800, 1000, 1200, 1600}},         {{7}, {1200, 2400, 3200}},
    {{8, 9}, {1000, 1200, 1600, 2400, 4000}},
};

constexpr int kPollMs = kConnectionPollMs;
constexpr int kPollPlan4Ms = kConnectionPollPlan4Ms;

using F = HidReportFamily;
using V = VoiceLayout;
using Rate = VoiceRateRule;
using K = KeyMap;
using Poll = ConnectionPoll;

// clang-format off
constexpr FamilyTraits kFamilies[] = {
    // plan replies   voice              rate   rule               pcm    dpi         settings                               keys       poll               interval
    {0, F::None,   V::None,           16000, Rate::Fixed,        false, kDpiOther,  0,                                     K::None,   Poll::None,        kPollMs},
    {1, F::None,   V::None,           16000, Rate::Fixed,        false, kDpiOther,  0,                                     K::None,   Poll::None,        kPollMs},
    {2, F::Framed, V::FramedAdpcm,    16000, Rate::Fixed,        false, kDpiOther,  kHidFirmwareUpdate,                    K::Framed, Poll::StatusQuery, kPollMs},
    {3, F::Plan3,  V::VoiceInterface,  8000, Rate::Fixed,        false, kDpiOther,  kMicOwnsVoiceFlag | kKeepsMicChoice
                                                                                    | kDpiAsRawValue,                      K::Plan3,  Poll::None,        kPollMs},
    {4, F::Plan4,  V::Plan4Units,      8000, Rate::Fixed,        true,  kDpiPlan4,  kMicOwnsVoiceFlag | kFlushOnMicClose,  K::Plan4,  Poll::SerialQuery, kPollPlan4Ms},
    {5, F::None,   V::None,           16000, Rate::Fixed,        false, kDpiOther,  0,                                     K::None,   Poll::None,        kPollMs},
    {6, F::Plan6,  V::TelinkBlocks,    8000, Rate::FlagFromFw11, true,  kDpiPlan67, kProfileDpiList,                       K::Plan6,  Poll::StatusQuery, kPollMs},
    {7, F::Plan7,  V::Plan7Units,     16000, Rate::Flag,         false, kDpiPlan67, kProfileDpiList,                       K::Plan7,  Poll::None,        kPollMs},
};
// clang-format on

constexpr bool rowsFollowTheirPlans()
{
    for (std::size_t i = 0; i < std::size(kFamilies); ++i)
        if (kFamilies[i].chipPlan != int(i))
            return false;
    return true;
}
static_assert(rowsFollowTheirPlans(), "family rows are indexed by their chip plan");

} // namespace

int FamilyTraits::reportLength(std::uint64_t deviceType, bool length33) const
{
    return qx::hid::outputReportLength(chipPlan, deviceType, length33);
}

const FamilyTraits &familyTraits(std::int64_t chipPlan)
{
    if (chipPlan < 0 || chipPlan >= std::int64_t(std::size(kFamilies)))
        return kFamilies[0];
    return kFamilies[chipPlan];
}

std::span<const FamilyTraits> familyTable()
{
    return kFamilies;
}

} // namespace proto

int wavSampleRate(const WavRateInputs &in)
{
    const proto::FamilyTraits &family = proto::familyTraits(in.chipPlan);
    int rate = in.bleConnect ? 8000 : family.voiceRate;
    if (in.deviceType == 5 || in.deviceType == 2)
        rate = 16000;
    const int fromFlag = in.samplingRate != 0 ? 16000 : 8000;
    if (family.rateRule == proto::VoiceRateRule::FlagFromFw11 && qx::leadingInteger(in.firmwareVersion) >= 11)
        rate = fromFlag;
    if (qx::receivers::receiverHas(in.currentVid, in.currentPid, qx::receivers::kWideBandPcm))
        rate = 16000;
    else if (family.rateRule == proto::VoiceRateRule::Flag)
        rate = fromFlag;
    return rate;
}
