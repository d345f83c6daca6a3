#pragma once

#include "PageContext.h"
#include "views/AccountHeaderView.h"

// The account header of the account page.
class MineHeaderView : public AccountHeaderView {
    Q_OBJECT
public:
    MineHeaderView(const PageContext &context, QWidget *host);

    void getUserInfo() override;

private:
    PageContext m_context;
};
