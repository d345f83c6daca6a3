// The AI web window's page choice, fallback, messages and bar over a recording page host.
#include "CapturedMessages.h"
#include "FakeAiWebHost.h"
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXLanguageManager.h"
#include "ScopedUserInfoData.h"
#include "StaleTexts.h"
#include "aiweb/QXAIWebWindowController.h"
#include "controls/QXButton.h"
#include "services/LanguageHooks.h"

#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Ast3Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        hooks = installLanguageHooks({[this] { return language; }, {}, {}});
        state->setProductCode(QStringLiteral("100"));
        state->setSno(QStringLiteral("SN20240001"));
        state->setWebURL(QStringLiteral("https://w.example.com/p"));
        QXAIWebWindowController::Deps deps;
        deps.state = &state.state();
        deps.clipboard = &clipboard;
        deps.shell = &shell;
        deps.makeHost = [this](const platform::AiWebHostOptions &o) {
            options = o;
            auto host = std::make_unique<FakeAiWebHost>();
            page = host.get();
            return host;
        };
        deps.macAddress = [] { return QString(); };
        deps.notifications = &center;
        deps.workspace = &workspace;
        deps.clock = &scheduler.clock();
        controller = std::make_unique<QXAIWebWindowController>(deps);
    }
    void TearDown() override { installLanguageHooks(hooks); }

    ManualScheduler scheduler;
    ScopedUserInfoData state;
    NotificationCenter center;
    FakeClipboard clipboard;
    FakeAppShell shell;
    FakeWorkspace workspace;
    QString language = QStringLiteral("FR_FR");
    LanguageHooks hooks;
    platform::AiWebHostOptions options;
    FakeAiWebHost *page = nullptr;
    std::unique_ptr<QXAIWebWindowController> controller;
};

TEST_F(Ast3Window, LoadsOnceUntilRefreshAndFallsBackToEnglishOnce)
{
    EXPECT_EQ(options.profileName, "ai");
    EXPECT_TRUE(options.userAgent.endsWith("Version/14.1 Safari/605.1.15"));
    EXPECT_EQ(options.messageHandlerNames, QStringList({"fileSelected", "iOS"}));

    controller->initSubViews();
    controller->initSubViews();
    ASSERT_EQ(page->loads.size(), 1u);
    // Scripts for the page wait through the English fallback and go with its failure.
    controller->callJSFuncion("a()");
    page->finish(platform::IAiWebHost::LoadStatus::Stopped);
    EXPECT_EQ(page->loads.size(), 1u);
    page->finish(platform::IAiWebHost::LoadStatus::Failed);
    ASSERT_EQ(page->loads.size(), 2u);
    EXPECT_TRUE(page->loads.back().toString().contains("language=EN_US&fallbackLanguage=EN_US"));
    page->finish(platform::IAiWebHost::LoadStatus::Failed);
    EXPECT_EQ(page->loads.size(), 2u);

    controller->refresh();
    EXPECT_EQ(page->loads.size(), 3u);
    EXPECT_FALSE(controller->aiWebDidFallbackToEnglish());
    controller->callJSFuncion("b()");
    page->finish(platform::IAiWebHost::LoadStatus::Succeeded);
    controller->callJSFuncion("c()");
    EXPECT_EQ(page->scripts, QStringList({"b()", "c()"}));

    state->setProductCode(QStringLiteral("328"));
    controller->refresh();
    EXPECT_EQ(page->loads.size(), 3u);
}

TEST_F(Ast3Window, MessagesActOnTheShellClipboardAndPage)
{
    controller->initSubViews();
    page->finish(platform::IAiWebHost::LoadStatus::Succeeded);
    page->post("iOS", R"({"action":"goBack"})");
    EXPECT_EQ(shell.opened, 1);
    EXPECT_EQ(shell.selected, QList<int>({0}));
    clipboard.setText("mine");
    page->post("iOS", R"("copyToClipboard")");
    EXPECT_EQ(clipboard.text(), "mine");
    page->post("iOS", R"({"action":"copyToClipboard"})"); // no text: emptied all the same
    EXPECT_EQ(clipboard.clears, 1);
    EXPECT_EQ(clipboard.text(), "");
    page->post("iOS", R"({"action":"copyToClipboard","text":"x"})");
    EXPECT_EQ(clipboard.text(), "x");
    page->post("iOS", R"({"action":"checkMicrophonePermission"})");
    EXPECT_EQ(page->scripts, QStringList({"window.onMicrophonePermissionChanged(true);"}));
}

TEST_F(Ast3Window, HiddenBarSendsItsScripts)
{
    controller->initSubViews();
    EXPECT_TRUE(controller->bottomView()->isHidden());
    controller->slider()->setValue(37);
    emit controller->slider()->sliderReleased();
    EXPECT_EQ(controller->contextBtn()->property("imageName"), "2_switch_on_icon");
    controller->contextBtn()->click(); // on after the page choice: now off
    EXPECT_EQ(controller->contextBtn()->property("imageName"), "2_switch_off_icon");
    controller->contextBtn()->click();
    EXPECT_FALSE(controller->contextBtn()->image().isNull());
    QTest::keyClick(controller->questionTextField(), Qt::Key_Return);
    controller->clearBtnClicked();
    controller->questionTextField()->setText("");
    controller->sendBtnClicked();
    controller->requestChatGPTWithHelperID("aiImg", "t");
    EXPECT_TRUE(page->scripts.isEmpty());
    page->finish(platform::IAiWebHost::LoadStatus::Succeeded);
    EXPECT_EQ(page->scripts, QStringList({"fontSizeChange(37)", "switchChange(1)", "switchChange(2)", "clearBox()",
                                          "handlInputValue('',2)", "handlHelperInput('aiImg','t',2)"}));
    EXPECT_EQ(state->keyAction(), 18u);
}

class FinAiWindow : public Ast3Window {};

TEST_F(FinAiWindow, ALanguagePickedAfterTheWindowWasBuiltTitlesItAndReloadsThePage)
{
    controller->initSubViews();
    controller->bottomView()->show(); // hidden in the application, its texts follow all the same
    state.languages().setUiLanguageIndex(7);
    center.post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    EXPECT_EQ(page->loads.size(), 2u);
    const QStringList texts = shownTexts(controller->window());
    EXPECT_TRUE(texts.contains("KI-Assistent")) << texts.join(" | ").toStdString();
    EXPECT_EQ(textsInAnotherLanguage(texts, 7), QStringList());
}

// A page that opens windows by itself, or a helper that says the user asked for each.
using GuardNewWindows = Ast3Window;

TEST_F(GuardNewWindows, OnlyTheUsersReachTheBrowserAtMostOneASecond)
{
    CapturedMessages messages;
    const auto ask = [&](bool gesture, int times) {
        for (int n = 0; n < times; ++n)
            page->callbacks.newWindowRequested(QUrl("https://y.example/"), gesture);
        return workspace.opened.size();
    };
    EXPECT_EQ(ask(false, 200), 0u);
    EXPECT_EQ(ask(true, 200), 1u);
    scheduler.advance(1000);
    EXPECT_EQ(ask(true, 1), 2u);
    EXPECT_EQ(messages.with("new window refused").size(), 2); // one for each run
}

// Scripts for a product without a page are dropped, said once; a page posting in a
// loop acts on every message and is logged once a second for each name.
class GuardAiWindow : public Ast3Window {
protected:
    GuardAiWindow()
    {
        setWriteLogHandler([this](const QString &line) { logged << line; });
    }
    ~GuardAiWindow() override { setWriteLogHandler(nullptr); }
    QStringList logged;
};
using FinAiWindowLog = GuardAiWindow;

TEST_F(FinAiWindowLog, ScriptsForAProductWithoutAnAiPageAreNotKept)
{
    state->setProductCode(QStringLiteral("282"));
    controller->initSubViews();
    for (int i = 0; i < 100; ++i)
        controller->requestChatGPT(QStringLiteral("q"));
    EXPECT_EQ(logged, QStringList({"the product has no AI page: scripts for it are dropped"}));
    state->setProductCode(QStringLiteral("100"));
    controller->initSubViews();
    page->finish(platform::IAiWebHost::LoadStatus::Succeeded);
    EXPECT_EQ(page->scripts, QStringList());
}

TEST_F(GuardAiWindow, ScriptMessagesAreLoggedOnceASecondForEachName)
{
    for (int i = 0; i < 500; ++i) {
        page->post("iOS", R"({"action":"copyToClipboard","text":"x"})");
        page->post("fileSelected", "{}");
    }
    EXPECT_EQ(clipboard.clears, 500);
    EXPECT_EQ(logged.size(), 2);
    scheduler.advance(1000);
    page->post("iOS", "{}");
    ASSERT_EQ(logged.size(), 3);
    EXPECT_TRUE(logged.back().endsWith(":iOS:{} (499 more unlogged)")) << qPrintable(logged.back());
}

} // namespace
