#pragma once

class ITranslateManager;
class QXUserInfoData;
namespace platform {
class ShortcutBinder;
}

// The screenshot-translation shortcut, kept under "SnipShortcutKey" with Option+S
// (Alt+S here) as its registered default. The chord is grabbed only while its press can
// start a screenshot translation (that switch on and a device connected) and released
// otherwise, so other applications keep it the rest of the time: call this at launch,
// on every connection change and after the switch changes. Binding again replaces the
// binding. Returns whether the chord is bound. state and translate must outlive the
// binding (break it with the key before they go).
bool bindSnipShortcut(platform::ShortcutBinder &binder, const QXUserInfoData &state, ITranslateManager &translate);

inline constexpr const char *kSnipShortcutKey = "SnipShortcutKey";
