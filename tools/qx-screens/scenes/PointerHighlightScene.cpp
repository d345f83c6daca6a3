// The pointer's highlight over a desktop: darkened but for a clear disc at the pointer.
#include "PointerDesk.h"

namespace {
const SceneRegistrar
    reg({QStringLiteral("highlight"), QStringLiteral("presentation pointer: the screen darkened around a clear disc"),
         pointerOptions() << SceneOption{QStringLiteral("alpha"), QStringLiteral("0.6"), QStringLiteral("darkness")}
                          << SceneOption{QStringLiteral("size"), QStringLiteral("300"), QStringLiteral("disc")},
         [](SceneWorld &world) {
             return pointerScene(
                 world, PointerOverlay::Effect::Highlight,
                 {world.doubleOption(QStringLiteral("alpha")), world.doubleOption(QStringLiteral("size")), {}});
         }});
} // namespace
