// The lighting page of a mouse of type 56: three modes, off, so the speed slider is
// grey and disabled and the multicolour swatch hidden.
#include "PreferencesViewController.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "SettingsPageHost.h"

namespace {
const SceneRegistrar registered({QStringLiteral("lighting-mouse56"),
                                 QStringLiteral("lighting page, mouse type 56: three modes, lights off"),
                                 {{QStringLiteral("mode"), QStringLiteral("0"), QStringLiteral("reported mode 0-3")}},
                                 [](SceneWorld &world) {
                                     QXMouseInfoItem &item = world.state().mouseInfoItem();
                                     item.setMouseType(56);
                                     item.setLightingEffectsMode(world.intOption(QStringLiteral("mode")));
                                     item.setLightingEffectsBrightness(40);
                                     item.setLightingEffectsSpeed(2);
                                     item.setLightingEffectsColor(2);
                                     return hostSettingsPage<PreferencesViewController>(world);
                                 }});
} // namespace
