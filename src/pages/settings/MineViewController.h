#pragma once

#include "PageContext.h"
#include "views/AccountHeaderView.h"
#include "views/QXBaseViewController.h"

#include <QPointer>

class MineContentView;

// The Mine page (page number 4): the account header on top, the device panel below.
// No tab item leads to it; the main window refreshes the header each time it shows it.
class MineViewController : public QXBaseViewController {
    Q_OBJECT
public:
    static constexpr int kHeaderTop = 50;
    static constexpr int kHeaderHeight = 110;

    explicit MineViewController(const PageContext &context);

    void configUI() override;
    // Asks the account header to refresh the account.
    void getUserInfo();

    AccountHeaderView *headerView() const { return m_headerView; }
    MineContentView *contentView() const { return m_contentView; }

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutViews();

    PageContext m_context;
    QPointer<AccountHeaderView> m_headerView;
    MineContentView *m_contentView = nullptr;
};
