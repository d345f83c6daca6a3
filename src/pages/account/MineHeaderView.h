#pragma once

#include "PageContext.h"
#include "QXNetError.h"
#include "views/AccountHeaderView.h"

#include <QPointer>

class QLabel;
class QXButton;
class QXLabel;

// The account header of the account page: the avatar, the account's name, the location
// line, the membership expiry and the login button, which gives way to the recharge
// button once the member information has come. The login button slides the login
// form in over the host, the page's view. After a login or a registration
// ("kLoginSuccessNotification") the header closes the forms and fetches the member
// information.
class MineHeaderView : public AccountHeaderView {
    Q_OBJECT
public:
    // host: the page's view, the forms' parent and this header's.
    MineHeaderView(const PageContext &context, QWidget *host);

    void configUI() override;
    void configTitle() override;
    void configData() override;
    void getUserInfo() override;

    void loginBtnClicked();
    void rechargeBtnClicked();
    void loginSuccess();

    QLabel *headerImageView() const { return m_headerImageView; }
    QXLabel *nameLabel() const { return m_nameLabel; }
    QLabel *locationImageView() const { return m_locationImageView; }
    QXLabel *locationLabel() const { return m_locationLabel; }
    QXLabel *moneyLabel() const { return m_moneyLabel; }
    QXButton *loginBtn() const { return m_loginBtn; }
    QXButton *rechargeBtn() const { return m_rechargeBtn; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void layoutSubviews();
    void setExpiry(const QString &expiredTime, const QString &dateFormat);
    void userInfoReplied(bool ok, const QJsonValue &data, const QXNetError &error);

    PageContext m_context;
    QPointer<QWidget> m_host;
    QLabel *m_headerImageView = nullptr;
    QXLabel *m_nameLabel = nullptr;
    QLabel *m_locationImageView = nullptr;
    QXLabel *m_locationLabel = nullptr;
    QXLabel *m_moneyLabel = nullptr;
    QXButton *m_loginBtn = nullptr;
    QXButton *m_rechargeBtn = nullptr;
};
