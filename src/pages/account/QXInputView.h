#pragma once

#include "Scheduler.h"
#include "views/QXBaseView.h"

#include <functional>

class QWidget;
class QXButton;
class QXSecureTextField;
class QXTextField;

// The one-line input field of the account forms: a text field over a thin underline
// with a button at its right end. The input type decides the button:
//   0 plain text, the button clears the field;
//   1 password, the button is an eye that shows or masks the text;
//   2 verification code, the button "发送验证码" asks for a code and then counts down
//     60 s on the scheduler before it can be pressed again.
// Other types only store the number. The sub-views are built by the first
// setInputType of 0, 1 or 2; every form sets the type right after making the field.
class QXInputView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kCountdownSeconds = 60;

    explicit QXInputView(Scheduler &scheduler, QWidget *parent = nullptr);
    ~QXInputView() override;

    quint64 inputType() const { return m_inputType; }
    void setInputType(quint64 type);

    // The text of the visible field: for a password the plain field while the eye is
    // on, else the masked one. Before the fields exist, the value last set.
    QString stringValue() const;
    // Puts the text into the field stringValue reads (kept until the fields are built).
    void setStringValue(const QString &value);

    // Called when the send button of type 2 is pressed; the countdown is not started
    // here: the form starts it once the code request has succeeded.
    void setGetVerifyCodeBlock(std::function<void()> block) { m_getVerifyCodeBlock = std::move(block); }

    // Starts (or restarts) the countdown: the button is disabled, 60 ticks of 1 s follow,
    // the last gives it back.
    void getVerificationCode();
    int countNum() const { return m_countNum; }
    bool isCounting() const { return m_timer != Scheduler::kNoTimer; }

    // The sub-views, built on first use.
    QXTextField *textField();
    QXSecureTextField *secureTextField();
    QXButton *rightBtn();
    bool hasSubviews() const { return m_textField != nullptr; }

    void configTitle() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rightBtnClicked();
    void showRightBtnState();
    void invalidateTimer();
    void setButtonTitle(const QString &title);
    void layoutSubviews();

    Scheduler &m_scheduler;
    quint64 m_inputType = 0;
    bool m_typeSet = false;
    QString m_stringValue;
    QXTextField *m_textField = nullptr;
    QXSecureTextField *m_secureTextField = nullptr;
    QWidget *m_underline = nullptr;
    QXButton *m_rightBtn = nullptr;
    QSize m_buttonSize{36, 36};
    bool m_buttonFitsTitle = false;
    std::function<void()> m_getVerifyCodeBlock;
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
    int m_countNum = 0;
};
