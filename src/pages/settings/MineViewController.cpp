#include "MineViewController.h"

#include "MineContentView.h"
#include "PagePorts.h"
#include "drawing/KitAppearance.h"
#include "views/AccountHeaderView.h"

#include <QEvent>

MineViewController::MineViewController(const PageContext &context) : m_context(context) {}

QWidget *MineViewController::loadView()
{
    return qxWhitePage(QStringLiteral("minePage"));
}

void MineViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    configUI();
    view()->installEventFilter(this);
}

bool MineViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::Resize && m_contentView)
        layoutViews();
    return false;
}

void MineViewController::configUI()
{
    // The header is a child of the page's view, over which it slides its login forms.
    m_headerView = m_context.accountHeaders.makeAccountHeader(m_context, view());
    m_contentView = new MineContentView(m_context, view());
    layoutViews();
}

void MineViewController::layoutViews()
{
    const QRect page = view()->rect();
    if (m_headerView)
        m_headerView->setGeometry(0, kHeaderTop, page.width(), kHeaderHeight);
    const int contentTop = kHeaderTop + kHeaderHeight;
    m_contentView->setGeometry(0, contentTop, page.width(), std::max(0, page.height() - contentTop));
}

void MineViewController::getUserInfo()
{
    if (m_headerView)
        m_headerView->getUserInfo();
}
