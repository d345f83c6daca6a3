#pragma once

// The smart-settings page over the scene world's page context, tall enough to show
// all five rows: with a hot-key receiver connected (its three shortcuts, registered as
// the receiver's opening does) or with no device, in the interface language `lang`.
#include "SceneWorld.h"

#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "SmartSettingViewController.h"
#include "SnipShortcut.h"
#include "platform/ShortcutBinder.h"

inline QWidget *buildSmartPage(SceneWorld &world, bool hotKeyReceiver, quint64 lang)
{
    PageWorld &pages = world.pages();
    pages.data.languages().setUiLanguageIndex(lang);
    pages.data.languages().shouldRefreshData();
    pages.data.languages().setAsrLanguageType(1);
    if (hotKeyReceiver) {
        world.state().setMouseIsConnect(true);
        world.state().mouseInfoItem().setdeviceType(3);
        pages.ports.vid = 0x13BA;
        pages.ports.pid = 0x12AB;
        pages.shortcuts.registerDefaults({{QStringLiteral("WordShortcutKey"), {122, 0}},
                                          {QStringLiteral("TranslateShortcutKey"), {120, 0}},
                                          {QStringLiteral("SearchShortcutKey"), {99, 0}}});
    }
    bindSnipShortcut(pages.shortcuts, world.state(), pages.neighbours.translate); // as at launch

    // The host goes first and takes the page, which deletes its view.
    auto *host = new QWidget;
    auto *page = new SmartSettingViewController(world.context());
    QObject::connect(host, &QObject::destroyed, [page] { delete page; });
    page->view()->setParent(host);
    host->resize(880, 720);
    page->view()->setGeometry(host->rect());
    host->resize(880, SmartSettingViewController::kTopBand + page->totalHeight());
    page->view()->setGeometry(host->rect());
    return host;
}
