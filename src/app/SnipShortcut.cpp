#include "SnipShortcut.h"

#include "QXUserInfoData.h"
#include "platform/KeyCodeTable.h"
#include "platform/ShortcutBinder.h"
#include "services/IAIWindow.h"

namespace {
constexpr int kMacKeyS = 1;
}

void bindSnipShortcut(platform::ShortcutBinder &binder, const QXUserInfoData &state, ITranslateManager &translate)
{
    const QString key = QString::fromLatin1(kSnipShortcutKey);
    binder.registerDefaults({{key, {kMacKeyS, platform::keys::kFlagAlternate}}});
    binder.bindShortcutWithDefaultsKey(key, [&state, &translate] {
        if (state.screenshotsTranslateSwitch() && state.isConnect())
            translate.snipTranslate();
    });
    // Recorders of the application accept chords with Option alone from now on.
    binder.setAllowAnyShortcutWithOptionModifier(true);
}
