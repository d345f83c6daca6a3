// The lighting page of a mouse of type 72: four modes, breathing, so the speed slider
// and the multicolour swatch are on.
#include "PreferencesViewController.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "SettingsPageHost.h"

namespace {
const SceneRegistrar registered({QStringLiteral("lighting-mouse72"),
                                 QStringLiteral("lighting page, mouse type 72: mode, speed, brightness, colour, hand"),
                                 {{QStringLiteral("mode"), QStringLiteral("2"), QStringLiteral("reported mode 0-3")},
                                  {QStringLiteral("brightness"), QStringLiteral("60"), QStringLiteral("1-100")},
                                  {QStringLiteral("speed"), QStringLiteral("3"), QStringLiteral("1-5")},
                                  {QStringLiteral("color"), QStringLiteral("5"), QStringLiteral("colour code 1-8")},
                                  {QStringLiteral("hand"), QStringLiteral("1"), QStringLiteral("1 left, 0 right")}},
                                 [](SceneWorld &world) {
                                     QXMouseInfoItem &item = world.state().mouseInfoItem();
                                     item.setMouseType(72);
                                     item.setLightingEffectsMode(world.intOption(QStringLiteral("mode")));
                                     item.setLightingEffectsBrightness(world.intOption(QStringLiteral("brightness")));
                                     item.setLightingEffectsSpeed(world.intOption(QStringLiteral("speed")));
                                     item.setLightingEffectsColor(world.intOption(QStringLiteral("color")));
                                     item.setMouseLeftOrRightHandBehavior(world.intOption(QStringLiteral("hand")));
                                     return hostSettingsPage<PreferencesViewController>(world);
                                 }});
} // namespace
