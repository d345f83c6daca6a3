#include "MineHeaderView.h"

#include "AccountFormKit.h"
#include "ForgetPasswordView.h"
#include "LoginView.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "PZString.h"
#include "QXUserInfoData.h"
#include "RegisterView.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"
#include "scenes/QXUserInfoScene.h"
#include "services/IErrorAlert.h"
#include "services/QXLoginResultModel.h"
#include "views/PZViewAnimation.h"

#include <QPainter>
#include <QPainterPath>

using accountform::loc;

namespace {
const QColor kNameColor(75, 75, 75);
const QColor kDarkText(38, 12, 12);
constexpr int kAvatar = 88;

// The avatar cut to a circle, as its round layer clips it.
QPixmap circular(const QPixmap &picture)
{
    QPixmap out(kAvatar, kAvatar);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(0, 0, kAvatar, kAvatar));
    painter.setClipPath(circle);
    if (!picture.isNull())
        painter.drawPixmap(QRect(0, 0, kAvatar, kAvatar), picture);
    return out;
}

QXLabel *label(QWidget *parent, qreal size, QFont::Weight weight, const QColor &color)
{
    auto *l = new QXLabel(parent);
    l->setFont(qxSystemFont(size, weight));
    l->setTextColor(color);
    return l;
}
} // namespace

MineHeaderView::MineHeaderView(const PageContext &context, QWidget *host)
    : AccountHeaderView(host), m_context(context), m_host(host)
{
    registerVoiceArtwork(); // the avatar and the location pin
    configUI();
    configTitle();
    configData();
}

void MineHeaderView::buildControls()
{
    m_headerImageView = new QLabel(this);
    m_nameLabel = label(this, 20, QFont::Medium, kNameColor);
    m_locationImageView = new QLabel(this);
    m_locationImageView->setPixmap(namedPixmap(QStringLiteral("6_location_icon")));
    m_locationLabel = label(this, 16, QFont::Normal, kDarkText);
    m_moneyLabel = label(this, 16, QFont::Normal, kDarkText);
    m_loginBtn = accountform::makeActionButton(this);
    connect(m_loginBtn, &QXButton::clicked, this, [this] { loginBtnClicked(); });
    m_rechargeBtn = accountform::makeActionButton(this);
    connect(m_rechargeBtn, &QXButton::clicked, this, [this] { rechargeBtnClicked(); });
    layoutSubviews();
}

void MineHeaderView::resizeEvent(QResizeEvent *event)
{
    AccountHeaderView::resizeEvent(event);
    layoutSubviews();
}

// The avatar 20 above the bottom, the name 33 right of it, the buttons 125 from the
// right edge centred on the avatar, the expiry 35 left of them.
void MineHeaderView::layoutSubviews()
{
    if (!m_loginBtn)
        return;
    const QRect avatar(25, height() - 20 - kAvatar, kAvatar, kAvatar);
    m_headerImageView->setGeometry(avatar);
    const QRect button(width() - 125 - 85, avatar.top() + (kAvatar - 31) / 2, 85, 31);
    m_loginBtn->setGeometry(button);
    m_rechargeBtn->setGeometry(button);
    const int moneyWidth = m_moneyLabel->sizeHint().width();
    m_moneyLabel->setGeometry(button.left() - 35 - moneyWidth, button.center().y() - 10, moneyWidth, 22);
    const QRect name(avatar.right() + 1 + 33, avatar.top() + 5, qMax(0, button.left() - avatar.right() - 34), 27);
    m_nameLabel->setGeometry(name);
    const QRect pin(name.left(), name.bottom() + 1 + 21, 16, 22);
    m_locationImageView->setGeometry(pin);
    m_locationLabel->setGeometry(pin.right() + 1 + 12, pin.top() + 5, m_locationLabel->sizeHint().width(), 22);
}

void MineHeaderView::configUI()
{
    if (!m_loginBtn)
        buildControls();
    m_headerImageView->setPixmap(circular(namedPixmap(QStringLiteral("6_headerDefault_icon"))));
    const bool loggedIn = m_context.state.isLogin();
    m_loginBtn->setVisible(!loggedIn);
    m_rechargeBtn->setVisible(loggedIn);
    m_moneyLabel->setVisible(loggedIn);
}

// As on the other platform's build, a language change shows the logged-out name and the
// long expiry until the next member information.
void MineHeaderView::configTitle()
{
    m_nameLabel->setText(loc("请先登录"));
    m_locationLabel->setText(loc("位置"));
    m_loginBtn->setTitle(loc("登录"));
    m_rechargeBtn->setTitle(loc("充值"));
    const std::optional<QXLoginResultModel> result = m_context.state.loginResult();
    setExpiry(result ? result->expiredTime().value_or(QString()) : QString(), QStringLiteral("yyyy-MM-dd-HH-mm-ss"));
}

void MineHeaderView::setExpiry(const QString &expiredTime, const QString &dateFormat)
{
    // Each language sets its own punctuation around the date (a space after the colon in most).
    m_moneyLabel->setText(loc("到期时间:%1").arg(pz::ConvertStrToTime(expiredTime, dateFormat)));
    layoutSubviews();
}

void MineHeaderView::configData()
{
    m_context.notifications.addObserver(QString::fromLatin1(qx::notify::kLoginSuccessNotification), this,
                                        [this](const QVariant &) { loginSuccess(); });
}

void MineHeaderView::loginBtnClicked()
{
    if (!m_host) {
        qxWarning("account") << "the account header has no page to show the login form over";
        return;
    }
    const QSize size = m_host->size();
    auto *form = new LoginView(m_context, m_host);
    form->setGeometry(size.width(), 0, size.width(), size.height());
    form->show();
    form->raise();
    moveAnimationWithView(form, QRect(QPoint(0, 0), size));
}

void MineHeaderView::rechargeBtnClicked() {}

void MineHeaderView::loginSuccess()
{
    // The form that posted is still in its reply handler: hidden now, deleted once
    // that call has returned.
    if (m_host) {
        for (QObject *child : m_host->children()) {
            auto *form = qobject_cast<QWidget *>(child);
            if (qobject_cast<LoginView *>(form) || qobject_cast<RegisterView *>(form)) {
                form->hide();
                form->deleteLater();
            }
        }
    }
    getUserInfo();
}

void MineHeaderView::getUserInfo()
{
    QXUserInfoData &state = m_context.state;
    if (!state.isLogin())
        return;
    auto scene = std::make_shared<QXUserInfoScene>();
    const std::optional<QXLoginResultModel> result = state.loginResult();
    scene->token = result ? result->token.value_or(QString()) : QString();
    accountform::send(m_context, this, scene,
                      [](MineHeaderView *header, bool ok, const QJsonValue &data, const QXNetError &error) {
                          header->userInfoReplied(ok, data, error);
                      });
}

void MineHeaderView::userInfoReplied(bool ok, const QJsonValue &data, const QXNetError &error)
{
    if (!ok) {
        m_context.errorAlert.showErrorMsg(loc("获取用户信息失败"), accountform::failureText(error));
        return;
    }
    configUI();
    QXUserInfoData &state = m_context.state;
    // A reply without a record keeps the one from the login.
    if (std::optional<QXLoginResultModel> fresh = QXLoginResultModel::fromJson(data))
        state.setLoginResult(fresh);
    else
        qxWarning("account") << "member information without a record; the login's record stays";
    const std::optional<QXLoginResultModel> result = state.loginResult();
    const std::optional<QString> account = result ? result->account : std::nullopt;
    m_nameLabel->setText(account.value_or(state.account()));
    const std::optional<QString> expiry = result ? result->expiredTime() : std::nullopt;
    m_moneyLabel->setVisible(expiry.has_value());
    setExpiry(expiry.value_or(QString()), QStringLiteral("yyyy-MM-dd"));
}
