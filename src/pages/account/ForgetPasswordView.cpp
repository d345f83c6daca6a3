#include "ForgetPasswordView.h"

#include "AccountFormKit.h"
#include "QXInputView.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "scenes/QXModifyPasswordScene.h"
#include "services/IErrorAlert.h"
#include "services/IPopupTips.h"

using accountform::loc;

ForgetPasswordView::ForgetPasswordView(const PageContext &context, QWidget *parent) : RegisterView(context, parent)
{
    // No acceptance here: the box, the text and its two links go, and the submit
    // moves up to 28 below the confirmation field.
    checkBtn()->hide();
    agreementLabel()->hide();
    privacyBtn()->hide();
    agreementBtn()->hide();
    const QRect confirm = passwordConfirmInputView()->geometry();
    QXButton *submit = registerBtn();
    submit->move(submit->x(), confirm.bottom() + 1 + 28);
    configTitle();
}

void ForgetPasswordView::configTitle()
{
    RegisterView::configTitle();
    registerBtn()->setTitle(loc("找回密码"));
    fitRegisterBtn();
}

void ForgetPasswordView::getVerificationCode()
{
    requestCode(QStringLiteral("RESET"));
}

void ForgetPasswordView::registerBtnClicked()
{
    if (!fieldsComplete())
        return;
    auto scene = std::make_shared<QXModifyPasswordScene>();
    scene->account = accountInputView()->stringValue();
    scene->code = codeInputView()->stringValue();
    scene->password = passwordInputView()->stringValue();
    accountform::send(
        m_context, this, scene, [](ForgetPasswordView *form, bool ok, const QJsonValue &, const QXNetError &error) {
            if (!ok) {
                form->m_context.errorAlert.showErrorMsg(loc("修改密码失败"), accountform::failureText(error));
                return;
            }
            form->m_context.tips.showTipMessage(loc("修改密码成功"), QStringLiteral("success_icon"));
            form->backBtnClicked();
        });
}
