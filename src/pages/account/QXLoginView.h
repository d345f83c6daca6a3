#pragma once

#include "views/QXBaseView.h"

#include <functional>

class QLabel;
class QXButton;
class QXLabel;
class QXTextField;

// The personal centre's login panel: a code and a password mode, a phone field, a code
// or password field, and a QR code to scan. It is inert: it sends nothing, its get-code
// button does nothing, and the personal centre keeps it hidden.
class QXLoginView : public QXBaseView {
    Q_OBJECT
public:
    // A fixed public address; nothing reads it back.
    static constexpr const char kQrAddress[] = "https://www.baidu.com/";

    explicit QXLoginView(QWidget *parent = nullptr);

    void configTitle() override;
    // The QR code and the code mode (nothing in the application calls it).
    void initUIData();
    void changeLoginMode(QXButton *button);
    void authCodeBtnClicked() {}

    QXButton *verificationCodeBtn() const { return m_codeMode; }
    QXButton *passwordBtn() const { return m_passwordMode; }
    QXButton *authCodeBtn() const { return m_authCode; }
    QXLabel *authCodeLabel() const { return m_authCodeLabel; }
    QXTextField *phoneNumTextField() const { return m_phone; }
    QXTextField *authCodeTextField() const { return m_authCodeField; }
    QLabel *qrCodeImageView() const { return m_qrImage; }
    // The sound of a refused key in the digit-only fields; tests listen to it.
    void setBeep(std::function<void()> beep);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();
    void setDigitsOnly(QXTextField *field, bool on);

    QXButton *m_codeMode = nullptr;
    QWidget *m_divider = nullptr;
    QXButton *m_passwordMode = nullptr;
    QXLabel *m_phoneLabel = nullptr;
    QXTextField *m_phone = nullptr;
    QWidget *m_phoneLine = nullptr;
    QXButton *m_authCode = nullptr;
    QXLabel *m_authCodeLabel = nullptr;
    QXTextField *m_authCodeField = nullptr;
    QWidget *m_authCodeLine = nullptr;
    QXBaseView *m_qrView = nullptr;
    QLabel *m_qrImage = nullptr;
    QXLabel *m_qrLabel1 = nullptr;
    QXLabel *m_qrLabel2 = nullptr;
    std::function<void()> m_beep;
};
