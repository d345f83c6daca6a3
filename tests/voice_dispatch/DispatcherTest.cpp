// The voice-key dispatcher on virtual time: how each code is routed, the start guard,
// the end of a recognition by release, by the server and by the time-out, and where
// each key's text goes.
#include "DispatchWorld.h"

#include "SimBleMouse.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <thread>

#include <gtest/gtest.h>

namespace {

const QString kSpeak = QStringLiteral("请说话...");

TEST(Vox2Codes, EachCodeGoesWhereItBelongsAndOthersDoNothing)
{
    struct Row {
        int code;
        bool compatible;
        QStringList effects;
    };
    const Row rows[] = {
        {53, false, {"handlePressKeyEvent(3,3)"}},
        {187, false, {"handlePressKeyEvent(4,10)"}},
        {224, false, {"handlePressKeyEvent(1,11)"}},
        {51, false, {"handlePressKeyEvent(1,3)"}},
        {70, false, {"handlePressKeyEvent(4,7)"}},
        {176, false, {"handlePressKeyEvent(1,8)"}},
        {183, false, {"handlePressKeyEvent(4,9)"}},
        {50, false, {"key(76,100)"}},
        {50, true, {"dev:sendKeyCommandDataKeyCode1(0,40)"}},
        {31, false, {"tip(切换到翻译模式|laserPen_icon-7)"}},
    };
    for (const Row &r : rows) {
        DispatchWorld w;
        w.state->setCompatibleModeSwitch(r.compatible);
        w.voice.hidCallbackType(r.code);
        EXPECT_EQ(w.effects(), r.effects) << r.code;
    }
    DispatchWorld w;
    for (int code : {0, -1, 1000, 32, 39, 49, 71, 175, 188, 223, 228})
        w.voice.hidCallbackType(code);
    EXPECT_EQ(w.effects(), QStringList());
    EXPECT_EQ(w.voice.currentHidButton(), 0);
    EXPECT_EQ(w.pressTypes(), "0/0");

    // Product 260 with its function switch off, and no device at all, drop everything.
    w.state->setProductCode(QStringLiteral("260"));
    w.state->setFuncSwitch(false);
    w.voice.hidCallbackType(33);
    w.state->setProductCode(QStringLiteral("41"));
    w.state->setMouseIsConnect(false);
    w.voice.hidCallbackType(50);
    EXPECT_EQ(w.effects(), QStringList());
}

// Each start attempt restarts the guard; a refused press leaves the recognition before
// it waiting, and that one's last result is still pasted.
TEST(Vox2Dispatch, RefusedStartsKeepThePendingRecognition)
{
    DispatchWorld w;
    w.key(0, 33);
    w.asr.say("第一句");
    w.key(500, 34);
    EXPECT_EQ(w.effects(), QStringList({"asr.begin", "show(" + kSpeak + "|33)", "ASRStart", "show(第一句|33)",
                                        "asr.end", "ASRFinish"}));
    w.key(1000, 33);
    w.key(1100, 34);
    EXPECT_EQ(w.effects(), QStringList({"show(点击太快了|33)"}));
    w.at(1200);
    w.asr.say("第一句。", 2);
    EXPECT_EQ(w.effects(), QStringList({"dismiss", "key(9,100000)", "clipboard:第一句。"}));
    EXPECT_EQ(w.pressTypes(), "0/0");
    w.at(1300);
    EXPECT_EQ(w.effects(), QStringList({"dismiss"}));
    w.key(2000, 33);
    w.key(3400, 33);
    // (the clipboard got its empty contents back 1 s after the paste)
    EXPECT_EQ(w.effects(), QStringList({"show(点击太快了|33)", "dismiss", "show(点击太快了|33)", "clipboard:"}));
    w.key(3500, 34);
    w.key(4900, 33);
    EXPECT_EQ(w.effects(), QStringList({"dismiss", "dismiss", "asr.begin", "show(" + kSpeak + "|33)", "ASRStart"}));

    // Refused while the previous one waits: the pop-up returns to it after the message.
    w.key(5000, 34);
    w.key(5200, 33);
    w.effects();
    w.at(5500);
    EXPECT_EQ(w.effects(), QStringList({"show(" + kSpeak + "|34)"}));
}

// A refused press cancels the previous recognition's end time-out: its last result,
// later than 3 s after its release, is still the one pasted; without one, the text so
// far goes 3 s after the refused press.
TEST(Vox2Dispatch, ARefusedPressRestartsThePendingEndTimeOut)
{
    for (const bool lastComes : {true, false}) {
        DispatchWorld w;
        w.key(0, 33);
        w.asr.say("第一句");
        w.key(500, 34);
        w.key(1000, 33);
        w.key(1100, 34);
        w.at(3600);
        if (lastComes)
            w.asr.say("第一句。", 2);
        w.at(4100);
        const QStringList out = w.effects();
        EXPECT_TRUE(out.contains(lastComes ? "clipboard:第一句。" : "clipboard:第一句"))
            << out.join(" | ").toStdString();
        EXPECT_EQ(out.filter("clipboard:第").size(), 1) << out.join(" | ").toStdString();
        EXPECT_EQ(w.pressTypes(), "0/0");
    }
}

// The start guard counts the time that passed: a wall clock set forward lets no press
// through too soon, one set back locks none out.
TEST(Vox2Dispatch, TheStartGuardIgnoresWallClockChanges)
{
    for (const qint64 shift : {3600000, -3600000}) {
        DispatchWorld w;
        w.key(0, 33);
        w.key(500, 34);
        w.sched.shiftWallClock(shift);
        w.effects();
        w.key(shift > 0 ? 1000 : 1600, 33); // inside the guard, then past it
        EXPECT_EQ(w.effects().contains("show(点击太快了|33)"), shift > 0) << shift;
    }
}

// No last result within 3 s of the release: the text so far goes where the key sends
// it; a later empty result only closes the pop-up.
TEST(Vox2Dispatch, EndTimeOutDeliversTheTextSoFar)
{
    struct Row {
        int down;
        QString text;
        QString delivered;
    };
    const Row rows[] = {{33, "今天", "clipboard:今天"},
                        {35, "打开音乐", "run(打开音乐)"},
                        {37, "早上好", "translate(早上好)"},
                        {33, "", ""}};
    for (const Row &r : rows) {
        DispatchWorld w;
        w.key(0, r.down);
        if (!r.text.isEmpty())
            w.asr.say(r.text);
        w.key(2000, r.down + 1);
        w.at(4999);
        w.effects();
        w.at(5000);
        const QStringList out = w.effects();
        if (r.delivered.isEmpty())
            EXPECT_EQ(out, QStringList({"dismiss"}));
        else
            EXPECT_TRUE(out.first() == "dismiss" && out.contains(r.delivered)) << out.join(" | ").toStdString();
        EXPECT_TRUE(w.voice.isManualEnd());
        EXPECT_EQ(w.pressTypes(), "0/0");
        w.asr.say("", 2);
        EXPECT_EQ(w.effects(), QStringList({"dismiss"}));
        EXPECT_FALSE(w.voice.isManualEnd());
    }
}

// Five silent seconds into a recognition ask the user to speak again, unless something
// was heard, the socket is not open or the pointer's microphone mode takes the key.
TEST(Vox2Dispatch, NoSpeechTipOnlyWhenNothingWasHeard)
{
    const QString tip = "show(" + QStringLiteral("没有听到您说话，请按语音键重说") + "|0)";
    struct Row {
        const char *what;
        bool heard, socketOpen, pointerMic;
        bool tip;
    } rows[] = {{"silence", false, true, false, true},
                {"a result at 3 s", true, true, false, false},
                {"socket not open", false, false, false, false},
                {"pointer microphone mode", false, true, true, false}};
    for (const Row &r : rows) {
        DispatchWorld w;
        w.asr.open = r.socketOpen;
        w.state->setIsLaser(r.pointerMic);
        w.state->setIsVoice(r.pointerMic);
        w.state->setLaserPenVoiceFunctionIndex(0);
        w.key(0, 33);
        if (r.heard)
            w.at(3000), w.asr.say("你");
        w.at(4999);
        EXPECT_FALSE(w.effects().contains(tip)) << r.what;
        w.at(5000);
        EXPECT_EQ(w.effects(), r.tip ? QStringList{tip} : QStringList()) << r.what;
    }
}

// A second release only closes the pop-up; the recognition was ended once.
TEST(Vox2Dispatch, DuplicateReleaseOnlyDismissesAndANewStartDeliversTheWaitingText)
{
    DispatchWorld w;
    w.key(0, 33);
    w.asr.say("第一句");
    w.key(500, 34);
    EXPECT_EQ(w.effects().count("asr.end"), 1);
    w.key(600, 34);
    EXPECT_EQ(w.effects(), QStringList{"dismiss"});

    // A new start while that one still waits for its last result: its text is pasted
    // first, then the new recognition begins.
    w.key(2000, 33);
    EXPECT_EQ(w.effects(), QStringList({"dismiss", "asr.begin", "show(" + kSpeak + "|33)", "ASRStart", "key(9,100000)",
                                        "clipboard:第一句"}));
}

// The AI window's key on the assistant products takes its last result even when the
// pop-up never showed; other products drop it.
TEST(Vox2Dispatch, AssistantKeyTakesTheLastResultWithoutThePopup)
{
    const std::pair<const char *, QStringList> rows[] = {
        {"41", {"dismiss", "requestChatGPT(你好。)", "clipboard:你好。"}},
        {"42", {"dismiss"}},
    };
    for (const auto &[product, effects] : rows) {
        DispatchWorld w;
        w.state->setProductCode(QString::fromLatin1(product));
        w.state->setKeyAction(18);
        w.aiShowing = true;
        w.key(0, 33);
        w.key(2000, 34);
        w.popup.shown = false;
        w.effects();
        w.asr.say("你好。", 2);
        EXPECT_EQ(w.effects(), effects) << product;
        EXPECT_EQ(w.pressTypes(), "0/0") << product;
    }
}

TEST(Vox2Dispatch, LastResultWhileHeldStopsTheRecordingAndIsDeliveredOnce)
{
    DispatchWorld w;
    w.key(0, 33);
    w.effects();
    w.at(1000);
    w.asr.say("hi", 2);
    EXPECT_EQ(w.effects(), QStringList({"asr.end", "ASRFinish", "dismiss", "key(9,100000)", "clipboard:hi"}));
    EXPECT_EQ(w.pressTypes(), "0/0");
    w.key(1500, 34);
    w.at(6000);
    EXPECT_EQ(w.effects(), QStringList({"dismiss", "clipboard:"}));

    // An empty last result after the release ends the recognition as well.
    w.key(7000, 35);
    w.key(9000, 36);
    w.asr.say("", 2);
    EXPECT_EQ(w.pressTypes(), "0/0");
    EXPECT_FALSE(w.keys.hadStart());
}

TEST(Vox2Dispatch, SearchRunsTheCommandOrSearchesForOneQueryValue)
{
    DispatchWorld w;
    w.runner.commands = QStringList{"播放音乐"};
    const auto search = [&w](const QString &text) {
        w.key(w.sched.monotonicMs() + 2000, 35);
        w.key(w.sched.monotonicMs() + 2000, 36);
        w.effects();
        w.asr.say(text, 2);
        return w.effects();
    };
    EXPECT_EQ(search("播放音乐。"), QStringList({"dismiss", "run(播放音乐)", "dismiss"}));
    EXPECT_EQ(w.voice.searchString(), "播放音乐");
    w.runner.word = "a&b+c #1";
    EXPECT_EQ(search("搜索 a&b!"),
              QStringList({"dismiss", "run(搜索 a&b)", "open(https://www.baidu.com/s?ie=utf-8&wd=a%26b%2Bc%20%231|)"}));
    EXPECT_EQ(search("。!"), QStringList({"dismiss"}));
    EXPECT_EQ(search("#?…"), QStringList({"dismiss"}));

    // A search press shorter than 1.5 s is abandoned.
    w.key(20000, 35);
    w.key(21400, 36);
    EXPECT_EQ(w.effects(),
              QStringList({"asr.begin", "show(" + kSpeak + "|35)", "ASRStart", "asr.cancel", "ASRFinish", "dismiss"}));
    // Results after a cancel, or reported as failed, only close the pop-up.
    w.asr.say("late", 2);
    w.asr.block(false, "failed", true);
    EXPECT_EQ(w.effects(), QStringList({"dismiss", "dismiss"}));

    const std::pair<quint64, const char *> engines[] = {{0, "https://www.baidu.com/s?ie=utf-8&wd=x"},
                                                        {1, "https://www.google.com/search?ei=qx&q=x"},
                                                        {2, "https://search.yahoo.co.jp/search;_ylt=qx?ei=UTF-8&p=x"},
                                                        {5, "https://www.baidu.com/s?ie=utf-8&wd=x"}};
    for (const auto &[tag, address] : engines)
        EXPECT_EQ(webSearchAddress(tag, "x"), address);
}

// A Bluetooth LE mouse's voice stream is closed too, not only a receiver's.
TEST(Vox2Dispatch, RefusalAndLastResultCloseTheStreamOfTheConnectedTransport)
{
    DispatchWorld w;
    w.adapter.addPeripheral(sim::SimBleMouse::peripheral());
    w.central.startScan();
    w.sched.runDue();
    ASSERT_TRUE(w.adapter.advertise(sim::SimBleMouse::kId));
    w.sched.runDue();
    w.state->setBleConnect(true);
    const auto closes = [&w] {
        int n = 0;
        for (const auto &write : std::exchange(w.adapter.writes, {}))
            n += sim::FrameDecoder::decodeBle(write.data).value_or(sim::DecodedFrame{}).command == "sendCloseMicData";
        return n;
    };
    w.key(0, 33);
    w.bleMgr.setIsStartVoice(true);
    w.asr.say("a", 2);
    EXPECT_EQ(closes(), 1);
    w.key(500, 33);
    EXPECT_EQ(closes(), 1);
}

TEST(Vox2Dispatch, KeyEventsFromOtherThreadsWaitForTheMainLoop)
{
    DispatchWorld w;
    std::thread([&w] { w.voice.hidCallbackType(33); }).join();
    EXPECT_EQ(w.keys.pressType(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.keys.pressType(), 33);
    EXPECT_TRUE(w.keys.hadStart());
}

} // namespace
