#include "FamilyTraits.h"

#include "HidReportRules.h"
#include "ReceiverTable.h"
#include "TextNumber.h"

namespace proto {

namespace {

constexpr int kPollMs = kConnectionPollMs;
constexpr int kPollPlan4Ms = kConnectionPollPlan4Ms;

using F = HidReportFamily;
using V = VoiceLayout;
using Rate = VoiceRateRule;
using K = KeyMap;
using Poll = ConnectionPoll;

// clang-format off
constexpr FamilyTraits kFamilies[] = {
    // plan replies   voice              rate   rule               pcm    settings                               keys       poll               interval
    {0, F::None,   V::None,           16000, Rate::Fixed,        false, 0,                                     K::None,   Poll::None,        kPollMs},
    {1, F::None,   V::None,           16000, Rate::Fixed,        false, 0,                                     K::None,   Poll::None,        kPollMs},
    {2, F::Framed, V::FramedAdpcm,    16000, Rate::Fixed,        false, kHidFirmwareUpdate,                    K::Framed, Poll::StatusQuery, kPollMs},
    {3, F::Plan3,  V::VoiceInterface,  8000, Rate::Fixed,        false, kMicOwnsVoiceFlag | kKeepsMicChoice
                                                                        | kDpiAsRawValue,                      K::Plan3,  Poll::None,        kPollMs},
    {4, F::Plan4,  V::Plan4Units,      8000, Rate::Fixed,        true,  kMicOwnsVoiceFlag | kFlushOnMicClose,  K::Plan4,  Poll::SerialQuery, kPollPlan4Ms},
    {5, F::None,   V::None,           16000, Rate::Fixed,        false, 0,                                     K::None,   Poll::None,        kPollMs},
    {6, F::Plan6,  V::TelinkBlocks,    8000, Rate::FlagFromFw11, true,  0,                                     K::Plan6,  Poll::StatusQuery, kPollMs},
    {7, F::Plan7,  V::Plan7Units,     16000, Rate::Flag,         false, 0,                                     K::Plan7,  Poll::None,        kPollMs},
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
