#include "LoginView.h"

#include "AccountFormKit.h"
#include "ForgetPasswordView.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXInputView.h"
#include "QXUserInfoData.h"
#include "RegisterView.h"
#include "controls/QXButton.h"
#include "controls/QXSecureTextField.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"
#include "scenes/QXLoginScene.h"
#include "services/IErrorAlert.h"
#include "services/IPopupTips.h"
#include "services/QXLoginResultModel.h"
#include "views/PZViewAnimation.h"

using accountform::loc;

namespace {
const QColor kDarkText(38, 12, 12);
const QRect kAccountField(160, 150, 330, 35);
constexpr int kFieldGap = 30;

QXButton *textButton(QWidget *parent, const QColor &color)
{
    auto *button = new QXButton(parent);
    button->setFont(qxSystemFont(16, QFont::Light));
    button->setTitleColor(color);
    return button;
}
} // namespace

LoginView::LoginView(const PageContext &context, QWidget *parent) : QXBackGroundView(parent), m_context(context)
{
    setLayerBackgroundColor(Qt::white);
    configUI();
    configTitle();
}

void LoginView::buildControls()
{
    m_backBtn = accountform::makeBackButton(this);
    connect(m_backBtn, &QXButton::clicked, this, [this] { backBtnClicked(); });

    m_accountInputView = new QXInputView(m_context.scheduler, this);
    m_accountInputView->setGeometry(kAccountField);
    m_accountInputView->setInputType(0);
    m_passwordInputView = new QXInputView(m_context.scheduler, this);
    m_passwordInputView->setGeometry(kAccountField.translated(0, kAccountField.height() + kFieldGap));
    m_passwordInputView->setInputType(1);

    const QRect password = m_passwordInputView->geometry();
    m_checkBtn = accountform::makeCheckBox(this);
    m_checkBtn->move(password.left() + 5, password.bottom() + 1 + kFieldGap);
    connect(m_checkBtn, &QXButton::clicked, this, [this] { checkBtnClicked(m_checkBtn); });
    m_rememberPasswordBtn = textButton(this, kDarkText);
    m_rememberPasswordBtn->setCheckable(true);
    connect(m_rememberPasswordBtn, &QXButton::clicked, this, [this] { checkBtnClicked(m_rememberPasswordBtn); });
    m_forgetPasswordBtn = textButton(this, qxAccentColor());
    connect(m_forgetPasswordBtn, &QXButton::clicked, this, [this] { forgetPasswordBtnClicked(); });

    // Centred 100 left and right of the password field's centre, 40 below the box.
    const int centre = password.left() + password.width() / 2;
    const int top = m_checkBtn->geometry().bottom() + 1 + 40;
    m_loginBtn = accountform::makeActionButton(this);
    m_loginBtn->move(centre - 100 - m_loginBtn->width() / 2, top);
    connect(m_loginBtn, &QXButton::clicked, this, [this] { loginBtnClicked(); });
    m_registerBtn = accountform::makeActionButton(this, true);
    m_registerBtn->move(centre + 100 - m_registerBtn->width() / 2, top);
    connect(m_registerBtn, &QXButton::clicked, this, [this] { registerBtnClicked(); });
}

// The texts decide the widths of the two text buttons.
void LoginView::layoutTexts()
{
    const QRect box = m_checkBtn->geometry();
    const int top = box.top() + (box.height() - 20) / 2;
    const int left = box.right() + 1 + 13;
    const int right = m_passwordInputView->geometry().right() + 1;
    int rememberWidth = m_rememberPasswordBtn->sizeHint().width();
    int forgetWidth = m_forgetPasswordBtn->sizeHint().width();
    // Longer translations share the row by their widths (their titles then draw smaller).
    constexpr int kGap = 8;
    if (const int room = right - left - kGap; rememberWidth + forgetWidth > room && room > 0) {
        rememberWidth = room * rememberWidth / (rememberWidth + forgetWidth);
        forgetWidth = room - rememberWidth;
    }
    m_rememberPasswordBtn->setGeometry(left, top, rememberWidth, 20);
    m_forgetPasswordBtn->setGeometry(right - forgetWidth, top, forgetWidth, 20);
}

void LoginView::configUI()
{
    if (!m_backBtn)
        buildControls();
    QXUserInfoData &state = m_context.state;
    const bool remember = state.rememberPasswordSwitch();
    m_checkBtn->setChecked(remember);
    if (remember) {
        m_accountInputView->setStringValue(state.account());
        // The keyring may answer later; a password typed meanwhile stays.
        state.fetchPassword([form = QPointer<LoginView>(this)](const QString &password) {
            if (form && form->m_passwordInputView->stringValue().isEmpty())
                form->m_passwordInputView->setStringValue(password);
        });
    }
    checkBtnClicked(m_checkBtn);
}

void LoginView::configTitle()
{
    m_backBtn->setTitle(QStringLiteral("< ") + loc("返回"));
    m_accountInputView->textField()->setPlaceholderText(loc("手机号/邮箱"));
    m_passwordInputView->secureTextField()->setPlaceholderText(loc("密码"));
    m_rememberPasswordBtn->setTitle(loc("记住密码"));
    m_forgetPasswordBtn->setTitle(loc("忘记密码"));
    m_loginBtn->setTitle(loc("登录"));
    m_registerBtn->setTitle(loc("注册"));
    // Each widens about its own centre for a longer translation, short of the other.
    const QRect password = m_passwordInputView->geometry();
    const int centre = password.left() + password.width() / 2;
    accountform::fitActionButton(m_loginBtn, centre - 100, 180);
    accountform::fitActionButton(m_registerBtn, centre + 100, 180);
    layoutTexts();
}

void LoginView::checkBtnClicked(QXButton *sender)
{
    // A click has flipped the sender already; the other button follows it.
    const bool on = sender->isChecked();
    m_checkBtn->setChecked(on);
    m_rememberPasswordBtn->setChecked(on);
    accountform::setCheckBoxImage(m_checkBtn);
    m_context.state.setRememberPasswordSwitch(on);
}

void LoginView::loginBtnClicked()
{
    const QString account = m_accountInputView->stringValue();
    const QString password = m_passwordInputView->stringValue();
    if (account.isEmpty()) {
        m_context.errorAlert.showErrorMsg(loc("信息不能为空"), loc("请填写手机号/邮箱"));
        return;
    }
    if (password.isEmpty()) {
        m_context.errorAlert.showErrorMsg(loc("信息不能为空"), loc("请填写密码"));
        return;
    }
    auto scene = std::make_shared<QXLoginScene>();
    scene->account = account;
    scene->password = password;
    // What is stored after a login is what was sent and accepted, not what the fields
    // hold when the reply comes.
    accountform::send(m_context, this, scene,
                      [account, password](LoginView *form, bool ok, const QJsonValue &data, const QXNetError &error) {
                          form->loginReplied(ok, data, error, account, password);
                      });
}

void LoginView::loginReplied(bool ok, const QJsonValue &data, const QXNetError &error, const QString &account,
                             const QString &password)
{
    if (!ok) {
        m_context.errorAlert.showErrorMsg(loc("登录失败"), accountform::failureText(error));
        return;
    }
    QXUserInfoData &state = m_context.state;
    state.setIsLogin(true);
    state.setLoginResult(QXLoginResultModel::fromJson(data));
    state.setAccount(account);
    state.setPassword(password);
    m_context.tips.showTipMessage(loc("登录成功"), QStringLiteral("success_icon"));
    // The header's observer hides this form and deletes it later: nothing of the form
    // is touched after the post.
    m_context.notifications.post(QString::fromLatin1(qx::notify::kLoginSuccessNotification));
}

void LoginView::slideIn(QWidget *form)
{
    form->setGeometry(width(), 0, width(), height());
    form->show();
    moveAnimationWithView(form, QRect(0, 0, width(), height()));
}

void LoginView::registerBtnClicked()
{
    slideIn(new RegisterView(m_context, this));
}

void LoginView::forgetPasswordBtnClicked()
{
    slideIn(new ForgetPasswordView(m_context, this));
}

void LoginView::backBtnClicked()
{
    moveAnimationWithView(this, QRect(1000, 0, width(), height()), [form = QPointer<LoginView>(this)] {
        if (form) {
            form->hide();
            form->deleteLater();
        }
    });
}
