// The AI window holder on the real web engine: made on first show, gone after a close,
// link downloads saved where the user chooses, new windows only to the browser.
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "LocalHttpServer.h"
#include "MouseSettingViewController.h"
#include "PageWorld.h"
#include "RecordingAlertPresenter.h"
#include "ScopedUserInfoData.h"
#include "ScriptedFilePicker.h"
#include "XTestDriver.h"
#include "aiweb/QXAIWindowTool.h"
#include "controls/QXButton.h"
#include "platform/linux/RemoteAiWebHost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// A sanitized companion talking to a sanitized helper answers several times slower.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSlower = 3;
#else
constexpr int kSlower = 1;
#endif

// Records the helper input it is handed.
constexpr char kPage[] = R"html(<!DOCTYPE html><html><head><script>window.calls = [];
function handlHelperInput(id, t, n) { window.calls.push(id + '|' + t); }</script></head>
<body><a id="l" href="/f.docx">report</a> <a id="h" href="/other.html">other</a>
<button id="j" onclick="window.open('javascript:alert(1)')">j</button>
<button id="w" onclick="window.open('https://x.example/openurl?openBrowser_https://y.example/')">w</button>
<input id="f" type="file"></body></html>)html";

class Ast4WebEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                    "--disable-background-networking --disable-component-update --no-first-run");
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
            // Files the engine could show by itself.
            if (r.path == "/pic.png")
                return HttpScriptedReply::withContentType("image/png", QByteArray::fromBase64(kPng));
            if (r.path == "/notes.md")
                return HttpScriptedReply::withContentType("text/markdown", "# notes");
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
        // Pings often, so a helper that stops answering is found within a test's time.
        deps.makeHost = [](const platform::AiWebHostOptions &o) -> std::unique_ptr<platform::IAiWebHost> {
            platform::linuxbackend::RemoteAiWebHost::Launch launch;
            launch.pingIntervalMs = 1000;
            launch.answerTimeoutMs = 5000;
            return std::make_unique<platform::linuxbackend::RemoteAiWebHost>(o, launch);
        };
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
        // Each test starts without a helper of the one before.
        (void)QTest::qWaitFor([] { return platform::linuxbackend::RemoteAiWebHost::liveHelpers() == 0; }, 10000);
    }

    // Shows the window and waits for its page.
    void showPage()
    {
        tool->showInWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return evaluate("!!document.getElementById('l')").toBool(); }, 30000 * kSlower));
    }
    QVariant evaluate(const char *script)
    {
        QVariant result;
        bool done = false;
        tool->webWindow()->aiWebView()->evaluate(QString::fromLatin1(script), [&](const QVariant &v) {
            result = v;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000 * kSlower));
        return result;
    }

    // Clicks an element of the page as the user does: through the X server, where the
    // element is on the screen (a script's click is not the user's).
    void click(const char *id)
    {
        const QVariantList at = evaluate((QByteArray("(function (r) { return [r.left + r.width / 2, r.top + r.height / "
                                                     "2]; })(document.getElementById('")
                                          + id + "').getBoundingClientRect())")
                                             .constData())
                                    .toList();
        ASSERT_EQ(at.size(), 2);
        XTestDriver x;
        x.moveTo(
            tool->webWindow()->aiWebView()->view()->mapToGlobal(QPointF(at[0].toDouble(), at[1].toDouble())).toPoint());
        x.button(1, true);
        x.button(1, false);
    }

    static constexpr char kDocument[] = "PK\x03\x04 a served document";
    static constexpr char kPng[] =
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";
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
    EXPECT_EQ(platform::linuxbackend::RemoteAiWebHost::liveHelpers(), 0);
    showPage();
    EXPECT_EQ(platform::linuxbackend::RemoteAiWebHost::liveHelpers(), 1);
    EXPECT_TRUE(shell.isShowAIWindow());
    tool->webWindow()->window()->close();
    EXPECT_FALSE(shell.isShowAIWindow());
    // The helper quits once told, its profile written out.
    EXPECT_TRUE(QTest::qWaitFor([] { return platform::linuxbackend::RemoteAiWebHost::liveHelpers() == 0; }, 10000));
}

TEST_F(Ast4WebEngine, ClickedLinkIsDownloadedAndSavedWhereTheUserChooses)
{
    showPage();
    click("l");
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
    click("j");
    click("w");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !workspace.opened.empty(); }, 10000));
    // Not the user's.
    evaluate("window.open('https://z.example/'); 1");
    QTest::qWait(300);
    ASSERT_EQ(workspace.opened.size(), 1u);
    EXPECT_EQ(workspace.opened[0], QUrl("https://y.example/"));
}

// Where the AI window meets the rest of a user's day.
using DayWebEngine = Ast4WebEngine;

TEST_F(DayWebEngine, FirstHelperKeyPressAfterTheWindowOpensReachesThePage)
{
    // The window is made by the press itself.
    tool->requestChatGPT(QStringLiteral("aiImg"), QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("window.calls && window.calls.length").toInt() == 1; }, 30000));
    tool->requestChatGPT(QStringLiteral("xml"), QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("window.calls.length").toInt() == 2; }, 10000));
    EXPECT_EQ(evaluate("window.calls.join(',')").toString(), QStringLiteral("aiImg|,xml|"));
}

TEST_F(DayWebEngine, MainFrameFilesTheEngineCouldShowAreSavedAndThePageStays)
{
    showPage();
    struct Row {
        const char *navigate;
        const char *name;
    };
    for (const Row &row :
         {Row{"location.href = '/pic.png'", "pic.png"}, Row{"location.href = '/notes.md'", "notes.md"}}) {
        SCOPED_TRACE(row.name);
        const size_t asked = files.asked.size();
        evaluate(row.navigate);
        ASSERT_TRUE(QTest::qWaitFor([&] { return files.asked.size() > asked; }, 30000));
        EXPECT_EQ(files.asked.back().request.suggestedName, QString::fromLatin1(row.name));
        files.answer(std::nullopt);
        ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("!!document.getElementById('l')").toBool(); }, 10000));
    }
}

// The page's helper process: what a user sees when it or its renderer dies, and what
// of the profile outlives it.
using WebHelper = Ast4WebEngine;

// The parent of `pid` and its command line.
std::pair<qint64, QByteArray> processOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid)), cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
        return {0, {}};
    // "pid (name) state ppid ...": the name may hold spaces and parentheses.
    const QByteArray line = stat.readAll();
    return {line.mid(line.lastIndexOf(')') + 2).split(' ').value(1).toLongLong(), cmdline.readAll()};
}

// The page's renderer below the helper: started by the engine's zygote, it keeps the
// zygote's command line, so it is the zygote's child of that type.
qint64 rendererOf(qint64 helper)
{
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const qint64 pid = entry.toLongLong();
        const auto [parent, args] = processOf(pid);
        if (pid <= 0 || !(args.contains("--type=renderer") || args.contains("--type=zygote")))
            continue;
        bool below = false;
        for (qint64 p = parent; p > 1 && !below; p = processOf(p).first)
            below = p == helper;
        if (below && (args.contains("--type=renderer") || processOf(parent).second.contains("--type=zygote")))
            return pid;
    }
    return 0;
}

bool companionMapsTheEngine()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

// The page is drawn without OpenGL: loading a driver was the larger part of every open.
bool mapsAGraphicsDriver(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return true;
    const QByteArray all = maps.readAll();
    return all.contains("libGLX_mesa") || all.contains("libEGL_mesa") || all.contains("_dri.so");
}

qint64 helperPid(QXAIWindowTool &tool)
{
    return static_cast<platform::linuxbackend::RemoteAiWebHost *>(tool.webWindow()->aiWebView())->helperPid();
}

bool helpersGone()
{
    return QTest::qWaitFor([] { return platform::linuxbackend::RemoteAiWebHost::liveHelpers() == 0; }, 15000);
}

TEST_F(WebHelper, AHelperThatDiesOrHangsTakesTheWindowAwayAndTheNextOpenWorks)
{
    struct Row {
        const char *what;
        int signal;
        bool renderer;
    };
    for (const Row &row : {Row{"helper killed", SIGKILL, false}, Row{"renderer killed", SIGKILL, true},
                           Row{"helper stopped", SIGSTOP, false}}) {
        SCOPED_TRACE(row.what);
        showPage();
        const qint64 helper = helperPid(*tool);
        ASSERT_GT(helper, 0);
        const qint64 victim = row.renderer ? rendererOf(helper) : helper;
        ASSERT_GT(victim, 0);
        const size_t tipsBefore = tips.tips.size();
        ::kill(pid_t(victim), row.signal);
        ASSERT_TRUE(QTest::qWaitFor([&] { return tool->webWindow() == nullptr; }, 20000));
        EXPECT_FALSE(shell.isShowAIWindow());
        ASSERT_EQ(tips.tips.size(), tipsBefore + 1);
        EXPECT_EQ(tips.tips.back(),
                  std::make_pair(QStringLiteral("AI页面意外退出，请重新打开"), QStringLiteral("error_icon")));
        EXPECT_TRUE(helpersGone());
    }
    showPage();
    EXPECT_FALSE(companionMapsTheEngine());
    EXPECT_FALSE(mapsAGraphicsDriver(helperPid(*tool)));
}

TEST_F(WebHelper, ALoginOutlivesTheWindowUntilTheWebsiteDataIsCleared)
{
    const auto reopen = [&] {
        tool->webWindow()->window()->close();
        ASSERT_TRUE(helpersGone());
        showPage();
    };
    showPage();
    evaluate("document.cookie = 'login=yes; max-age=3600'; localStorage.setItem('k', 'v'); 1");
    reopen();
    EXPECT_EQ(evaluate("document.cookie + '|' + localStorage.getItem('k')").toString(), QStringLiteral("login=yes|v"));
    tool->clearAllWebsiteData();
    reopen();
    EXPECT_EQ(evaluate("document.cookie + '|' + localStorage.getItem('k')").toString(), QStringLiteral("|null"));
    EXPECT_FALSE(companionMapsTheEngine());
}

// The device page's refresh while the AI window is closed, as it mostly is: the login the
// engine kept in its profile is gone at the next open, the rest of the data folder stays.
using FinWebProfile = Ast4WebEngine;

TEST_F(FinWebProfile, DevicePageRefreshWithTheWindowClosedForgetsTheLoginAndKeepsTheDataFolder)
{
    PageWorld world; // its data folder holds the engine's profile and the user's files
    world.aiWindow = tool.get();
    MouseSettingViewController page(world.context());
    showPage();
    evaluate("document.cookie = 'login=yes; max-age=3600'; localStorage.setItem('k', 'v'); 1");
    tool->webWindow()->window()->close();
    ASSERT_TRUE(helpersGone());
    const QString kept = DataPaths::dataRoot() + QStringLiteral("/report.docx");
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
    file.close();
    page.view();
    page.refreshBtn()->click();
    EXPECT_TRUE(QFile::exists(kept));
    showPage();
    EXPECT_EQ(evaluate("document.cookie + '|' + localStorage.getItem('k')").toString(), QStringLiteral("|null"));
    tool->webWindow()->window()->close();
    EXPECT_TRUE(helpersGone());
}

// What the page makes of the user's clicks and of its own script.
using FinWebEngine = Ast4WebEngine;

TEST_F(FinWebEngine, OnlyALinkTheUserClicksIsDownloadedTheScriptsNavigationIsShown)
{
    showPage();
    click("h");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !files.asked.empty(); }, 30000));
    EXPECT_EQ(files.asked.back().request.suggestedName, "other.html");
    files.answer(std::nullopt);
    EXPECT_EQ(evaluate("location.pathname").toString(), "/");
    evaluate("document.getElementById('h').click(); 1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("location.pathname").toString() == "/other.html"; }, 30000));
    EXPECT_EQ(files.asked.size(), 1u);
}

// A chooser open when the page's helper or renderer dies.
using GuardWebEngine = Ast4WebEngine;

TEST_F(GuardWebEngine, AChooserOpenWhenTheHelperOrItsRendererDiesGoesWithTheWindow)
{
    for (const bool renderer : {false, true}) {
        SCOPED_TRACE(renderer ? "renderer killed" : "helper killed");
        showPage();
        const qint64 victim = renderer ? rendererOf(helperPid(*tool)) : helperPid(*tool);
        ASSERT_GT(victim, 0);
        // Killed from a timer once the chooser shows: a chooser with a loop of its own
        // would be running it then.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (qobject_cast<QFileDialog *>(QApplication::activeModalWidget()) && poll.isActive()) {
                poll.stop();
                ::kill(pid_t(victim), SIGKILL);
            }
        });
        poll.start(50);
        click("f");
        ASSERT_TRUE(QTest::qWaitFor([&] { return !poll.isActive() && !tool->webWindow(); }, 30000 * kSlower));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(helpersGone());
    }
}

} // namespace
