#include "QXUserInfoView.h"

#include "AccountFormKit.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"

using accountform::loc;

namespace {
int textWidth(const QWidget *w, const QString &text)
{
    return w->fontMetrics().horizontalAdvance(text) + 2;
}
} // namespace

QXUserInfoView::QXUserInfoView(QWidget *parent) : QXBaseView(parent)
{
    setLayerBackgroundColor(QColor(34, 34, 36));
    setLayerCornerRadius(10);
    m_nickName = accountform::makeLabel(this, qxSystemFont(14), Qt::white);
    m_modifyPassword = accountform::makeFillButton(this, 12, Qt::transparent, 0);
    m_modifyPassword->setTitleColor(accountform::kWhite80);
    m_modifyPassword->setObjectName(QStringLiteral("modifyPassword"));
    m_minutesTip = accountform::makeLabel(this, qxSystemFont(10), accountform::kWhite80);
    m_minutes = accountform::makeLabel(this, qxSystemFont(16, QFont::Bold), Qt::white);
    m_recharge = accountform::makeFillButton(this, 10, Qt::black, 9);
    m_recharge->setObjectName(QStringLiteral("recharge"));
    connect(m_modifyPassword, &QXButton::clicked, this, &QXUserInfoView::modifyPasswordBtnClicked);
    connect(m_recharge, &QXButton::clicked, this, &QXUserInfoView::rechargeBtnClicked);
    configTitle();
}

void QXUserInfoView::configTitle()
{
    m_nickName->setText(loc("昵称"));
    m_modifyPassword->setTitle(loc("修改密码"));
    m_minutesTip->setText(loc("可用时长(分钟):"));
    m_minutes->setText(loc("1024"));
    m_recharge->setTitle(loc("充值"));
    relayout();
}

void QXUserInfoView::relayout()
{
    const int w = width(), h = height();
    m_nickName->setGeometry(20, 10, textWidth(m_nickName, m_nickName->text()), 16);
    m_modifyPassword->setGeometry(18, h - 10 - 16, textWidth(m_modifyPassword, m_modifyPassword->title()) + 8, 16);
    const int tipWidth = textWidth(m_minutesTip, m_minutesTip->text());
    m_minutesTip->setGeometry(w - 30 - tipWidth, 10, tipWidth, 16);
    m_recharge->setGeometry(w - 15 - 50, 0, 50, 18);
    const int minutesWidth = textWidth(m_minutes, m_minutes->text());
    m_minutes->setGeometry(m_recharge->x() - 20 - minutesWidth, m_modifyPassword->geometry().bottom() + 1 - 16,
                           minutesWidth, 16);
    m_recharge->move(m_recharge->x(), m_minutes->y() + (16 - 18) / 2);
}

void QXUserInfoView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    relayout();
}

void QXUserInfoView::modifyPasswordBtnClicked()
{
    if (modifyPasswordBlock)
        modifyPasswordBlock();
}

void QXUserInfoView::rechargeBtnClicked()
{
    if (rechargeBlock)
        rechargeBlock();
}
