// The voice-input row with a hot-key receiver connected (414 high, three recorders)
// and the screenshot-translation row below it, as the smart-settings page stacks them.
#include "SceneWorld.h"

#include "InputSettingView.h"
#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "SnipShortcut.h"
#include "SnipTranslateView.h"
#include "platform/ShortcutBinder.h"

namespace {
QWidget *build(SceneWorld &world)
{
    PageWorld &pages = world.pages();
    pages.data.languages().setUiLanguageIndex(quint64(world.intOption(QStringLiteral("lang"))));
    pages.data.languages().shouldRefreshData();
    pages.data.languages().setAsrLanguageType(1);
    world.state().setMouseIsConnect(true);
    world.state().mouseInfoItem().setdeviceType(3);
    pages.ports.vid = 0x13BA;
    pages.ports.pid = 0x12AB;
    // What the receiver's opening and the launch register: F1 / F2 / F3 and Alt+S.
    pages.shortcuts.registerDefaults({{QStringLiteral("WordShortcutKey"), {122, 0}},
                                      {QStringLiteral("TranslateShortcutKey"), {120, 0}},
                                      {QStringLiteral("SearchShortcutKey"), {99, 0}}});
    bindSnipShortcut(pages.shortcuts, world.state(), pages.neighbours.translate);

    auto *host = new QWidget;
    host->setObjectName(QStringLiteral("rowsHost"));
    host->setAutoFillBackground(true);
    host->setPalette(QPalette(Qt::white));
    auto *input = new InputSettingView(world.context(), host);
    input->setGeometry(44, 40, 836, input->viewHeight());
    auto *snip = new SnipTranslateView(world.context(), host);
    snip->setGeometry(44, input->geometry().bottom() + 1 + 40, 836, snip->viewHeight());
    host->resize(880, snip->geometry().bottom() + 1 + 40);
    return host;
}

const SceneRegistrar reg({QStringLiteral("rows-shortcuts"),
                          QStringLiteral("voice-input row with a hot-key receiver (three recorders) and the "
                                         "screenshot-translation row"),
                          {{QStringLiteral("lang"), QStringLiteral("0"), QStringLiteral("interface language index")}},
                          build});
} // namespace
