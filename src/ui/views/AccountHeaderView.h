#pragma once

#include "QXBaseView.h"

// The account header at the top of the account page: the account's name and expiry,
// and the button that opens the login form (or, once logged in, the recharge button).
// The account pages implement it; a page that shows it gets one from
// PageContext::accountHeaders and asks it to refresh each time the page shows.
class AccountHeaderView : public QXBaseView {
    Q_OBJECT
public:
    using QXBaseView::QXBaseView;

    // Asks the server for the logged-in account's member information and shows it;
    // nothing while logged out.
    virtual void getUserInfo() = 0;
};
