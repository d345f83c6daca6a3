#include "QXPersonCenterView.h"

#include "AccountFormKit.h"
#include "QXLoginView.h"
#include "QXModifyPasswordView.h"
#include "QXRechargeView.h"
#include "QXUserInfoView.h"
#include "controls/QXButton.h"
#include "drawing/KitAppearance.h"

using accountform::loc;

namespace {
constexpr int kStripHeight = 70;
constexpr int kTabGap = 40;
constexpr int kTabHeight = 20;
constexpr int kTabLeft = 20;
constexpr int kPageLeft = 140;
constexpr int kRechargeLeft = 100;
const char *const kTabTitles[] = {"转写音频", "转写记录", "个人词库", "充值记录"};
} // namespace

QXPersonCenterView::QXPersonCenterView(MakePage makeTransferAudioView, QWidget *parent)
    : QXBaseView(parent), m_makeTransferAudioView(std::move(makeTransferAudioView))
{
    initUIData();
}

void QXPersonCenterView::initUIData()
{
    m_login = new QXLoginView(this);
    m_login->hide();
    m_userInfo = new QXUserInfoView(this);
    configTitle();
    const QPointer<QXPersonCenterView> self(this);
    m_userInfo->modifyPasswordBlock = [self] {
        if (self)
            self->showOnly(self->m_modifyPassword);
    };
    m_userInfo->rechargeBlock = [self] {
        if (!self)
            return;
        self->showOnly(self->m_recharge);
        self->m_recharge->initUIData();
    };
    m_modifyPassword = new QXModifyPasswordView(this);
    m_recharge = new QXRechargeView(this);
    if (m_makeTransferAudioView)
        m_transferAudio = m_makeTransferAudioView(this);
    selectItem(m_btnArray.first());
    const auto reselect = [self] {
        if (self)
            self->selectItem(self->m_current);
    };
    m_modifyPassword->cancelBlock = reselect;
    m_modifyPassword->sureBlock = [] {};
    m_recharge->cancelBlock = reselect;
    m_recharge->sureBlock = [] {};
    m_modifyPassword->hide();
    m_recharge->hide();
    m_login->raise();
    relayout();
}

void QXPersonCenterView::configTitle()
{
    for (int i = 0; i < 4; ++i) {
        if (m_btnArray.size() <= i) {
            auto *tab = accountform::makeFillButton(this, 14, Qt::transparent, 0);
            tab->setTag(i + 1);
            tab->setObjectName(QStringLiteral("tab%1").arg(i + 1));
            tab->setTitleColor(accountform::kWhite80);
            connect(tab, &QXButton::clicked, this, [this, tab] { selectItem(tab); });
            m_btnArray.append(tab);
        }
        m_btnArray[i]->setTitle(loc(kTabTitles[i]));
    }
    relayout();
}

void QXPersonCenterView::showOnly(QWidget *page)
{
    for (QWidget *each : {static_cast<QWidget *>(m_modifyPassword), static_cast<QWidget *>(m_recharge),
                          static_cast<QWidget *>(m_transferAudio.data())})
        if (each)
            each->setVisible(each == page);
}

void QXPersonCenterView::selectItem(QXButton *button)
{
    m_current = button;
    for (QXButton *tab : std::as_const(m_btnArray))
        tab->setTitleColor(tab == button ? qxAccentColor() : accountform::kWhite80);
    // Tabs 2 to 4 have no page: the area stays empty.
    showOnly(button && button->tag() == 1 && m_btnArray.contains(button) ? m_transferAudio.data() : nullptr);
}

void QXPersonCenterView::relayout()
{
    if (!m_userInfo)
        return;
    const int w = width(), h = height();
    m_login->setGeometry(rect());
    m_userInfo->setGeometry(0, 0, w, kStripHeight);
    int top = kStripHeight;
    int tabsRight = 0;
    for (QXButton *tab : std::as_const(m_btnArray)) {
        top += kTabGap;
        tab->setGeometry(kTabLeft, top, tab->fontMetrics().horizontalAdvance(tab->title()) + 4, kTabHeight);
        tabsRight = std::max(tabsRight, tab->geometry().right() + 1);
        top += kTabHeight;
    }
    // The pages sit right of the tab column; a tab title longer than the Chinese one
    // moves them right rather than being drawn under them.
    const int pageLeft = std::max(kPageLeft, tabsRight + kTabLeft);
    const int pageTop = kStripHeight + kTabGap;
    if (m_transferAudio)
        m_transferAudio->setGeometry(pageLeft, pageTop, std::max(0, w - pageLeft), std::max(0, h - pageTop));
    if (m_modifyPassword)
        m_modifyPassword->setGeometry(pageLeft, pageTop, std::max(0, w - pageLeft), std::max(0, h - pageTop));
    if (m_recharge)
        m_recharge->setGeometry(std::max(kRechargeLeft, tabsRight + kTabLeft), pageTop, 375, std::max(0, h - pageTop));
}

void QXPersonCenterView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    relayout();
}
