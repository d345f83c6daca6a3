// The password-reset form over the account page's 800 x 600 area: no acceptance line,
// the submit "找回密码" under the confirmation field.
#include "SceneWorld.h"

#include "ForgetPasswordView.h"
#include "QXInputView.h"

namespace {
QWidget *build(SceneWorld &world)
{
    auto *form = new ForgetPasswordView(world.context());
    form->setFixedSize(800, 600);
    form->accountInputView()->setStringValue(world.option(QStringLiteral("account")));
    return form;
}

const SceneRegistrar reg({QStringLiteral("forget"),
                          QStringLiteral("password-reset form"),
                          {{QStringLiteral("account"), QStringLiteral("13800000000"), QStringLiteral("the account")}},
                          build});
} // namespace
