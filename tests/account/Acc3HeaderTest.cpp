// The account header over the page world (dates in UTC, see CMakeLists.txt): the two
// states, the login form it opens, the forms it closes after a login, the member
// information, and a whole login against a local server.
#include "ForgetPasswordView.h"
#include "LoginView.h"
#include "MineHeaderView.h"
#include "NetWorld.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXInputView.h"
#include "RegisterView.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "scenes/QXUserInfoScene.h"
#include "services/QXLoginResultModel.h"

#include <QPointer>
#include <QTest>

namespace {
struct Header {
    PageWorld world;
    QWidget host; // the account page's view
    MineHeaderView *header;
    Header() : header(new MineHeaderView(world.context(), &host))
    {
        host.resize(800, 600);
        header->setGeometry(0, 50, 800, 110);
        host.show(); // the layout follows the size it is shown at
    }
    void logIn(const QJsonValue &record)
    {
        world.state().setIsLogin(true);
        world.state().setLoginResult(QXLoginResultModel::fromJson(record));
    }
    QString token(std::size_t i = 0)
    {
        return static_cast<QXUserInfoScene *>(world.ports.requests.at(i).first.get())->token;
    }
    void reply(std::size_t i, bool ok, const QJsonValue &data = {}, const QString &message = {})
    {
        world.ports.requests.at(i).second(
            ok, data, QXNetError{ok ? QXNetError::Kind::None : QXNetError::Kind::Server, message, 0});
    }
    bool loggedInLook() const { return header->loginBtn()->isHidden() && !header->rechargeBtn()->isHidden(); }
};
} // namespace

TEST(Acc3Header, LoggedOutItShowsTheLoginButtonAndOpensTheFormOverThePage)
{
    Header h;
    EXPECT_FALSE(h.loggedInLook());
    EXPECT_TRUE(h.header->moneyLabel()->isHidden());
    EXPECT_EQ(h.header->nameLabel()->text(), "请先登录");
    EXPECT_EQ(h.header->locationLabel()->text(), "位置");
    EXPECT_EQ(h.header->moneyLabel()->text(), "到期时间:1970-01-01-00-00-00");
    EXPECT_EQ(h.header->headerImageView()->geometry(), QRect(25, 2, 88, 88));
    EXPECT_EQ(h.header->loginBtn()->geometry(), QRect(590, 30, 85, 31));
    EXPECT_EQ(h.header->nameLabel()->geometry().topLeft(), QPoint(146, 7));

    h.header->loginBtnClicked();
    const QList<LoginView *> forms = h.host.findChildren<LoginView *>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(forms.size(), 1);
    EXPECT_EQ(forms[0]->geometry(), QRect(800, 0, 800, 600));
    h.world.scheduler.advance(350);
    EXPECT_EQ(forms[0]->geometry(), QRect(0, 0, 800, 600));

    // Without a page under it the button does nothing.
    MineHeaderView alone(h.world.context(), nullptr);
    alone.loginBtnClicked();
    h.header->rechargeBtnClicked();
    EXPECT_TRUE(h.world.ports.requests.empty());
}

TEST(Acc3Header, ALoginClosesEveryFormAtOnceDeletesThemLaterAndFetchesTheMember)
{
    Header h;
    auto *login = new LoginView(h.world.context(), &h.host);
    QPointer<RegisterView> inner(new RegisterView(h.world.context(), login));
    QPointer<ForgetPasswordView> reset(new ForgetPasswordView(h.world.context(), &h.host));
    QWidget other(&h.host);
    other.show();
    login->show();
    reset->show();
    ASSERT_TRUE(inner->isVisible() && reset->isVisible()) << "the forms are on the page before the login";
    QPointer<LoginView> gone(login);
    h.logIn(NetWorld::json(R"({"token":"t","account":"first"})"));
    h.world.notifications.post(QString::fromLatin1(qx::notify::kLoginSuccessNotification));
    EXPECT_TRUE(login->isHidden() && reset->isHidden());
    EXPECT_FALSE(other.isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull() && inner.isNull() && reset.isNull());
    ASSERT_EQ(h.world.ports.requests.size(), 1u);
    EXPECT_EQ(h.token(), "t");

    // A reply without a record keeps the login's; a failure alerts and keeps the look.
    h.reply(0, true, QJsonValue("x"));
    EXPECT_EQ(h.header->nameLabel()->text(), "first");
    EXPECT_EQ(h.world.state().loginResult()->token, "t");
    h.header->getUserInfo();
    h.reply(1, false, {}, "m");
    EXPECT_EQ(h.world.log.calls.filter("showErrorMsg"), QStringList{"showErrorMsg(获取用户信息失败,m)"});
    EXPECT_TRUE(h.world.state().isLogin());
}

TEST(Acc3Header, MemberInformationSwitchesTheLookAndShowsTheExpiryDate)
{
    Header h;
    h.header->getUserInfo();
    EXPECT_TRUE(h.world.ports.requests.empty()); // logged out: nothing to ask
    h.world.state().setIsLogin(true);            // without a record: an empty token
    h.header->getUserInfo();
    EXPECT_EQ(h.token(), "");
    h.reply(0, true, NetWorld::json(R"({"account":"u1","expiredTime":"1735689600000","token":"t2"})"));
    EXPECT_TRUE(h.loggedInLook());
    EXPECT_EQ(h.header->nameLabel()->text(), "u1");
    EXPECT_EQ(h.header->moneyLabel()->text(), "到期时间:2025-01-01");
    EXPECT_EQ(h.world.state().loginResult()->token, "t2");
    // A language change shows the logged-out name and the long date, as it always has.
    h.world.notifications.post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    EXPECT_EQ(h.header->nameLabel()->text(), "请先登录");
    EXPECT_EQ(h.header->moneyLabel()->text(), "到期时间:2025-01-01-00-00-00");

    const struct {
        const char *expiredTime, *date;
    } rows[] = {{"1735689600", "2025-01-01"},
                {"17356896000", "2520-01-08"}, // 11 characters: unchanged
                {"17356896000000000000", "2025-01-01"},
                {"", "1970-01-01"},
                {"abc", "1970-01-01"},
                {"-1", "1969-12-31"}};
    for (const auto &r : rows) {
        h.header->getUserInfo();
        h.reply(h.world.ports.requests.size() - 1, true,
                QJsonObject{{"account", "u1"}, {"expiredTime", r.expiredTime}});
        EXPECT_EQ(h.header->moneyLabel()->text(), QStringLiteral("到期时间:") + r.date) << r.expiredTime;
    }
}

// The date follows the label as each language writes it: after a space in the Latin and
// Cyrillic ones (French puts one before the colon too), straight after it in Japanese.
TEST(ReadHeader, TheExpiryDateIsSpacedAsTheLanguageWritesIt)
{
    const struct {
        quint64 language;
        const char *text;
    } rows[] = {{2, "Expires: 2025-01-01"},
                {5, "Действует до: 2025-01-01"},
                {9, "Expiration : 2025-01-01"},
                {3, "有効期限:2025-01-01"}};
    for (const auto &r : rows) {
        Header h;
        h.world.data.languages().setUiLanguageIndex(r.language);
        h.world.state().setIsLogin(true);
        h.header->getUserInfo();
        h.reply(0, true, QJsonObject{{"account", "u1"}, {"expiredTime", "1735689600000"}});
        EXPECT_EQ(h.header->moneyLabel()->text().toStdString(), r.text);
    }
}

// Check 9: the header's login button, the form, the login and the member information
// over the real client and a local server.
TEST(Acc3HeaderEndToEnd, LoginThenMemberInformationOverALocalServer)
{
    NetWorld net;
    net.server.setHandler([](const HttpRequestRecord &r) {
        const QByteArray data =
            r.path == "/api/login" ? R"({"token":"tok"})" : R"({"account":"u1","expiredTime":"1735689600000"})";
        return HttpScriptedReply::json(R"({"statusCode":200,"message":"ok","data":)" + data + "}");
    });
    Header h;
    h.world.ports.http = &net.client();
    h.header->loginBtnClicked();
    QPointer<LoginView> form = h.host.findChild<LoginView *>();
    ASSERT_TRUE(form);
    form->accountInputView()->setStringValue("u1");
    form->passwordInputView()->setStringValue("pw");
    QTest::mouseClick(form->loginBtn(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.header->nameLabel()->text() == "u1"; }));
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(h.loggedInLook());
    EXPECT_EQ(h.header->moneyLabel()->text(), "到期时间:2025-01-01");
    ASSERT_EQ(net.server.requestCount(), 2);
    EXPECT_EQ(net.server.requests().at(1).queryValue("token"), "tok");
    EXPECT_EQ(h.world.neighbours.tips.tips.size(), 1u);
}
