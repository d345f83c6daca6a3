#include "BleFrames.h"

#include <array>

namespace proto {
namespace {

struct Row {
    BleCommand command;
    uint8_t code;
    BleChannel channel;
    std::array<uint8_t, 8> widths{}; // bytes per argument
    int argc = 0;

    constexpr Row(BleCommand c, uint8_t cd, BleChannel ch, std::initializer_list<uint8_t> w = {})
        : command(c), code(cd), channel(ch)
    {
        for (uint8_t x : w)
            widths[size_t(argc++)] = x;
    }
};

using C = BleCommand;
constexpr BleChannel D = BleChannel::Data;
constexpr BleChannel O = BleChannel::Ota;

constexpr Row kRows[] = {
    {C::GetReceive, 0x10, D},
    {C::KeyCommand, 0x20, D, {1, 1}},
    {C::SetBurnerInfo, 0x21, D, {2, 2, 1, 1, 1, 1}},
    {C::GetMouseInfo, 0x61, D},
    {C::OpenMic, 0x62, D},
    {C::CloseMic, 0x63, D},
    {C::OpenLed, 0x64, D},
    {C::CloseLed, 0x65, D},
    {C::OpenPopUpWebSite, 0x66, D},
    {C::ClosePopUpWebSite, 0x67, D},
    {C::SetDpi, 0x68, D, {1}},
    {C::StartOTA, 0x70, O},
    {C::EndOTA, 0x72, O, {4, 4}},
    {C::CancelOTA, 0x74, O},
    {C::OpenRGBLogoLED, 0x81, D},
    {C::CloseRGBLogoLED, 0x82, D},
    // lighting and hand: the odd code reads, the even one writes
    {C::GetLightingEffectsMode, 0x83, D},
    {C::SetLightingEffectsMode, 0x84, D, {1}},
    {C::GetLightingEffectsBrightness, 0x85, D},
    {C::SetLightingEffectsBrightness, 0x86, D, {1}},
    {C::GetLightingEffectsSpeed, 0x87, D},
    {C::SetLightingEffectsSpeed, 0x88, D, {1}},
    {C::GetLightingEffectsColor, 0x89, D},
    {C::SetLightingEffectsColor, 0x8a, D, {1}},
    {C::GetMouseLeftOrRightHandBehavior, 0x8b, D},
    {C::SetMouseLeftOrRightHandBehavior, 0x8c, D, {1}},
};

} // namespace

BleFrame bleFrame(BleCommand command, std::initializer_list<qint64> args)
{
    for (const Row &row : kRows) {
        if (row.command != command)
            continue;
        QByteArray f;
        f.append(char(0x4d)).append(char(0)).append(char(row.code));
        auto arg = args.begin();
        for (int i = 0; i < row.argc; ++i) {
            const quint64 v = arg != args.end() ? quint64(*arg++) : 0;
            for (int b = 0; b < row.widths[size_t(i)]; ++b)
                f.append(char((v >> (8 * b)) & 0xff));
        }
        f.append(char(0x4c));
        f[1] = char(f.size());
        return {f, row.channel};
    }
    return {};
}

} // namespace proto
