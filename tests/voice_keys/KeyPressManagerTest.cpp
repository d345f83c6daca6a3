#include "KeyWorld.h"
#include "ManualScheduler.h"

#include <gtest/gtest.h>

using platform::MouseEventType;

namespace {

class KeyPress : public ::testing::Test {
protected:
    ManualScheduler sched;
    KeyWorld w;

    QStringList press(int kind, int keyType = 3, qint64 thenAdvance = 0)
    {
        w.keys->handlePressKeyEvent(kind, keyType);
        sched.advance(thenAdvance);
        return w.effects();
    }
    void centre(MouseEventType type, qint64 thenAdvance)
    {
        w.fakeMonitor.emitEvent({type, {}, 2});
        sched.advance(thenAdvance);
    }
};

// Every operation as a single press of the voice key, locally and typed by the device
// (compatible mode); "=" is the same as locally.
TEST_F(KeyPress, EveryOperationLocallyAndThroughTheDevice)
{
    struct Row {
        int op;
        const char *cmd, *attr0;
        QStringList local, compatible;
    };
    const QStringList same{"="}, none;
    const QStringList typing{"hidCallbackType(33)", "dev:sendOpenMicData()"};
    const QStringList paste{"key(9,100000)"}, devicePaste{"dev:sendKeyCommandDataKeyCode1(1,25)"};
    const Row rows[] = {
        {0, "", nullptr, none, same}, // the centre button's voice only
        {1, "Action_IT", nullptr, none, same},
        {2, "Action_VI", nullptr, typing, same},
        {3, "Action_VS", nullptr, {"hidCallbackType(35)", "dev:sendOpenMicData()"}, same},
        {4, "Action_VT", nullptr, {"hidCallbackType(37)", "dev:sendOpenMicData()"}, same},
        {5, "Action_SK", R"({"keyCode": 0, "modifierFlagsString": "⌃"})", {"key(0,40000)"}, same},
        {6, "Action_OW", "example.com/a", {"open:http://example.com/a"}, same},
        {7, "Action_OF", "/tmp", {"open:file:///tmp"}, same},
        {8, "Action_OFJ", "/tmp", {"open:file:///tmp"}, same},
        {9, "Action_ST", nullptr, {"snipTranslate"}, same},
        {10, "Action_FT", "hi", paste + QStringList{"clipboard:hi"}, devicePaste + QStringList{"clipboard:hi"}},
        {11, "GO_HOME", nullptr, {"dev:sendKeyCommandDataKeyCode1(0,68)"}, same},
        {12, "DEL_OPT", nullptr, {"key(51,100)"}, {"dev:sendKeyCommandDataKeyCode1(0,42)"}},
        {13, "Action_ENTER", nullptr, {"hidCallbackType(50)"}, same},
        {14, "Action_VI_VT", nullptr, typing, same},
        {15, "Action_VI_VT_CHANGE", nullptr, {"showTipMessage(切换到翻译模式,laserPen_icon-7)"}, same},
        {16, "Action_W_TAB", nullptr, {"key(48,80000)"}, {"dev:sendKeyCommandDataKeyCode1(4,43)"}},
        {17, "Action_DPI", nullptr, {"dev:sendSetDpiData(1)"}, same},
        {18, "Action_GPT", nullptr, QStringList{"showInWindow"} + typing, same},
        {19, "Action_copy", nullptr, {"clipboard:selected"}, same}, // no chord: the selection is copied
        {20, "Action_paste", nullptr, paste, devicePaste},
        {21, "Action_forward", nullptr, {"key(124,80000)"}, {"dev:sendKeyCommandDataKeyCode1(4,79)"}},
        {22, "Action_back", nullptr, {"key(123,80000)"}, {"dev:sendKeyCommandDataKeyCode1(4,80)"}},
        {23, "Action_LockScreen", nullptr, {"sleep"}, same},
        {24, "Action_GetWord_Trans", nullptr, {"hyperTranslate", "clipboard:selected", "pasteboard:selected"}, same},
        {25, "Action_ReportRate", nullptr, none, same},
        {26, "Action_OM_AI", nullptr, {"showInWindow"}, same},
        {27, "Action_OW_OFFICIAL", "https://example.org", {"open:https://example.org"}, same},
        {28, "Action_OPEN_WEBURL", nullptr, {"showInWindow"}, same},
    };
    for (const bool compatible : {false, true}) {
        w.state->setCompatibleModeSwitch(compatible);
        for (const Row &row : rows) {
            w.assign("sk", QString::fromUtf8(row.cmd), row.attr0);
            w.keys->setLastPressType(0);
            w.flags.setIsTranslate(false);
            w.state->mouseInfoItem().setDpi(0);
            w.clipboard.selection = QStringLiteral("selected");
            const QStringList expected = compatible && row.compatible != same ? row.compatible : row.local;
            EXPECT_EQ(press(1, 3, 1500), expected) << "op " << row.op << (compatible ? " compatible" : " local");
            EXPECT_EQ(w.state->keyAction(), quint64(row.op));
            EXPECT_EQ(w.flags.isTranslate(), row.op == 15) << "op " << row.op; // only the mode switch flips it
        }
    }
}

TEST_F(KeyPress, VoiceModesStopOnlyByTheirOwnKeyAndTheCentreButtonHeld)
{
    w.setKeys(R"([{"key": "voice_key", "childs": [{"operation": "sk", "childs": [{"first": "1", "cmd": "Action_VI"}]}]},
                  {"key": "search_key", "childs": [{"operation": "sk", "childs": [{"first": "1", "cmd": "Action_VT"}]}]}])");
    EXPECT_EQ(press(1), QStringList({"hidCallbackType(33)", "dev:sendOpenMicData()"}));
    EXPECT_TRUE(press(1, 4).isEmpty()) << "translation waits until typing stops";
    w.flags.setHadStart(true);
    EXPECT_EQ(press(1), QStringList({"hidCallbackType(34)", "dev:sendCloseMicData()"}));
    EXPECT_EQ(w.keys->lastPressType(), 0);

    // No action on the centre button: a device of type 3 on plan 2 with a serial
    // number talks while it is held.
    w.keys->startCenterMouseMonitor();
    w.state->mouseInfoItem().setdeviceType(3);
    w.state->setSno(QStringLiteral("S"));
    for (const bool translating : {false, true}) {
        w.flags.setIsTranslate(translating);
        w.flags.setHadStart(false);
        centre(MouseEventType::OtherMouseDown, 1000);
        EXPECT_EQ(w.effects(),
                  QStringList({translating ? "hidCallbackType(37)" : "hidCallbackType(33)", "dev:sendOpenMicData()"}));
        w.flags.setHadStart(true);
        centre(MouseEventType::OtherMouseUp, 500);
        EXPECT_EQ(w.effects(),
                  QStringList({translating ? "hidCallbackType(38)" : "hidCallbackType(34)", "dev:sendCloseMicData()"}));
    }
}

TEST_F(KeyPress, LongPressesAndTheRepeatingDelete)
{
    const struct {
        const char *cmd;
        QStringList longStart, longEnd;
    } rows[] = {
        {"Action_VI",
         {"hidCallbackType(33)", "dev:sendOpenMicData()"},
         {"hidCallbackType(34)", "dev:sendCloseMicData()"}},
        {"Action_paste", {"key(9,100000)"}, {"key(9,100000)"}},
        {"Action_W_TAB", {"key(48,80000)"}, {}},
        {"Action_LockScreen", {"sleep"}, {}}, // once: not back to sleep at the release that woke it
        {"DEL_OPT", {}, {"key(51,100)", "key(51,100)", "key(51,100)"}}, // every 100 ms until the release at 350
    };
    for (const auto &row : rows) {
        w.assign("lk", row.cmd);
        EXPECT_EQ(press(3, 3, 50), row.longStart) << row.cmd;
        sched.advance(300);
        EXPECT_EQ(press(4, 3, 500), row.longEnd) << row.cmd;
    }
    // Another key's press stops the delete as well.
    w.keys->handlePressKeyEvent(3, 3);
    sched.advance(250);
    EXPECT_EQ(press(1, 5, 500), QStringList(2, "key(51,100)"));
}

TEST_F(KeyPress, LookupGateFullScreenAndDpiWrap)
{
    // The last chosen option wins; a press kind without options is operation 0.
    w.setKeys(R"([{"key": "voice_key", "childs": [{"operation": "sk", "childs": [
                    {"first": "1", "cmd": "Action_SK"}, {"first": "0", "cmd": "Action_ST"},
                    {"first": "1", "cmd": "Action_paste"}]}]}])");
    EXPECT_EQ(press(1), QStringList{"key(9,100000)"});
    EXPECT_EQ(w.state->keyAction(), 20u);
    EXPECT_TRUE(press(2).isEmpty());
    EXPECT_EQ(w.state->keyAction(), 0u);
    // Product 260 with its functions off: nothing, and the last action stays.
    w.state->setProductCode(QStringLiteral("260"));
    w.state->setFuncSwitch(false);
    w.state->setKeyAction(7);
    EXPECT_TRUE(press(1).isEmpty());
    EXPECT_EQ(w.state->keyAction(), 7u);
    w.state->setFuncSwitch(true);

    w.assign("sk", "GO_HOME");
    w.ai.fullScreen = true;
    EXPECT_EQ(press(1, 3, 999), QStringList{"leaveWebWindowFullScreen"});
    sched.advance(1);
    EXPECT_EQ(w.effects(), QStringList{"dev:sendKeyCommandDataKeyCode1(0,68)"});
    w.assign("sk", "Action_DPI");
    w.state->mouseInfoItem().setDpi(3);
    EXPECT_EQ(press(1), QStringList{"dev:sendSetDpiData(0)"}) << "past the last of 4 steps";
}

TEST_F(KeyPress, BadSettingsAndTargetsDoNothing)
{
    for (
        const char *json :
        {"[]", R"([{"key": "voice_key", "childs": [{"operation": "sk"}]}])",
         R"([{"key": "voice_key", "childs": [{"operation": "sk", "childs": [{"cmd": "Action_paste"}]}]}])",
         R"([{"key": "nokey", "childs": [{"operation": "sk", "childs": [{"first": "1", "cmd": "Action_paste"}]}]}])"}) {
        w.setKeys(json);
        EXPECT_TRUE(press(1).isEmpty()) << json;
        EXPECT_EQ(w.state->keyAction(), 0u) << json;
    }
    const std::pair<const char *, const char *> targets[] = {
        {"Action_SK", "not json"}, {"Action_SK", R"({"keyCode": -1})"},
        {"Action_SK", nullptr},    {"Action_OW", ""},
        {"Action_OF", "/etc"}, // there, but never picked by the user
        {"Action_OFJ", nullptr},   {"Action_OFJ", "/etc"},
        {"Action_FT", ""},
    };
    for (const auto &[cmd, attr0] : targets) {
        w.clipboard.setText(QStringLiteral("kept"));
        w.assign("sk", cmd, attr0);
        EXPECT_EQ(press(1), QStringList{"clipboard:kept"}) << cmd << " " << (attr0 ? attr0 : "(none)");
    }
    // The centre button's voice: not without a connected device, nor on another device type.
    w.setKeys("[]");
    w.state->setSno(QStringLiteral("S"));
    w.state->mouseInfoItem().setdeviceType(1);
    EXPECT_TRUE(press(3, 2).isEmpty());
    w.state->mouseInfoItem().setdeviceType(3);
    w.state->setMouseIsConnect(false);
    EXPECT_TRUE(press(3, 2).isEmpty());
    EXPECT_EQ(keyaction::nextDpiIndex(3, 0), std::nullopt) << "no DPI steps, no step 0";
    EXPECT_EQ(keyaction::operationFor(29), nullptr);
}

} // namespace
