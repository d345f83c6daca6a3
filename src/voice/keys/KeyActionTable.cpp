#include "KeyActionTable.h"

#include "platform/KeyCodeTable.h"

namespace keyaction {

namespace {

using platform::keys::kFlagAlternate;
using platform::keys::kFlagCommand;

// HID keyboard modifier bits and usages.
constexpr int kHidControl = 1;
constexpr int kHidAlt = 4;
constexpr int kUsageV = 25;
constexpr int kUsageTab = 43;
constexpr int kUsageRight = 79;
constexpr int kUsageLeft = 80;
constexpr int kUsageBackspace = 42;
constexpr int kUsageReturn = 40;
// macOS key codes.
constexpr int kMacTab = 48;
constexpr int kMacDelete = 51;
constexpr int kMacKeypadEnter = 76;
constexpr int kMacLeft = 123;
constexpr int kMacRight = 124;
// Marks a posted key as not coalesced; not a modifier.
constexpr quint64 kFlagNonCoalesced = 0x100;

constexpr Chord kPaste{platform::keys::kMacKeyV, kFlagCommand, kHidControl, kUsageV};
constexpr Chord kNone{};

// Indexed by operation type.
constexpr Operation kOperations[] = {
    {0, Action::CentreVoice, true, 0, kNone},
    {1, Action::Nothing, false, 0, kNone},
    {2, Action::VoiceToggle, true, 33, kNone},
    {3, Action::VoiceToggle, true, 35, kNone},
    {4, Action::VoiceToggle, true, 37, kNone},
    {5, Action::Shortcut, false, 0, kNone},
    {6, Action::OpenUrl, false, 0, kNone},
    {7, Action::OpenFile, false, 0, kNone},
    {8, Action::OpenFile, false, 0, kNone},
    {9, Action::SnipTranslate, false, 0, kNone},
    {10, Action::InsertText, false, 0, kPaste},
    {11, Action::LeaveFullScreen, false, 0, kNone},
    {12, Action::Delete, false, 0, kNone}, // the long end stops the repeat before lookup
    {13, Action::Enter, false, 0, kNone},
    {14, Action::VoiceByMode, true, 0, kNone},
    {15, Action::SwitchMode, true, 0, kNone},
    {16, Action::Chord, false, 0, {kMacTab, kFlagAlternate, kHidAlt, kUsageTab}},
    {17, Action::NextDpi, false, 0, kNone},
    {18, Action::AIWindowVoice, true, 33, kNone},
    {19, Action::Copy, true, 0, kNone},
    {20, Action::Chord, true, 0, kPaste},
    {21, Action::Chord, false, 0, {kMacRight, kFlagAlternate, kHidAlt, kUsageRight}},
    {22, Action::Chord, false, 0, {kMacLeft, kFlagAlternate, kHidAlt, kUsageLeft}},
    // Once per press: a second request at the release would put the computer back to
    // sleep as soon as the release woke it.
    {23, Action::Sleep, false, 0, kNone},
    {24, Action::CopyAndTranslate, true, 0, kNone},
    {25, Action::Nothing, false, 0, kNone},
    {26, Action::ShowAIWindow, true, 0, kNone},
    {27, Action::OpenUrl, false, 0, kNone},
    {28, Action::ShowAIWindow, true, 0, kNone},
};
static_assert(std::size(kOperations) == kMaxOperationType + 1);

} // namespace

const Operation *operationFor(quint64 type)
{
    if (type > quint64(kMaxOperationType))
        return nullptr;
    return &kOperations[type];
}

Chord deleteChord()
{
    return {kMacDelete, kFlagNonCoalesced, 0, kUsageBackspace};
}

Chord pasteChord()
{
    return kPaste;
}

Chord enterChord()
{
    return {kMacKeypadEnter, kFlagNonCoalesced, 0, kUsageReturn};
}

std::optional<qint64> nextDpiIndex(qint64 current, qsizetype stepCount)
{
    if (stepCount <= 0)
        return std::nullopt;
    const qint64 next = current + 1;
    return next < 0 || next >= stepCount ? 0 : next;
}

Lookup lookupOperation(const QList<MouseSettingModel> &keys, quint64 keyType, int pressKind)
{
    const quint64 kind = pressKind == kLongEnd ? quint64(kLongStart) : quint64(pressKind);
    Lookup found;
    for (const MouseSettingModel &key : keys) {
        if (key.keyType() != keyType)
            continue;
        for (const KeySettingModel &press : key.childs()) {
            if (press.keyPressType() != kind)
                continue;
            for (const KeySettingSubModel &option : press.childs()) {
                if (option.first() == QStringLiteral("1")) {
                    found.operationType = option.operationType();
                    found.option = option;
                }
            }
        }
    }
    return found;
}

} // namespace keyaction
