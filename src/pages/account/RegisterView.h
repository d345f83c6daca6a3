#pragma once

#include "PageContext.h"
#include "QXNetError.h"
#include "views/QXBackGroundView.h"

class QXButton;
class QXInputView;
class QXLabel;

// The registration form, slid in over the login form: account, verification code,
// password and its repetition, and the acceptance of the two agreements, whose links
// open on the maker's web site. A registration logs the user in (the header removes
// the forms on "kLoginSuccessNotification"); it stores neither account nor password.
// ForgetPasswordView reuses it for the password reset.
class RegisterView : public QXBackGroundView {
    Q_OBJECT
public:
    explicit RegisterView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configTitle() override;

    // "EMAIL" when the account holds an "@", else "PHONE".
    static QString accountType(const QString &account);
    // The agreement pages: the left link area's and the right one's.
    static QString privacyUrl();
    static QString agreementUrl();

    QXButton *backBtn() const { return m_backBtn; }
    QXInputView *accountInputView() const { return m_accountInputView; }
    QXInputView *codeInputView() const { return m_codeInputView; }
    QXInputView *passwordInputView() const { return m_passwordInputView; }
    QXInputView *passwordConfirmInputView() const { return m_passwordConfirmInputView; }
    QXButton *checkBtn() const { return m_checkBtn; }
    QXLabel *agreementLabel() const { return m_agreementLabel; }
    QXButton *privacyBtn() const { return m_privacyBtn; }
    QXButton *agreementBtn() const { return m_agreementBtn; }
    QXButton *registerBtn() const { return m_registerBtn; }

    // The button actions; the reset form overrides the code request and the submit.
    void backBtnClicked();
    void checkBtnClicked();
    void scanPrivacy();
    void scanAgreement();
    virtual void getVerificationCode();
    virtual void registerBtnClicked();

protected:
    // Sends a code request of the type ("REGISTER" or "RESET").
    void requestCode(const QString &codeType);
    // The checks the registration and the reset share (the four fields filled, the
    // passwords equal); an alert and false for the first that fails.
    bool fieldsComplete();
    void openLink(const QString &url);
    // After its title changes: the submit button widens for a longer translation.
    void fitRegisterBtn();

    PageContext m_context;

private:
    void buildControls();
    void layoutAgreement();
    void registerReplied(bool ok, const QJsonValue &data, const QXNetError &error);

    QXButton *m_backBtn = nullptr;
    QXInputView *m_accountInputView = nullptr;
    QXInputView *m_codeInputView = nullptr;
    QXInputView *m_passwordInputView = nullptr;
    QXInputView *m_passwordConfirmInputView = nullptr;
    QXButton *m_checkBtn = nullptr;
    QXLabel *m_agreementLabel = nullptr;
    QXButton *m_privacyBtn = nullptr;
    QXButton *m_agreementBtn = nullptr;
    QXButton *m_registerBtn = nullptr;
};
