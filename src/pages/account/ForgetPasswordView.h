#pragma once

#include "RegisterView.h"

// The password reset: the registration form without the acceptance line, asking
// for a "RESET" code and sending the new password; on success it slides back out,
// uncovering the login form.
class ForgetPasswordView : public RegisterView {
    Q_OBJECT
public:
    explicit ForgetPasswordView(const PageContext &context, QWidget *parent = nullptr);

    void configTitle() override;
    void getVerificationCode() override;
    void registerBtnClicked() override;
};
