#pragma once

class ITranslateManager;
class QXUserInfoData;
namespace platform {
class ShortcutBinder;
}

// The screenshot-translation shortcut, kept under "SnipShortcutKey" with Option+S
// (Alt+S here) as its registered default. Binding again replaces the binding, so
// every connected launch and re-plug may call this. Its press starts a screenshot
// translation while that is switched on and a device is connected. state and
// translate must outlive the binding (break it with the key before they go).
void bindSnipShortcut(platform::ShortcutBinder &binder, const QXUserInfoData &state, ITranslateManager &translate);

inline constexpr const char *kSnipShortcutKey = "SnipShortcutKey";
