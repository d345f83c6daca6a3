// The AI window holder on the real web engine: made on first show, gone after a close,
// link downloads saved where the user chooses, new windows only to the browser.
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "LocalHttpServer.h"
#include "PageWorld.h"
#include "RecordingAlertPresenter.h"
#include "ScopedUserInfoData.h"
#include "ScriptedFilePicker.h"
#include "aiweb/QXAIWindowTool.h"
#include "platform/linux/WebEngineBackend.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

constexpr char kPage[] = R"(<!DOCTYPE html><html><body><a id="l" href="/f.docx">report</a></body></html>)";

class Ast4WebEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                    "--disable-gpu --disable-background-networking --disable-component-update --no-first-run");
    }

    Ast4WebEngine()
    {
        server.setHandler([](const HttpRequestRecord &r) {
            if (r.path == "/f.docx") {
                HttpScriptedReply reply = HttpScriptedReply::withContentType("application/vnd.ms-word", kDocument);
                reply.headers.append(
                    qMakePair(QByteArray("Content-Disposition"), QByteArray("attachment; filename=\"r.docx\"")));
                return reply;
            }
            return HttpScriptedReply::withContentType("text/html", kPage);
        });
        state->setProductCode(QStringLiteral("100"));
        state->setWebURL(server.baseUrl() + QStringLiteral("/"));
        QXAIWindowTool::Deps deps;
        deps.state = &state.state();
        deps.keys = &keys;
        deps.voice = &voice;
        deps.shell = [this] { return &shell; };
        deps.clipboard = &clipboard;
        deps.scheduler = &scheduler;
        deps.makeHost = &platform::linuxbackend::createAiWebHost;
        deps.tips = &tips;
        deps.files = &files;
        deps.alerts = &alerts;
        deps.workspace = &workspace;
        deps.downloadTempDir = downloads.path();
        tool = std::make_unique<QXAIWindowTool>(deps);
    }
    ~Ast4WebEngine() override
    {
        tool.reset();
        // The engine writes the profile's last state after the profile has gone.
        QTest::qWait(300);
    }

    // Shows the window and waits for its page.
    void showPage()
    {
        tool->showInWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("!!document.getElementById('l')").toBool(); }, 30000));
    }
    QVariant evaluate(const char *script)
    {
        QVariant result;
        bool done = false;
        tool->webWindow()->aiWebView()->evaluate(QString::fromLatin1(script), [&](const QVariant &v) {
            result = v;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        return result;
    }

    static constexpr char kDocument[] = "PK\x03\x04 a served document";
    ScopedUserInfoData state;
    LocalHttpServer server;
    CallLog log;
    VoiceKeyState keys;
    FakeVoiceKeyDispatcher voice{log};
    FakeAppShell shell;
    FakeClipboard clipboard;
    QtScheduler scheduler; // the real engine runs on real time
    FakePopupTips tips{log};
    ScriptedFilePicker files;
    RecordingAlertPresenter alerts;
    FakeWorkspace workspace;
    QTemporaryDir downloads;
    QTemporaryDir saved;
    std::unique_ptr<QXAIWindowTool> tool;
};

TEST_F(Ast4WebEngine, EngineLivesFromTheFirstShowUntilTheClose)
{
    tool->hiddenWindow();
    tool->initSubViews();
    EXPECT_EQ(platform::linuxbackend::liveAiWebHosts(), 0);
    showPage();
    EXPECT_EQ(platform::linuxbackend::liveAiWebHosts(), 1);
    EXPECT_TRUE(shell.isShowAIWindow());
    tool->webWindow()->window()->close();
    EXPECT_FALSE(shell.isShowAIWindow());
    EXPECT_TRUE(QTest::qWaitFor([] { return platform::linuxbackend::liveAiWebHosts() == 0; }, 2000));
}

TEST_F(Ast4WebEngine, ClickedLinkIsDownloadedAndSavedWhereTheUserChooses)
{
    showPage();
    evaluate("document.getElementById('l').click()");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !files.asked.empty(); }, 30000));
    EXPECT_EQ(files.asked.back().request.suggestedName, "r.docx");
    EXPECT_EQ(tips.tips.back().first, QStringLiteral("已下载100%"));
    const QString target = saved.path() + "/mine.docx";
    files.answer(target);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(kDocument));
    EXPECT_TRUE(QDir(downloads.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(tips.tips.back(), std::make_pair(QStringLiteral("导出完成"), QStringLiteral("success_icon")));
}

TEST_F(Ast4WebEngine, NewWindowsOpenOnlyWebAddressesInTheBrowser)
{
    showPage();
    evaluate(
        "window.open('javascript:alert(1)'); window.open('https://x.example/openurl?openBrowser_https://y.example/')");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !workspace.opened.empty(); }, 10000));
    QTest::qWait(300);
    ASSERT_EQ(workspace.opened.size(), 1u);
    EXPECT_EQ(workspace.opened[0], QUrl("https://y.example/"));
}

} // namespace
