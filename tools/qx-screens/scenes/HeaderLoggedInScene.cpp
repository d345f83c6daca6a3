// The account header across the account page's width once the member information has
// come: the account's name, the expiry line and the recharge button.
#include "SceneWorld.h"

#include "MineHeaderView.h"

#include <QJsonObject>

namespace {
QWidget *build(SceneWorld &world)
{
    auto *page = new QWidget;
    page->setFixedSize(800, 160);
    page->setAutoFillBackground(true);
    world.state().setIsLogin(true);
    auto *header = new MineHeaderView(world.context(), page);
    header->setGeometry(0, 50, 800, 110);
    header->getUserInfo();
    // The member information as the server sends it.
    auto &[scene, answer] = world.pages().ports.requests.back();
    answer(true,
           QJsonObject{{QStringLiteral("account"), world.option(QStringLiteral("account"))},
                       {QStringLiteral("expiredTime"), world.option(QStringLiteral("expiredTime"))}},
           {});
    return page;
}

const SceneRegistrar
    reg({QStringLiteral("header-logged-in"),
         QStringLiteral("account header, logged in: name, expiry line, recharge"),
         {{QStringLiteral("account"), QStringLiteral("user@example.org"), QStringLiteral("the account")},
          {QStringLiteral("expiredTime"), QStringLiteral("1767139200000"),
           QStringLiteral("membership expiry, ms or s since 1970")}},
         build});
} // namespace
