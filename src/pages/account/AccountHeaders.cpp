#include "AccountHeaders.h"

#include "MineHeaderView.h"

AccountHeaderView *AccountHeaders::makeAccountHeader(const PageContext &context, QWidget *host)
{
    return new MineHeaderView(context, host);
}
