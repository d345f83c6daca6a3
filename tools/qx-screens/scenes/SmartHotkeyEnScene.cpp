// The smart-settings page with a hot-key receiver, in English: the voice-input row
// with its three shortcuts, the rows below moved down.
#include "SmartPage.h"

namespace {
const SceneRegistrar reg({QStringLiteral("smart-hotkey-en"),
                          QStringLiteral("smart settings page, hot-key receiver, English: input row 414 high"),
                          {},
                          [](SceneWorld &world) { return buildSmartPage(world, true, 2); }});
} // namespace
