#include "MineHeaderView.h"

MineHeaderView::MineHeaderView(const PageContext &context, QWidget *host) : AccountHeaderView(host), m_context(context)
{
}

void MineHeaderView::getUserInfo() {}
