// Voice keys: the pending press type through the device's voice start and end, the
// pointer's keys with their mode cycling, keyboard toggles, the events of plans 6 and
// 7, the plan-3 key gate, and what repeated or unexpected key events do.
#include "HidKeysFixture.h"

namespace {

TEST_F(HidKeysTest, PendingPressTypeReachesTheDispatcherThroughVoiceStartAndEnd)
{
    // Key setting off with voice from the computer's microphone: the device reports
    // its voice key going down and up with voice start and end.
    state->setIsSupportKeySetting(false);
    ASSERT_TRUE(facade.isFromMicData());
    fakes.keys.setIsTranslate(true);

    framed(0x33); // toggle: nothing runs yet
    EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData", "send:sendOpenMicData"}));
    EXPECT_EQ(hid.pressType(), 37);
    hid.startTimer();
    framed(0x5a);
    EXPECT_FALSE(hid.isTimerRunning());
    EXPECT_EQ(pressTypes(), std::vector<int>{37});

    fakes.keys.setHadStart(true);
    framed(0x33);
    EXPECT_EQ(hid.pressType(), 38);
    framed(0x00);
    EXPECT_TRUE(hid.isTimerRunning());
    EXPECT_EQ(pressTypes(), std::vector<int>{38});
    EXPECT_EQ(completions, (std::vector<std::pair<int, int>>{{0x33, 0}, {0x5a, 0}, {0x33, 0}, {0x00, 0}}));
    EXPECT_TRUE(voiceBlocks.empty()); // the voice stream was never involved
}

TEST_F(HidKeysTest, VoiceStartAndEndRunTheDeviceStreamWhenVoiceComesFromTheDevice)
{
    facade.setIsFromMicData(false); // key setting on: the stored flag
    ASSERT_FALSE(facade.isFromMicData());
    hid.setPressType(33);
    framed(0x5a);
    EXPECT_TRUE(hid.isStartVoice());
    EXPECT_TRUE(hid.voiceStream().encodeData().isEmpty());
    EXPECT_TRUE(pressTypes().empty());

    framed(0x00);
    EXPECT_FALSE(hid.isStartVoice());
    ASSERT_EQ(voiceBlocks.size(), 1u); // the end reaches the speech service with the flag off
    EXPECT_FALSE(voiceBlocks[0].first);
    EXPECT_TRUE(pressTypes().empty());
    EXPECT_EQ(completions, (std::vector<std::pair<int, int>>{{0x5a, 0}, {0x00, 0}}));
}

TEST_F(HidKeysTest, ModeToggleDuringATypingSessionIsRefusedWithoutCompletion)
{
    state->setIsSupportKeySetting(false);
    fakes.keys.setPressType(33);
    framed(0x40);
    // Acknowledged first, then nothing: no tip, the mode stays, and no completion.
    EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData"}));
    EXPECT_FALSE(fakes.keys.isTranslate());
    EXPECT_TRUE(completions.empty());

    fakes.keys.setPressType(35); // a search input may switch modes
    framed(0x43);
    EXPECT_TRUE(fakes.keys.isTranslate());
    EXPECT_EQ(completions.size(), 1u);
}

TEST_F(HidKeysTest, PointerVoiceKeysFollowTheVoiceModeAndTheModeKeyCycles)
{
    // The voice key: typing in mode 1, translation in modes 2 and 3, nothing else.
    struct Row {
        int mode;
        bool running;
        const char *mic;
        int press;
    };
    const Row rows[] = {{1, false, "sendOpenMicData", 33},
                        {1, true, "sendCloseMicData", 34},
                        {2, false, "sendOpenMicData", 37},
                        {3, true, "sendCloseMicData", 38},
                        {0, false, "sendOpenMicData", 0}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.mode);
        fakes.keys.setVioceMode(row.mode);
        fakes.keys.setHadStart(row.running);
        framed(0x9a);
        EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData", QStringLiteral("send:") + QLatin1String(row.mic),
                                        QStringLiteral("hidCallbackType(%1)").arg(row.press)}));
        EXPECT_EQ(hid.pressType(), row.press);
    }

    // The voice-mode key ends any input and moves 1 -> 2 -> 3 -> 1; out-of-range modes restart at 1.
    const std::pair<int, const char *> cycle[] = {{2, "showTipMessage(切换到翻译模式,laserPen_icon-7)"},
                                                  {3, "showTipMessage(切换到投屏模式,laserPen_icon-2)"},
                                                  {1, "showTipMessage(切换到打字模式,laserPen_icon-6)"}};
    fakes.keys.setVioceMode(1);
    for (const auto &[mode, tip] : cycle) {
        framed(0x9b);
        EXPECT_EQ(fakes.keys.vioceMode(), mode);
        EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData", "cancelAsr", QString::fromUtf8(tip)}));
    }
    for (int odd : {0, 5, -3}) {
        fakes.keys.setVioceMode(odd);
        framed(0x9b);
        EXPECT_EQ(fakes.keys.vioceMode(), 1);
    }
    EXPECT_EQ(completions.size(), std::size(rows) + 6);
}

TEST_F(HidKeysTest, PointerSearchKeyHandsOverTheSearchKeyDown)
{
    framed(0x9c);
    framed(0x9d);
    // 35 down and 36 up, matching the pending press type (53 would be a programmable key).
    EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData", "send:sendOpenMicData", "hidCallbackType(35)",
                                    "send:sendGetReceiveData", "send:sendCloseMicData", "hidCallbackType(36)"}));
    EXPECT_EQ(hid.pressType(), 36);
}

TEST_F(HidKeysTest, KeyboardVoiceKeysToggleAndWaitForEachOther)
{
    plan(6);
    state->setIsKeyboard(true);
    state->setKeyAction(5);

    plan6Reply(0x37); // typing key: opens
    EXPECT_EQ(calls(), QStringList({"send:sendOpenMicData", "hidCallbackType(33)"}));
    EXPECT_EQ(fakes.keys.lastPressType(), 33);
    EXPECT_EQ(state->keyAction(), 0u);
    EXPECT_EQ(sink.reports.last(), R(21, bytes({0x0c, 0x4d, 0x04, 0x62, 0x4c})));

    // Another voice key while typing is open: ignored, except that it resets the key action.
    state->setKeyAction(5);
    plan6Reply(0x31);
    EXPECT_EQ(calls(), QStringList());
    EXPECT_EQ(state->keyAction(), 0u);

    // The typing key again, now that the input runs: closes.
    fakes.keys.setHadStart(true);
    plan6Reply(0x37);
    EXPECT_EQ(calls(), QStringList({"send:sendCloseMicData", "hidCallbackType(34)"}));
    EXPECT_EQ(fakes.keys.lastPressType(), 0);

    // Repeated key-down before the dispatcher started: opens again, never two keys at once.
    fakes.keys.setHadStart(false);
    plan6Reply(0x42);
    plan6Reply(0x42);
    EXPECT_EQ(pressTypes(), (std::vector<int>{33, 34, 37, 37}));
    EXPECT_EQ(fakes.keys.lastPressType(), 37);
    calls();

    // Key-up without a key-down: the microphone is closed and the up handed on, state stays clear.
    fakes.keys.setLastPressType(0);
    plan6Reply(0x32);
    EXPECT_EQ(calls(), QStringList({"send:sendCloseMicData", "hidCallbackType(36)"}));
    EXPECT_EQ(fakes.keys.lastPressType(), 0);
    plan6Reply(0x38);
    plan6Reply(0x45);
    EXPECT_EQ(pressTypes(), (std::vector<int>{36, 34, 38}));

    // The AI window keys: key action 18 and the window, then the typing toggle.
    calls();
    plan6Reply(0x52);
    EXPECT_EQ(calls(), QStringList({"showInWindow", "send:sendOpenMicData", "hidCallbackType(33)"}));
    EXPECT_EQ(fakes.keys.lastPressType(), 33);
    EXPECT_EQ(state->keyAction(), 18u);
    plan6Reply(0x50);
    EXPECT_EQ(calls(), QStringList({"showInWindow"}));
    plan6Reply(0x35);
    EXPECT_EQ(state->keyAction(), 0u);
    EXPECT_EQ(calls(), QStringList());
}

TEST_F(HidKeysTest, Plan6And7VoiceEventsSnipTranslationAndModeTips)
{
    for (int p : {6, 7}) {
        SCOPED_TRACE(p);
        plan(p);
        const auto reply = [&](int c) { p == 6 ? plan6Reply(c) : plan7Reply(c); };
        hid.startCheckVoiceTimer();
        reply(0x62);
        EXPECT_TRUE(hid.isStartVoice());
        reply(0x63);
        EXPECT_FALSE(hid.isStartVoice());
        EXPECT_FALSE(hid.isCheckVoiceTimerRunning());
        ASSERT_FALSE(voiceBlocks.empty());
        EXPECT_FALSE(voiceBlocks.back().first);

        state->setIsKeyboard(false);
        reply(0x80); // anyone's screenshot key
        reply(0x83); // a keyboard's only
        state->setIsKeyboard(true);
        reply(0x83);
        reply(0xbc);
        reply(0xbe);
        QStringList log = calls();
        log.removeAll(QStringLiteral("send:sendGetReceiveData"));
        EXPECT_EQ(log, QStringList({"snipTranslate", "snipTranslate", "showTipMessage(AI模式,aimode)",
                                    "showTipMessage(普通键盘模式,kbmode)"}));
    }

    // Plan 6 only: the AI mode switch takes voice back from the device.
    plan(6);
    facade.setIsFromMicData(true);
    plan6Reply(0xe3);
    plan6Reply(0xe4);
    EXPECT_FALSE(facade.isFromMicData());
    EXPECT_EQ(calls(), QStringList({"showTipMessage(AI模式,aimode)", "showTipMessage(普通模式,kbmode)"}));
    plan(7);
    plan7Reply(0xe3);
    QStringList log = calls();
    log.removeAll(QStringLiteral("send:sendGetReceiveData"));
    EXPECT_TRUE(log.isEmpty());

    // The time channel ("1c4d"): no screenshot; 0x84 with status 1 asks for the time.
    plan(6);
    plan6Reply(0x80, 0x1c);
    plan6Reply(0x84, 0x1c, 1);
    plan6Reply(0x84, 0x1c, 0);
    EXPECT_EQ(calls(), QStringList({"send:sendCurrentTimeData"}));
}

TEST_F(HidKeysTest, VoiceReportsOutsideASession)
{
    plan(6);
    fakes.keys.setHadStart(true);
    feed(R(21, bytes({0x1b, 0x01, 0x02})));
    EXPECT_EQ(calls(), QStringList({"send:sendCloseMicData"}));
    EXPECT_FALSE(fakes.keys.hadStart());

    plan(4);
    feed(R(21, bytes({0x1b, 0x01, 0x02})));
    EXPECT_EQ(calls().count(QStringLiteral("send:sendCloseMicData")), 0); // no session: nothing to close
    fakes.keys.setHadStart(true);
    feed(R(21, bytes({0x1b, 0x01, 0x02})));
    EXPECT_EQ(calls().count(QStringLiteral("send:sendCloseMicData")), 1);
}

TEST_F(HidKeysTest, Plan3KeyGateLetsOneKeyEventThroughPerSecond)
{
    plan(3);
    state->mouseInfoItem().setMouseType(56);
    fakes.keys.setIsTranslate(true);
    plan3Key(0x50);
    EXPECT_EQ(sink.reports.last(), R(24, bytes({0x00, 0x02, 0x01})));
    EXPECT_EQ(pressTypes(), std::vector<int>{37});
    EXPECT_TRUE(hid.isPauseHandle());

    // The key byte repeats while held, and a release within the second is swallowed
    // with it (the device repeats its release).
    fakes.keys.setHadStart(true);
    plan3Key(0x50);
    sched.advance(999);
    plan3Key(0x5b);
    EXPECT_TRUE(pressTypes().empty());

    sched.advance(1);
    EXPECT_FALSE(hid.isPauseHandle());
    plan3Key(0x00); // no key: does not close the gate
    EXPECT_FALSE(hid.isPauseHandle());
    plan3Key(0x5b);
    EXPECT_EQ(sink.reports.last(), R(24, bytes({0x00, 0x02, 0x00})));
    EXPECT_EQ(pressTypes(), std::vector<int>{36});
    EXPECT_EQ(hid.pressType(), 36);

    // An unknown key byte closes the gate too and does nothing else.
    sched.advance(1000);
    plan3Key(0x77);
    EXPECT_TRUE(hid.isPauseHandle());
    EXPECT_TRUE(pressTypes().empty());
}

} // namespace
