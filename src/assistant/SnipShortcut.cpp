#include "SnipShortcut.h"

#include "QXUserInfoData.h"
#include "platform/KeyCodeTable.h"
#include "platform/ShortcutBinder.h"
#include "services/IAIWindow.h"

namespace {
constexpr int kMacKeyS = 1;

bool canFire(const QXUserInfoData &state)
{
    return state.screenshotsTranslateSwitch() && state.isConnect();
}
} // namespace

bool bindSnipShortcut(platform::ShortcutBinder &binder, const QXUserInfoData &state, ITranslateManager &translate)
{
    const QString key = QString::fromLatin1(kSnipShortcutKey);
    binder.registerDefaults({{key, {kMacKeyS, platform::keys::kFlagAlternate}}});
    // Recorders of the application accept chords with Option alone from now on.
    binder.setAllowAnyShortcutWithOptionModifier(true);
    if (!canFire(state)) {
        binder.breakBindingWithDefaultsKey(key);
        return false;
    }
    binder.bindShortcutWithDefaultsKey(key, [&state, &translate] {
        if (canFire(state)) // the switch may have changed since the grab
            translate.snipTranslate();
    });
    return true;
}
