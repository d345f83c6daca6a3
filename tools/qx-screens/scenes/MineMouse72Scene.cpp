// The Mine page of a mouse of type 72, logged out: the account pages' header on top,
// the device panel below.
#include "AccountHeaders.h"
#include "MineViewController.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "SettingsPageHost.h"

namespace {
const SceneRegistrar registered({QStringLiteral("mine-mouse72"),
                                 QStringLiteral("Mine page, mouse type 72, logged out: header and device panel"),
                                 {},
                                 [](SceneWorld &world) {
                                     QXMouseInfoItem &item = world.state().mouseInfoItem();
                                     item.setMouseType(72);
                                     item.setSn(QStringLiteral("QX72A0B1C2D3"));
                                     world.state().setMouseIsConnect(true);
                                     world.pages().accountHeaders.make = [](const PageContext &c, QWidget *host) {
                                         return AccountHeaders().makeAccountHeader(c, host);
                                     };
                                     MineViewController *page = nullptr;
                                     QWidget *host = hostSettingsPage<MineViewController>(world, &page);
                                     page->getUserInfo();
                                     return host;
                                 }});
} // namespace
