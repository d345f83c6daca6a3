#pragma once

#include "PageContext.h"
#include "QXNetError.h"
#include "views/QXBackGroundView.h"

class QXButton;
class QXInputView;

// The login form of the account page: account and password, the remember-password
// box, and the buttons that slide the registration and reset forms in over it. The
// account header makes it over the whole page; the form never removes itself after
// a login: the header does that on "kLoginSuccessNotification", hiding it at once
// and deleting it later, since the form is still in its reply handler then.
class LoginView : public QXBackGroundView {
    Q_OBJECT
public:
    explicit LoginView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configTitle() override;

    QXButton *backBtn() const { return m_backBtn; }
    QXInputView *accountInputView() const { return m_accountInputView; }
    QXInputView *passwordInputView() const { return m_passwordInputView; }
    QXButton *checkBtn() const { return m_checkBtn; }
    QXButton *rememberPasswordBtn() const { return m_rememberPasswordBtn; }
    QXButton *forgetPasswordBtn() const { return m_forgetPasswordBtn; }
    QXButton *loginBtn() const { return m_loginBtn; }
    QXButton *registerBtn() const { return m_registerBtn; }

    // The button actions.
    void backBtnClicked();
    void checkBtnClicked(QXButton *sender);
    void forgetPasswordBtnClicked();
    void loginBtnClicked();
    void registerBtnClicked();

private:
    void buildControls();
    void layoutTexts();
    void slideIn(QWidget *form);
    void loginReplied(bool ok, const QJsonValue &data, const QXNetError &error, const QString &account,
                      const QString &password);

    PageContext m_context;
    QXButton *m_backBtn = nullptr;
    QXInputView *m_accountInputView = nullptr;
    QXInputView *m_passwordInputView = nullptr;
    QXButton *m_checkBtn = nullptr;
    QXButton *m_rememberPasswordBtn = nullptr;
    QXButton *m_forgetPasswordBtn = nullptr;
    QXButton *m_loginBtn = nullptr;
    QXButton *m_registerBtn = nullptr;
};
