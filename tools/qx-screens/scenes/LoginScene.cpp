// The login form over the account page's 800 x 600 area, with a remembered account.
#include "SceneWorld.h"

#include "LoginView.h"

namespace {
QWidget *build(SceneWorld &world)
{
    world.state().setRememberPasswordSwitch(world.option(QStringLiteral("remember")) == QLatin1String("1"));
    world.state().setAccount(world.option(QStringLiteral("account")));
    world.state().setPassword(world.option(QStringLiteral("password")));
    auto *form = new LoginView(world.context());
    form->setFixedSize(800, 600);
    return form;
}

const SceneRegistrar
    reg({QStringLiteral("login"),
         QStringLiteral("login form of the account page"),
         {{QStringLiteral("remember"), QStringLiteral("1"), QStringLiteral("remember-password box (0/1)")},
          {QStringLiteral("account"), QStringLiteral("user@example.org"), QStringLiteral("the remembered account")},
          {QStringLiteral("password"), QStringLiteral("hunter22"), QStringLiteral("the remembered password")}},
         build});
} // namespace
