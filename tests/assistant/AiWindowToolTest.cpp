// The AI window holder on virtual time over a recording page host.
#include "FakeAiWebHost.h"
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "ScopedUserInfoData.h"
#include "aiweb/QXAIWindowTool.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace {

class Ast4Holder : public ::testing::Test {
protected:
    Ast4Holder()
    {
        state->setProductCode(QStringLiteral("100"));
        QXAIWindowTool::Deps deps;
        deps.state = &state.state();
        deps.keys = &keys;
        deps.voice = &voice;
        deps.mouseCommands = [this] { return &mouse; };
        deps.shell = [this] { return &shell; };
        deps.clipboard = &clipboard;
        deps.scheduler = &scheduler;
        deps.notifications = &notifications;
        deps.makeHost = [this](const platform::AiWebHostOptions &) {
            ++hostsMade;
            auto host = std::make_unique<FakeAiWebHost>();
            page = host.get();
            return host;
        };
        tool = std::make_unique<QXAIWindowTool>(deps);
    }
    bool visible() const { return tool->webWindow() && tool->webWindow()->window()->isVisible(); }

    ScopedUserInfoData state;
    ManualScheduler scheduler;
    CallLog log;
    VoiceKeyState keys;
    FakeVoiceKeyDispatcher voice{log};
    RecordingMouseCommands mouse{log};
    FakeAppShell shell;
    FakeClipboard clipboard;
    NotificationCenter notifications; // the holder's own, not the process's
    int hostsMade = 0;
    FakeAiWebHost *page = nullptr;
    std::unique_ptr<QXAIWindowTool> tool;
};

TEST_F(Ast4Holder, WindowIsMadeOnShowAndGoesAfterTheHide)
{
    tool->hiddenWindow();
    tool->initSubViews();
    tool->requestChatGPT(QStringLiteral("lost"));
    EXPECT_EQ(hostsMade, 0);

    tool->showInWindow();
    tool->showInWindow();
    EXPECT_EQ(hostsMade, 1);
    EXPECT_EQ(page->loads.size(), 1u);
    EXPECT_TRUE(visible() && shell.isShowAIWindow());

    // Shown again half a second after a hide: still there when the hide was due.
    tool->hiddenWindow();
    EXPECT_FALSE(shell.isShowAIWindow());
    scheduler.advance(500);
    tool->showInWindow();
    scheduler.advance(1000);
    EXPECT_TRUE(visible() && shell.isShowAIWindow());

    tool->hiddenWindow();
    scheduler.advance(999);
    EXPECT_TRUE(visible());
    scheduler.advance(1);
    EXPECT_EQ(tool->webWindow(), nullptr);
    EXPECT_FALSE(shell.isShowAIWindow());
}

// A new interface language reloads the open page: heard on the centre the holder is
// handed, not the process's.
TEST_F(Ast4Holder, ANewLanguageOnTheHandedCentreReloadsThePage)
{
    tool->showInWindow();
    ASSERT_EQ(page->loads.size(), 1u);
    const QString changed = QString::fromLatin1(qx::notify::kUpdateTitleNotification);
    NotificationCenter::defaultCenter().post(changed);
    EXPECT_EQ(page->loads.size(), 1u);
    notifications.post(changed);
    EXPECT_EQ(page->loads.size(), 2u);
}

TEST_F(Ast4Holder, CloseAndPageChoiceClearTheFlag)
{
    tool->showInWindow();
    tool->initSubViews();
    EXPECT_EQ(tool->webWindow(), nullptr);
    EXPECT_FALSE(shell.isShowAIWindow());
    tool->showInWindow();
    EXPECT_EQ(hostsMade, 2);
    EXPECT_EQ(page->loads.size(), 1u);
    tool->webWindow()->window()->close();
    EXPECT_FALSE(shell.isShowAIWindow());
    scheduler.advance(0);
    EXPECT_EQ(tool->webWindow(), nullptr);
}

TEST_F(Ast4Holder, TextGoesToTheHelperOnceThenAsAQuestion)
{
    tool->requestChatGPT(QStringLiteral("aiImg"), QString());
    EXPECT_EQ(state->keyAction(), 18u);
    EXPECT_TRUE(shell.isShowAIWindow());
    tool->requestChatGPT(QStringLiteral("draw a cat"));
    tool->requestChatGPT(QStringLiteral("and a dog"));
    tool->requestChatGPT(QStringLiteral("xml"), QString());
    tool->requestChatGPT(QString());
    page->finish(platform::IAiWebHost::LoadStatus::Succeeded);
    EXPECT_EQ(page->scripts,
              QStringList({"handlHelperInput('aiImg','',2)", "handlHelperInput('aiImg','draw a cat',2)",
                           "handlInputValue('and a dog',2)", "handlHelperInput('xml','',2)", "handlInputValue('',2)"}));
    EXPECT_TRUE(tool->helperid().isEmpty());
}

TEST_F(Ast4Holder, VoiceKeyTogglesOnlyItsOwnInput)
{
    const struct {
        int lastPressType;
        bool hadStart, isOpenMic;
        QStringList calls;
        int lastPressTypeAfter;
    } rows[] = {
        {0, false, true, {"sendOpenMicData", "hidCallbackType(33)"}, 33},
        {33, true, true, {"sendCloseMicData", "hidCallbackType(34)"}, 0},
        {33, true, false, {"sendCloseMicData", "hidCallbackType(34)"}, 0},
        {0, false, false, {}, 0}, // a release with nothing running
        {35, false, true, {}, 35},
        {37, true, true, {}, 37},
    };
    for (const auto &r : rows) {
        log.clear();
        keys.setLastPressType(r.lastPressType);
        keys.setHadStart(r.hadStart);
        tool->requestChatGPT(QStringLiteral("writingAssistant"), QString(), r.isOpenMic);
        EXPECT_EQ(log.calls, r.calls) << r.lastPressType << r.hadStart << r.isOpenMic;
        EXPECT_EQ(keys.lastPressType(), r.lastPressTypeAfter);
        EXPECT_TRUE(shell.isShowAIWindow());
        EXPECT_EQ(tool->helperid(), "writingAssistant");
    }
}

} // namespace
