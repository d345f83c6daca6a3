#include "ShortcutValidator.h"

#include "KeyCodeTable.h"

#include <algorithm>
#include <array>

namespace platform {

namespace {
// macOS virtual key codes of F1 to F20.
// clang-format off
constexpr std::array<int, 20> kFunctionKeys = {keys::kMacKeyF1, keys::kMacKeyF2, keys::kMacKeyF3,
                                               118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113, 106, 64, 79, 80, 90};
// clang-format on
constexpr int kMacSpace = 49;
constexpr int kMacEscape = 53;
} // namespace

bool isShortcutValid(const Shortcut &shortcut, bool allowAnyShortcutWithOptionModifier)
{
    if (std::find(kFunctionKeys.begin(), kFunctionKeys.end(), shortcut.keyCode) != kFunctionKeys.end())
        return true;
    const quint64 flags = shortcut.modifierFlags & keys::kModifierFlagsMask;
    if (flags & (keys::kFlagControl | keys::kFlagCommand))
        return true;
    if (flags & keys::kFlagAlternate)
        return shortcut.keyCode == kMacSpace || shortcut.keyCode == kMacEscape || allowAnyShortcutWithOptionModifier;
    return false;
}

} // namespace platform
