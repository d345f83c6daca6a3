// The login, registration and reset forms over the page world: what they check, send,
// store and post, their slides on virtual time, and replies that come too late.
#include "FakeSecretStore.h"
#include "ForgetPasswordView.h"
#include "LoginView.h"
#include "NetWorld.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXInputView.h"
#include "RegisterView.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXSecureTextField.h"
#include "scenes/QXGetVerifyCodeScene.h"
#include "scenes/QXLoginScene.h"

#include <QPointer>
#include <QTest>

namespace {
const QString kLoginSuccess = QString::fromLatin1(qx::notify::kLoginSuccessNotification);

struct Forms {
    FakeSecretStore secrets;
    PageWorld world{&secrets};
    QWidget host;
    int posts = 0;
    bool loggedInWhenPosted = false;
    Forms()
    {
        host.resize(800, 600);
        world.notifications.addObserver(kLoginSuccess, &host, [this](const QVariant &) {
            ++posts;
            loggedInWhenPosted = world.state().isLogin();
        });
    }
    template <typename F> F *make()
    {
        auto *form = new F(world.context(), &host);
        form->setGeometry(0, 0, 800, 600);
        return form;
    }
    QStringList alerts() const { return world.log.calls.filter("showErrorMsg"); }
    std::size_t sent() const { return world.ports.requests.size(); }
    template <typename S> S *scene(std::size_t i = 0)
    {
        return static_cast<S *>(world.ports.requests.at(i).first.get());
    }
    void reply(std::size_t i, bool ok, const QJsonValue &data = {}, const QString &message = {})
    {
        world.ports.requests.at(i).second(
            ok, data, QXNetError{ok ? QXNetError::Kind::None : QXNetError::Kind::Server, message, 0});
    }
};

void fill(QXInputView *field, const QString &text)
{
    field->setStringValue(text);
}
} // namespace

TEST(Acc2Login, RestoresTheRememberedAccountAndFollowsEitherRememberButton)
{
    // A password typed before the keyring answers is the user's: the late answer keeps it.
    const struct {
        bool remember;
        const char *typed, *password;
    } rows[] = {{false, "", ""}, {true, "", "pw"}, {true, "mine", "mine"}};
    for (const auto &[remember, typed, password] : rows) {
        Forms f;
        f.world.state().setAccount(QStringLiteral("u@x.org"));
        f.secrets.secrets.insert("passwordKey", "pw"); // kept from an earlier run, not read yet
        f.world.state().setRememberPasswordSwitch(remember);
        f.secrets.deferred = true; // the keyring answers after the form is built
        LoginView *form = f.make<LoginView>();
        EXPECT_EQ(f.secrets.waiting(), remember ? 1 : 0);
        if (*typed)
            fill(form->passwordInputView(), typed);
        f.secrets.answer();
        EXPECT_EQ(form->accountInputView()->stringValue(), remember ? "u@x.org" : "");
        EXPECT_EQ(form->passwordInputView()->stringValue(), password) << typed;
        EXPECT_FALSE(form->passwordInputView()->secureTextField()->isHidden()); // masked
        EXPECT_EQ(form->checkBtn()->isChecked(), remember);
        EXPECT_EQ(form->rememberPasswordBtn()->isChecked(), remember);
    }
    Forms f;
    LoginView *form = f.make<LoginView>();
    EXPECT_FALSE(f.world.data.store().contains("rememberPasswordSwitchKey")); // building writes nothing
    QTest::mouseClick(form->rememberPasswordBtn(), Qt::LeftButton);
    EXPECT_TRUE(form->checkBtn()->isChecked());
    EXPECT_TRUE(f.world.data.store().boolValue("rememberPasswordSwitchKey"));
    QTest::mouseClick(form->checkBtn(), Qt::LeftButton);
    EXPECT_FALSE(form->rememberPasswordBtn()->isChecked());
    EXPECT_FALSE(f.world.data.store().boolValue("rememberPasswordSwitchKey"));
}

TEST(Acc2Login, EmptyFieldsAreRefusedWithTheFirstMissingOne)
{
    const struct {
        const char *account, *password, *alert;
    } rows[] = {{"", "", "showErrorMsg(信息不能为空,请填写手机号/邮箱)"},
                {" ", "", "showErrorMsg(信息不能为空,请填写密码)"}}; // spaces count as text
    for (const auto &r : rows) {
        Forms f;
        LoginView *form = f.make<LoginView>();
        fill(form->accountInputView(), r.account);
        fill(form->passwordInputView(), r.password);
        form->loginBtnClicked();
        EXPECT_EQ(f.alerts(), QStringList{r.alert});
        EXPECT_EQ(f.sent(), 0u);
    }
}

TEST(Acc2Login, ASuccessStoresWhatWasSentAndPostsOnceWithTheLoginSet)
{
    Forms f;
    LoginView *form = f.make<LoginView>();
    fill(form->accountInputView(), "a+b@x.com");
    fill(form->passwordInputView(), "p&w=1");
    form->loginBtnClicked();
    ASSERT_EQ(f.sent(), 1u);
    EXPECT_EQ(f.scene<QXLoginScene>()->account, "a+b@x.com");
    EXPECT_EQ(f.scene<QXLoginScene>()->password, "p&w=1");
    fill(form->accountInputView(), "edited meanwhile");
    fill(form->passwordInputView(), "edited");
    f.reply(0, true, NetWorld::json(R"({"token":"t1","account":"a+b@x.com","expiredTime":1735689600000,"id":7})"));

    EXPECT_TRUE(f.world.state().isLogin());
    EXPECT_EQ(f.world.state().loginResult()->token, "t1");
    EXPECT_EQ(f.world.state().loginResult()->idStr, "7");
    EXPECT_EQ(f.world.state().account(), "a+b@x.com");
    EXPECT_EQ(f.secrets.secrets.value("passwordKey"), "p&w=1");
    EXPECT_EQ(f.world.neighbours.tips.tips, (std::vector<std::pair<QString, QString>>{{"登录成功", "success_icon"}}));
    EXPECT_EQ(f.posts, 1);
    EXPECT_TRUE(f.loggedInWhenPosted);
    EXPECT_FALSE(form->isHidden()); // the header removes it
}

TEST(Acc2Login, FailuresAlertTheirTextAndChangeNothing)
{
    for (const QString &message : {QStringLiteral("bad password"), QStringLiteral("请检查网络"), QString()}) {
        Forms f;
        LoginView *form = f.make<LoginView>();
        fill(form->accountInputView(), "a");
        fill(form->passwordInputView(), "b");
        form->loginBtnClicked();
        f.reply(0, false, {}, message);
        EXPECT_EQ(f.alerts(), QStringList{"showErrorMsg(登录失败," + message + ")"});
        EXPECT_FALSE(f.world.state().isLogin());
        EXPECT_FALSE(f.world.data.store().contains("accountKey"));
        EXPECT_EQ(f.posts, 0);
    }
    // Data that is no object: logged in all the same, without a record.
    Forms f;
    LoginView *form = f.make<LoginView>();
    fill(form->accountInputView(), "a");
    fill(form->passwordInputView(), "b");
    form->loginBtnClicked();
    form->loginBtnClicked(); // no guard: two requests, each reply handled once
    f.reply(0, true, QJsonValue("x"));
    f.reply(1, true, QJsonValue("x"));
    EXPECT_TRUE(f.world.state().isLogin());
    EXPECT_FALSE(f.world.state().loginResult().has_value());
    EXPECT_EQ(f.posts, 2);
}

TEST(Acc2Login, FormsSlideInAndOutOnTheClockAndRepliesToAGoneFormAreIgnored)
{
    Forms f;
    LoginView *login = f.make<LoginView>();
    login->registerBtnClicked();
    auto *reg = login->findChild<RegisterView *>();
    ASSERT_TRUE(reg);
    EXPECT_EQ(reg->geometry(), QRect(800, 0, 800, 600));
    f.world.scheduler.advance(350);
    EXPECT_EQ(reg->geometry(), QRect(0, 0, 800, 600));

    fill(reg->accountInputView(), "a@b.com");
    reg->getVerificationCode();
    QPointer<RegisterView> gone(reg);
    reg->backBtnClicked();
    f.world.scheduler.advance(350);
    EXPECT_TRUE(reg->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
    f.reply(0, false, {}, "late");
    EXPECT_TRUE(f.alerts().isEmpty());

    fill(login->accountInputView(), "a");
    fill(login->passwordInputView(), "b");
    login->loginBtnClicked();
    delete login;
    f.reply(1, true, NetWorld::json(R"({"token":"t"})"));
    EXPECT_FALSE(f.world.state().isLogin());
    EXPECT_EQ(f.posts, 0);
}

TEST(Acc2Register, AccountTypesAndTheCodeRequest)
{
    for (const auto &[account, type] : {std::pair{"a@b", "EMAIL"}, {"@", "EMAIL"}, {"138 0000 0000", "PHONE"}})
        EXPECT_EQ(RegisterView::accountType(account), type) << account;

    Forms f;
    auto *reg = f.make<RegisterView>();
    QXButton *send = reg->codeInputView()->rightBtn();
    QTest::mouseClick(send, Qt::LeftButton);
    EXPECT_EQ(f.alerts(), QStringList{"showErrorMsg(信息不能为空,请填写手机号/邮箱)"});
    EXPECT_TRUE(send->isEnabled());
    fill(reg->accountInputView(), "a@b.com");
    QTest::mouseClick(send, Qt::LeftButton);
    EXPECT_FALSE(send->isEnabled());
    ASSERT_EQ(f.sent(), 1u);
    auto *code = f.scene<QXGetVerifyCodeScene>();
    EXPECT_EQ(QStringList({code->account, code->accountType, code->codeType, code->country}),
              QStringList({"a@b.com", "EMAIL", "REGISTER", ""}));
    f.reply(0, true);
    f.world.scheduler.advance(1000);
    EXPECT_EQ(send->title(), "59s后重新获取");

    auto *reset = f.make<ForgetPasswordView>();
    fill(reset->accountInputView(), "138");
    reset->getVerificationCode();
    EXPECT_EQ(f.scene<QXGetVerifyCodeScene>(1)->codeType, "RESET");
    f.reply(1, false, {}, "m");
    EXPECT_TRUE(reset->codeInputView()->rightBtn()->isEnabled());
    EXPECT_EQ(f.alerts().last(), "showErrorMsg(获取验证码失败,m)");
}

TEST(Acc2Register, ChecksRunInOrderAndASuccessLogsInWithoutStoring)
{
    const struct {
        const char *account, *code, *password, *confirm;
        bool accepted;
        const char *alert;
    } rows[] = {
        {"", "", "", "", false, "信息不能为空,请填写手机号/邮箱"},
        {"a", "", "", "", false, "信息不能为空,请填写验证码"},
        {"a", "1", "", "", false, "信息不能为空,请填写密码"},
        {"a", "1", "p", "", false, "信息不能为空,请填写确认密码"},
        {"a", "1", "Abc", "abc", true, "两次输入密码不一致,"},
        {"a", "1", "p", "p", false, "请先阅读并同意<<Quorvex隐私政策>>及<<Quorvex用户服务协议>>,"},
    };
    for (const auto &r : rows) {
        Forms f;
        auto *reg = f.make<RegisterView>();
        fill(reg->accountInputView(), r.account);
        fill(reg->codeInputView(), r.code);
        fill(reg->passwordInputView(), r.password);
        fill(reg->passwordConfirmInputView(), r.confirm);
        reg->checkBtn()->setChecked(r.accepted);
        reg->registerBtnClicked();
        EXPECT_EQ(f.alerts(), QStringList{QStringLiteral("showErrorMsg(%1)").arg(QString::fromUtf8(r.alert))});
        EXPECT_EQ(f.sent(), 0u);
    }
    Forms f;
    f.world.state().setAccount(QStringLiteral("old"));
    auto *reg = f.make<RegisterView>();
    for (QXInputView *field :
         {reg->accountInputView(), reg->codeInputView(), reg->passwordInputView(), reg->passwordConfirmInputView()})
        fill(field, "x");
    QTest::mouseClick(reg->checkBtn(), Qt::LeftButton);
    reg->registerBtnClicked();
    f.reply(0, true, NetWorld::json(R"({"token":"t"})"));
    EXPECT_TRUE(f.world.state().isLogin());
    EXPECT_EQ(f.posts, 1);
    EXPECT_TRUE(f.world.neighbours.tips.tips.empty());
    EXPECT_EQ(f.world.state().account(), "old");
    EXPECT_EQ(f.secrets.writes, 0);
}

TEST(Acc2Reset, NoAcceptanceLineASuccessSlidesOutAndAFailureAlerts)
{
    Forms f;
    auto *reset = f.make<ForgetPasswordView>();
    EXPECT_TRUE(reset->agreementLabel()->isHidden() && reset->privacyBtn()->isHidden());
    EXPECT_EQ(reset->registerBtn()->geometry().top(), 408);
    EXPECT_EQ(reset->registerBtn()->title(), "找回密码");
    for (QXInputView *field : {reset->accountInputView(), reset->codeInputView(), reset->passwordInputView(),
                               reset->passwordConfirmInputView()})
        fill(field, "x");
    reset->registerBtnClicked(); // the box is off, and no acceptance is asked
    reset->registerBtnClicked();
    ASSERT_EQ(f.sent(), 2u);
    f.reply(0, false, {}, "m");
    EXPECT_EQ(f.alerts(), QStringList{"showErrorMsg(修改密码失败,m)"});
    f.reply(1, true);
    EXPECT_EQ(f.world.neighbours.tips.tips.size(), 1u);
    f.world.scheduler.advance(350);
    EXPECT_EQ(reset->geometry(), QRect(1000, 0, 800, 600));
    EXPECT_TRUE(reset->isHidden());
}

TEST(Acc2Register, LayoutAgreementTextAndLinks)
{
    Forms f;
    auto *reg = f.make<RegisterView>();
    QList<int> tops;
    for (QXInputView *field :
         {reg->accountInputView(), reg->codeInputView(), reg->passwordInputView(), reg->passwordConfirmInputView()})
        tops << field->geometry().top();
    EXPECT_EQ(tops, QList<int>({150, 215, 280, 345}));
    EXPECT_EQ(reg->checkBtn()->geometry(), QRect(165, 410, 16, 16));
    EXPECT_EQ(reg->registerBtn()->geometry().top(), 462);
    EXPECT_NEAR(reg->registerBtn()->geometry().center().x(), 325, 1);
    EXPECT_EQ(reg->agreementLabel()->textFormat(), Qt::PlainText);
    EXPECT_TRUE(reg->agreementLabel()->text().contains("<<Quorvex隐私政策>>"));
    // The pairing the site has (the left area opens "yhxy"), kept as it is.
    qputenv("QX_WEB_BASE", "http://site.test/");
    QTest::mouseClick(reg->privacyBtn(), Qt::LeftButton);
    QTest::mouseClick(reg->agreementBtn(), Qt::LeftButton);
    qunsetenv("QX_WEB_BASE");
    ASSERT_EQ(f.world.workspace.opened.size(), 2u);
    EXPECT_EQ(f.world.workspace.opened[0].toString(), "http://site.test/software/kelvany/explain/views/yhxy.html");
    EXPECT_EQ(f.world.workspace.opened[1].toString(), "http://site.test/software/kelvany/explain/views/yszc.html");
}

// Over the real client and a local server: awkward accounts and passwords arrive as typed.
TEST(Acc2Requests, AccountsAndPasswordsArriveIntact)
{
    const QString awkward = "a+b&c=d#e%f g😀" + QString(1024, QChar('k'));
    NetWorld net;
    net.server.setHandler([](const HttpRequestRecord &) {
        return HttpScriptedReply::json(R"({"statusCode":200,"message":"ok","data":{"token":"t"}})");
    });
    Forms f;
    f.world.ports.http = &net.client();
    LoginView *login = f.make<LoginView>();
    fill(login->accountInputView(), awkward);
    fill(login->passwordInputView(), awkward + "p");
    login->loginBtnClicked();
    auto *reset = f.make<ForgetPasswordView>();
    for (QXInputView *field : {reset->accountInputView(), reset->codeInputView(), reset->passwordInputView(),
                               reset->passwordConfirmInputView()})
        fill(field, awkward);
    reset->registerBtnClicked();
    ASSERT_TRUE(net.server.waitForRequests(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.posts == 1; }));
    const HttpRequestRecord &sentLogin = net.server.requests().at(0);
    EXPECT_EQ(sentLogin.path, "/api/login");
    EXPECT_EQ(sentLogin.queryValue("account"), awkward);
    EXPECT_EQ(sentLogin.queryValue("password"), awkward + "p");
    const HttpRequestRecord &sentReset = net.server.requests().at(1);
    EXPECT_EQ(sentReset.path, "/api/resetPwd");
    EXPECT_EQ(sentReset.queryValue("password"), awkward);
    EXPECT_EQ(f.world.state().account(), awkward);
}
