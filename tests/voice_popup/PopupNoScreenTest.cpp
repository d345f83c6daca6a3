// The pop-up and a tip while the platform offers no screen: they take frames near the
// origin, the pop-up still counts as shown for the texts, and no window is made (Qt
// cannot make one without a screen).
#include "PopupWorld.h"
#include "popup/QXShowTipWindow.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

TEST(Vox3PopupNoScreen, SpeechAndTipsShowWithoutAScreen)
{
    ASSERT_EQ(QGuiApplication::primaryScreen(), nullptr);
    for (const bool translucent : {true, false}) {
        ManualScheduler clock;
        ScopedUserInfoData state;
        CallLog log;
        VoiceKeyState keys;
        FakeVoiceKeyDispatcher voice{log};
        QXPopupWindowTool tool{{&state.state(), &keys, &voice, [] { return nullptr; }, translucent}};
        tool.showSpeechView(QStringLiteral("请说话..."), 33);
        EXPECT_TRUE(tool.isShow());
        EXPECT_FALSE(tool.popupWindow().isVisible());
        EXPECT_EQ(tool.popupWindow().geometry().topLeft(), QPoint(-340, -240)) << translucent;
        tool.showTipMessage(QStringLiteral("点击太快了"), QString());
        EXPECT_FALSE(tool.tipWindow().isVisible());
        tool.dismissSpeechView();
        clock.advance(5000);
    }
}

} // namespace
