#pragma once

#include "PagePorts.h"

// The account pages' header maker, which the composition root hands to every page.
class AccountHeaders final : public IAccountHeaders {
public:
    AccountHeaderView *makeAccountHeader(const PageContext &context, QWidget *host) override;
};
