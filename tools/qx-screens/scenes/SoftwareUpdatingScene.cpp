// The software-management page in English while the mouse's firmware transfer runs.
#include "SoftwarePage.h"

namespace {
const bool registered = [] {
    SceneRegistry::instance().add(
        {QStringLiteral("software-updating-en"),
         QStringLiteral("software page in English: the mouse transfer at the given progress"),
         {{QStringLiteral("lang"), QStringLiteral("2"), QStringLiteral("interface language index (2: English)")},
          {QStringLiteral("percent"), QStringLiteral("57"), QStringLiteral("transfer progress in percent")}},
         [](SceneWorld &world) { return buildSoftwarePage(world, world.intOption(QStringLiteral("percent"))); }});
    return true;
}();
} // namespace
