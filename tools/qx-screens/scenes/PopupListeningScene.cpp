// The speech pop-up as a voice key goes down: the prompt and the key's animation.
#include "PopupDesk.h"

#include "HRVLocalizedString.h"
#include "popup/QXPopupWindow.h"

namespace {
QWidget *build(SceneWorld &world)
{
    auto *desk = new PopupDesk(world);
    QXPopupWindowTool &tool = desk->tool();
    tool.showSpeechView(hrvAppLocalizedString(world.option(QStringLiteral("text"))),
                        world.intOption(QStringLiteral("type")));
    // Virtual time picks the frame: the type's own frames first, the listening loop
    // from half a second on.
    world.scheduler().advance(world.intOption(QStringLiteral("ms")));
    desk->lay(world, &tool.popupWindow());
    return desk;
}

const SceneRegistrar reg({QStringLiteral("popup-listening"),
                          QStringLiteral("speech pop-up at key-down: the prompt and the press type's animation"),
                          {{QStringLiteral("text"), QStringLiteral("请说话..."), QStringLiteral("prompt shown")},
                           {QStringLiteral("type"), QStringLiteral("33"),
                            QStringLiteral("press type: 33 typing, 35 search, 37 translation")},
                           {QStringLiteral("ms"), QStringLiteral("200"),
                            QStringLiteral("time since the key went down (500 and on: the listening loop)")},
                           PopupDesk::translucentOption()},
                          build});
} // namespace
