// The registration form over the account page's 800 x 600 area, filled in, the code
// sent and counting down, the agreements accepted.
#include "SceneWorld.h"

#include "QXInputView.h"
#include "RegisterView.h"
#include "controls/QXButton.h"

namespace {
QWidget *build(SceneWorld &world)
{
    auto *form = new RegisterView(world.context());
    form->setFixedSize(800, 600);
    form->accountInputView()->setStringValue(world.option(QStringLiteral("account")));
    form->codeInputView()->setStringValue(QStringLiteral("4821"));
    form->passwordInputView()->setStringValue(QStringLiteral("hunter22"));
    form->passwordConfirmInputView()->setStringValue(QStringLiteral("hunter22"));
    form->codeInputView()->getVerificationCode();
    world.scheduler().advance(qint64(world.intOption(QStringLiteral("elapsed"))) * 1000);
    form->checkBtn()->click();
    return form;
}

const SceneRegistrar
    reg({QStringLiteral("register"),
         QStringLiteral("registration form, filled in, the code counting down"),
         {{QStringLiteral("account"), QStringLiteral("user@example.org"), QStringLiteral("the account")},
          {QStringLiteral("elapsed"), QStringLiteral("5"), QStringLiteral("seconds since the code was sent (0-60)")}},
         build});
} // namespace
