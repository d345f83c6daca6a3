// The tip bubble of a mode switch.
#include "PopupDesk.h"

#include "HRVLocalizedString.h"
#include "popup/QXShowTipWindow.h"

namespace {
QWidget *build(SceneWorld &world)
{
    auto *desk = new PopupDesk(world);
    QXPopupWindowTool &tool = desk->tool();
    tool.showTipMessage(hrvAppLocalizedString(world.option(QStringLiteral("text"))),
                        world.option(QStringLiteral("image")));
    desk->lay(world, &tool.tipWindow());
    return desk;
}

const SceneRegistrar reg({QStringLiteral("tip"),
                          QStringLiteral("tip bubble: a picture and one line of text"),
                          {{QStringLiteral("text"), QStringLiteral("切换到翻译模式"), QStringLiteral("tip text")},
                           {QStringLiteral("image"), QStringLiteral("laserPen_icon-7"),
                            QStringLiteral("picture name (a missing one leaves the text alone)")},
                           PopupDesk::translucentOption()},
                          build});
// The same in English: a longer text grows the bubble, and past its widest it wraps.
const SceneRegistrar
    regEnglish({QStringLiteral("tip-en"),
                QStringLiteral("tip bubble in English: a wider bubble, a long text on two lines"),
                {{QStringLiteral("text"), QStringLiteral("Switched to translation mode: select text to translate it"),
                  QStringLiteral("tip text")},
                 {QStringLiteral("image"), QStringLiteral("laserPen_icon-7"),
                  QStringLiteral("picture name (a missing one leaves the text alone)")},
                 PopupDesk::translucentOption()},
                build});
} // namespace
