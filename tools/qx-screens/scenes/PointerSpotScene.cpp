// The pointer's light spot over a desktop.
#include "PointerDesk.h"

namespace {
const SceneRegistrar reg(
    {QStringLiteral("spot"), QStringLiteral("presentation pointer: a light spot at the pointer"),
     pointerOptions() << SceneOption{QStringLiteral("color"), QStringLiteral("#FFFF0000"), QStringLiteral("#AARRGGBB")}
                      << SceneOption{QStringLiteral("size"), QStringLiteral("20"), QStringLiteral("diameter")},
     [](SceneWorld &world) {
         return pointerScene(world, PointerOverlay::Effect::Spot,
                             {0, world.doubleOption(QStringLiteral("size")),
                              QColor::fromString(world.option(QStringLiteral("color")))});
     }});
} // namespace
