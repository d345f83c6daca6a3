#pragma once

#include "PagePorts.h"
#include "views/AccountHeaderView.h"

#include <QPointer>

#include <functional>
#include <vector>

// An account header that counts its refreshes.
class FakeAccountHeaderView final : public AccountHeaderView {
public:
    using AccountHeaderView::AccountHeaderView;
    int refreshes = 0;
    void getUserInfo() override { ++refreshes; }
};

// Makes counting headers, or through `make` (the account pages' real one, in a test
// or a scene that has them); keeps every header made.
class FakeAccountHeaders final : public IAccountHeaders {
public:
    std::function<AccountHeaderView *(const PageContext &, QWidget *)> make;
    std::vector<QPointer<AccountHeaderView>> made;
    AccountHeaderView *makeAccountHeader(const PageContext &context, QWidget *host) override
    {
        AccountHeaderView *header = make ? make(context, host) : new FakeAccountHeaderView(host);
        made.emplace_back(header);
        return header;
    }
};
