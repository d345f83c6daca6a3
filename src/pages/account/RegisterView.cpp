#include "RegisterView.h"

#include "AccountFormKit.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXInputView.h"
#include "QXServiceEndpoints.h"
#include "QXUserInfoData.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXSecureTextField.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"
#include "platform/IWorkspace.h"
#include "scenes/QXGetVerifyCodeScene.h"
#include "scenes/QXRegisterScene.h"
#include "services/IErrorAlert.h"
#include "services/QXLoginResultModel.h"
#include "views/LayerMark.h"
#include "views/PZViewAnimation.h"

#include <QUrl>

#include <algorithm>

using accountform::loc;

namespace {
const QRect kAccountField(160, 150, 330, 35);
constexpr int kFieldGap = 30;
constexpr char kAgreementText[] = "我已阅读并同意<<Quorvex隐私政策>>及<<Quorvex用户服务协议>>";
constexpr char kAcceptFirst[] = "请先阅读并同意<<Quorvex隐私政策>>及<<Quorvex用户服务协议>>";

QXInputView *field(const PageContext &context, QWidget *parent, int row, quint64 type)
{
    auto *view = new QXInputView(context.scheduler, parent);
    view->setGeometry(kAccountField.translated(0, row * (kAccountField.height() + kFieldGap)));
    view->setInputType(type);
    return view;
}

QXButton *linkArea(QWidget *parent)
{
    auto *area = new QXButton(parent); // title-less and transparent
    return area;
}
} // namespace

RegisterView::RegisterView(const PageContext &context, QWidget *parent) : QXBackGroundView(parent), m_context(context)
{
    setLayerBackgroundColor(Qt::white);
    configUI();
    configTitle();
}

QString RegisterView::accountType(const QString &account)
{
    return account.contains(QLatin1Char('@')) ? QStringLiteral("EMAIL") : QStringLiteral("PHONE");
}

// The two addresses keep their pairing with the link areas as the site has them: the
// left area (over the privacy policy's name) opens "yhxy", the right one "yszc".
QString RegisterView::privacyUrl()
{
    return qxServiceBase(QXService::MakerWeb) + QStringLiteral("/software/kelvany/explain/views/yhxy.html");
}

QString RegisterView::agreementUrl()
{
    return qxServiceBase(QXService::MakerWeb) + QStringLiteral("/software/kelvany/explain/views/yszc.html");
}

void RegisterView::buildControls()
{
    m_backBtn = accountform::makeBackButton(this);
    connect(m_backBtn, &QXButton::clicked, this, [this] { backBtnClicked(); });
    m_accountInputView = field(m_context, this, 0, 0);
    m_codeInputView = field(m_context, this, 1, 2);
    m_passwordInputView = field(m_context, this, 2, 1);
    m_passwordConfirmInputView = field(m_context, this, 3, 1);

    const QRect confirm = m_passwordConfirmInputView->geometry();
    m_checkBtn = accountform::makeCheckBox(this);
    m_checkBtn->move(confirm.left() + 5, confirm.bottom() + 1 + kFieldGap);
    connect(m_checkBtn, &QXButton::clicked, this, [this] { checkBtnClicked(); });
    m_agreementLabel = new QXLabel(this);
    m_agreementLabel->setFont(qxSystemFont(10));
    m_agreementLabel->setTextColor(qxGreyColor());
    m_privacyBtn = linkArea(this);
    connect(m_privacyBtn, &QXButton::clicked, this, [this] { scanPrivacy(); });
    m_agreementBtn = linkArea(this);
    connect(m_agreementBtn, &QXButton::clicked, this, [this] { scanAgreement(); });

    m_registerBtn = accountform::makeActionButton(this);
    m_registerBtn->move(m_registerBtn->x(), m_checkBtn->geometry().bottom() + 1 + 36);
    connect(m_registerBtn, &QXButton::clicked, this, [this] { registerBtnClicked(); });
}

void RegisterView::configUI()
{
    if (!m_backBtn)
        buildControls();
    // Virtual at call time: the reset form asks for its own code type.
    m_codeInputView->setGetVerifyCodeBlock([form = QPointer<RegisterView>(this)] {
        if (form)
            form->getVerificationCode();
    });
    m_checkBtn->setChecked(false);
    checkBtnClicked();
}

void RegisterView::configTitle()
{
    m_backBtn->setTitle(QStringLiteral("< ") + loc("返回"));
    m_accountInputView->textField()->setPlaceholderText(loc("手机号/邮箱"));
    m_codeInputView->textField()->setPlaceholderText(loc("验证码"));
    m_passwordInputView->secureTextField()->setPlaceholderText(loc("密码"));
    m_passwordConfirmInputView->secureTextField()->setPlaceholderText(loc("再次输入密码"));
    m_agreementLabel->setText(loc(kAgreementText));
    m_registerBtn->setTitle(loc("注册"));
    fitRegisterBtn();
    layoutAgreement();
}

// Centred under the fields, as wide as they are at most.
void RegisterView::fitRegisterBtn()
{
    const QRect confirm = m_passwordConfirmInputView->geometry();
    accountform::fitActionButton(m_registerBtn, confirm.left() + confirm.width() / 2, confirm.width());
}

// The label 5 right of the box and centred on it, as wide as its text; the left link
// area from its left edge to 10 right of its centre, the right one the rest. A
// translation too long for one line even drawn smaller takes two, the first link's
// line above the second's.
void RegisterView::layoutAgreement()
{
    const QRect box = m_checkBtn->geometry();
    // A longer translation stops short of the form's edge (and draws smaller).
    const int left = box.right() + 1 + 5;
    const int room = std::max(0, width() - 10 - left);
    m_agreementLabel->setWordWrap(false);
    m_agreementLabel->resize(room, 15);
    const bool twoLines = m_agreementLabel->drawsCut();
    m_agreementLabel->setWordWrap(twoLines);
    const int height = twoLines ? 2 * m_agreementLabel->fontMetrics().lineSpacing() : 15;
    const QRect label(left, box.top() + (box.height() - height) / 2,
                      twoLines ? room : std::min(m_agreementLabel->sizeHint().width(), room), height);
    m_agreementLabel->setGeometry(label);
    if (twoLines) {
        const int split = label.top() + label.height() / 2;
        m_privacyBtn->setGeometry(label.left(), label.top(), label.width(), split - label.top());
        m_agreementBtn->setGeometry(label.left(), split, label.width(), label.bottom() + 1 - split);
    } else {
        const int split = label.left() + label.width() / 2 + 10;
        m_privacyBtn->setGeometry(label.left(), label.top(), split - label.left(), label.height());
        m_agreementBtn->setGeometry(split, label.top(), label.right() + 1 - split, label.height());
    }
    // The two links are the label's halves: they lie over its text on purpose.
    qxMarkLayer(m_privacyBtn);
    qxMarkLayer(m_agreementBtn);
}

void RegisterView::checkBtnClicked()
{
    accountform::setCheckBoxImage(m_checkBtn);
}

void RegisterView::scanPrivacy()
{
    openLink(privacyUrl());
}

void RegisterView::scanAgreement()
{
    openLink(agreementUrl());
}

void RegisterView::openLink(const QString &url)
{
    if (!m_context.workspace.openUrl(QUrl(url)))
        qxWarning("account") << "no program opened" << url;
}

void RegisterView::getVerificationCode()
{
    requestCode(QStringLiteral("REGISTER"));
}

void RegisterView::requestCode(const QString &codeType)
{
    const QString account = m_accountInputView->stringValue();
    if (account.isEmpty()) {
        m_context.errorAlert.showErrorMsg(loc("信息不能为空"), loc("请填写手机号/邮箱"));
        return;
    }
    m_codeInputView->rightBtn()->setEnabled(false);
    auto scene = std::make_shared<QXGetVerifyCodeScene>();
    scene->account = account;
    scene->accountType = accountType(account);
    scene->codeType = codeType;
    scene->country = QString();
    accountform::send(
        m_context, this, scene, [](RegisterView *form, bool ok, const QJsonValue &, const QXNetError &error) {
            if (ok) {
                form->m_codeInputView->getVerificationCode();
                return;
            }
            form->m_codeInputView->rightBtn()->setEnabled(true);
            form->m_context.errorAlert.showErrorMsg(loc("获取验证码失败"), accountform::failureText(error));
        });
}

bool RegisterView::fieldsComplete()
{
    const struct {
        QXInputView *field;
        const char *detail;
    } required[] = {{m_accountInputView, "请填写手机号/邮箱"},
                    {m_codeInputView, "请填写验证码"},
                    {m_passwordInputView, "请填写密码"},
                    {m_passwordConfirmInputView, "请填写确认密码"}};
    for (const auto &r : required) {
        if (r.field->stringValue().isEmpty()) {
            m_context.errorAlert.showErrorMsg(loc("信息不能为空"), loc(r.detail));
            return false;
        }
    }
    if (m_passwordInputView->stringValue() != m_passwordConfirmInputView->stringValue()) {
        m_context.errorAlert.showErrorMsg(loc("两次输入密码不一致"), QString());
        return false;
    }
    return true;
}

void RegisterView::registerBtnClicked()
{
    if (!fieldsComplete())
        return;
    if (!m_checkBtn->isChecked()) {
        m_context.errorAlert.showErrorMsg(loc(kAcceptFirst), QString());
        return;
    }
    auto scene = std::make_shared<QXRegisterScene>();
    scene->account = m_accountInputView->stringValue();
    scene->code = m_codeInputView->stringValue();
    scene->password = m_passwordInputView->stringValue();
    scene->type = accountType(scene->account);
    accountform::send(m_context, this, scene,
                      [](RegisterView *form, bool ok, const QJsonValue &data, const QXNetError &error) {
                          form->registerReplied(ok, data, error);
                      });
}

void RegisterView::registerReplied(bool ok, const QJsonValue &data, const QXNetError &error)
{
    if (!ok) {
        m_context.errorAlert.showErrorMsg(loc("注册失败"), accountform::failureText(error));
        return;
    }
    m_context.state.setIsLogin(true);
    m_context.state.setLoginResult(QXLoginResultModel::fromJson(data));
    // The header hides the forms and deletes them later; nothing of this form is
    // touched after the post.
    m_context.notifications.post(QString::fromLatin1(qx::notify::kLoginSuccessNotification));
}

void RegisterView::backBtnClicked()
{
    moveAnimationWithView(this, QRect(1000, 0, width(), height()), [form = QPointer<RegisterView>(this)] {
        if (form) {
            form->hide();
            form->deleteLater();
        }
    });
}
