// The AI web window on the real web engine, against pages served locally.
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "LocalHttpServer.h"
#include "ScopedUserInfoData.h"
#include "aiweb/QXAIWebWindowController.h"
#include "platform/linux/RemoteAiWebHost.h"
#include "services/LanguageHooks.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

// Records every call of the page functions the application uses; its first inline
// script posts a message before the page's channel can be up.
constexpr char kPage[] = R"(<!DOCTYPE html><html><head><meta charset="utf-8"><script>
window.calls = [];
function handlInputValue(t, n) { window.calls.push(['handlInputValue', t, n]); }
function handlHelperInput(id, t, n) { window.calls.push(['handlHelperInput', id, t, n]); }
window.webkit.messageHandlers.iOS.postMessage({action: 'copyToClipboard', text: 'y'});
</script></head><body>page</body></html>)";

class Ast3WebEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                    "--disable-background-networking --disable-component-update --no-first-run");
    }

    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        state->setProductCode(QStringLiteral("100"));
        state->setSno(QStringLiteral("SN20240001"));
        hooks = installLanguageHooks({[this] { return language; }, {}, {}});
    }
    void TearDown() override
    {
        controller.reset();
        (void)QTest::qWaitFor([] { return platform::linuxbackend::RemoteAiWebHost::liveHelpers() == 0; }, 10000);
        installLanguageHooks(hooks);
    }

    void makeController()
    {
        QXAIWebWindowController::Deps deps;
        deps.state = &state.state();
        deps.clipboard = &clipboard;
        deps.shell = &shell;
        deps.makeHost = &platform::linuxbackend::createRemoteAiWebHost;
        deps.hosts.makerChatPage = server.baseUrl() + QStringLiteral("/page");
        deps.macAddress = [] { return QStringLiteral("AA:BB:CC:DD:EE:FF"); };
        controller = std::make_unique<QXAIWebWindowController>(deps);
        ASSERT_NE(controller->aiWebView(), nullptr);
    }

    QVariant evaluate(const QString &script)
    {
        QVariant result;
        bool done = false;
        controller->aiWebView()->evaluate(script, [&](const QVariant &v) {
            result = v;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        return result;
    }

    int requestsWith(const QByteArray &path, const QString &language) const
    {
        int n = 0;
        for (const HttpRequestRecord &r : server.requests())
            n += r.path == path && r.queryValue(QStringLiteral("language")) == language ? 1 : 0;
        return n;
    }

    ScopedUserInfoData state;
    FakeClipboard clipboard;
    FakeAppShell shell;
    LocalHttpServer server;
    QString language = QStringLiteral("FR_FR");
    LanguageHooks hooks;
    std::unique_ptr<QXAIWebWindowController> controller;
};

TEST_F(Ast3WebEngine, PageGetsExactTextsAndItsEarliestMessageArrives)
{
    server.setHandler([](const HttpRequestRecord &) {
        return HttpScriptedReply::withContentType("text/html; charset=utf-8", kPage);
    });
    state->setChatGPTURL(server.baseUrl() + QStringLiteral("/chat"));
    makeController();
    EXPECT_FALSE(controller->aiWebView()->isOffTheRecord());
    controller->initSubViews();
    ASSERT_TRUE(QTest::qWaitFor([&] { return clipboard.text() == QLatin1String("y"); }, 30000));

    const QString text = QStringLiteral("it's \"ok\"\n\\x\r") + QChar(0x2028) + QStringLiteral("😀</script>\x01")
                         + QString(100 * 1024, QLatin1Char('a'));
    controller->requestChatGPT(text);
    controller->requestChatGPTWithHelperID(QStringLiteral("aiImg"), QStringLiteral("a'b"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate(QStringLiteral("window.calls.length")).toInt() == 2; }, 10000));
    EXPECT_EQ(evaluate(QStringLiteral("window.calls[0][1]")).toString(), text);
    EXPECT_EQ(evaluate(QStringLiteral("window.calls[0][2]")).toInt(), 2);
    EXPECT_EQ(evaluate(QStringLiteral("window.calls[1].slice(1).join('|')")).toString(), QStringLiteral("aiImg|a'b|2"));
}

TEST_F(Ast3WebEngine, FailedPageReloadsOnceInEnglish)
{
    server.setHandler([](const HttpRequestRecord &) { return HttpScriptedReply::html(404, "<p>gone</p>"); });
    state->setWebURL(server.baseUrl() + QStringLiteral("/p"));
    makeController();
    controller->initSubViews();
    ASSERT_TRUE(QTest::qWaitFor([&] { return requestsWith("/p", QStringLiteral("EN_US")) == 1; }, 30000));
    QTest::qWait(1500);
    EXPECT_EQ(requestsWith("/p", QStringLiteral("FR_FR")), 1);
    EXPECT_EQ(requestsWith("/p", QStringLiteral("EN_US")), 1);
    EXPECT_TRUE(controller->aiWebDidFallbackToEnglish());
}

// The helper carries the application's own page, shown where no address is known.
using FinWebEnginePage = Ast3WebEngine;

TEST_F(FinWebEnginePage, TheHelperShowsTheApplicationsOwnPage)
{
    makeController();
    controller->initSubViews();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return evaluate(QStringLiteral("document.title + '|' + !!document.querySelector('h1')")) == "AI|true"; },
        30000));
}

} // namespace
