// The smart-settings page with no device, in Chinese: the voice-input row without its
// shortcuts.
#include "SmartPage.h"

namespace {
const SceneRegistrar reg({QStringLiteral("smart-none-zh"),
                          QStringLiteral("smart settings page, no device, Chinese: the five rows, input row 207 high"),
                          {},
                          [](SceneWorld &world) { return buildSmartPage(world, false, 0); }});
} // namespace
