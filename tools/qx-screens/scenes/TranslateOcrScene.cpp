// The translation window after a recognise-only capture: the recognised lines alone,
// the header a disabled title.
#include "TranslateDesk.h"

namespace {
QWidget *build(SceneWorld &world)
{
    world.state().setIsScreenshotsTranslate(true);
    auto *desk = new TranslateDesk(world);
    desk->tool().setIsScreenshotsOCR(true);
    desk->show(world, world.option(QStringLiteral("text")).replace(QStringLiteral("\\n"), QStringLiteral("\n")),
               QString());
    return desk;
}

const SceneRegistrar reg({QStringLiteral("translate-ocr"),
                          QStringLiteral("translation window, recognition only: the text read from a captured "
                                         "region under a disabled title"),
                          {{QStringLiteral("text"),
                            QStringLiteral("Quarterly review\\nThursday 10:00, room 4\\nBring the sales figures"),
                            QStringLiteral("recognised lines (\\n between them)")},
                           PopupDesk::translucentOption()},
                          build});
} // namespace
