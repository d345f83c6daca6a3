// The software-management page with firmware images offered for the mouse and the
// receiver.
#include "SoftwarePage.h"

namespace {
const bool registered = [] {
    SceneRegistry::instance().add(
        {QStringLiteral("software-offered"),
         QStringLiteral("software page: language row, version line, feature list, both update buttons offered"),
         {{QStringLiteral("lang"), QStringLiteral("0"), QStringLiteral("interface language index (2: English)")}},
         [](SceneWorld &world) { return buildSoftwarePage(world, -1); }});
    return true;
}();
} // namespace
