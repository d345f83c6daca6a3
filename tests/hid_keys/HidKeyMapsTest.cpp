// The report bytes stay grouped by field as written (clang-format would split them).
// clang-format off
// Every key map, row by row, through the report parser: the expected rows are written
// out here from the devices' key lists, not read from the tables under test.
#include "HidKeysFixture.h"

namespace {

struct CodeRow {
    int key;
    int code; // 0: nothing reaches the dispatcher
};

TEST_F(HidKeysTest, FramedKeysWithKeySettingOnAreProgrammableKeys)
{
    const CodeRow rows[] = {{0x31, 57}, {0x32, 58}, {0x33, 51}, {0x35, 55}, {0x37, 53}, {0x38, 54},
                            {0x40, 52}, {0x41, 56}, {0x42, 59}, {0x43, 60}, {0x44, 61}, {0x45, 62},
                            {0x46, 63}, {0x47, 64}, {0x48, 65}, {0x49, 66},
                            // not keys: acknowledged and completed only
                            {0x34, 0},  {0x36, 0},  {0x39, 0},  {0x3f, 0}};
    for (const CodeRow &row : rows) {
        SCOPED_TRACE(QString::number(row.key, 16).toStdString());
        completions.clear();
        framed(row.key);
        QStringList expected{"send:sendGetReceiveData"};
        if (row.code)
            expected << QStringLiteral("hidCallbackType(%1)").arg(row.code);
        EXPECT_EQ(calls(), expected);
        EXPECT_EQ(completions, (std::vector<std::pair<int, int>>{{row.key, 0}}));
    }
    EXPECT_EQ(hid.pressType(), 51); // 0x33 keeps its code as the pending press type
}

TEST_F(HidKeysTest, FramedKeysWithKeySettingOffDriveTheMicrophoneAndKeepAPendingPressType)
{
    state->setIsSupportKeySetting(false);
    struct Row {
        int key;
        bool translate;
        bool hadStart;
        const char *mic; // "" none
        int pending;     // -1 unchanged
    };
    const Row rows[] = {
        {0x31, false, false, "sendOpenMicData", 35},  {0x32, false, true, "sendCloseMicData", 36},
        {0x33, false, false, "sendOpenMicData", 33},  {0x33, true, false, "sendOpenMicData", 37},
        {0x33, false, true, "sendCloseMicData", 34},  {0x33, true, true, "sendCloseMicData", 38},
        {0x35, false, false, "", -1},                 {0x37, false, false, "sendOpenMicData", 33},
        {0x37, true, false, "sendOpenMicData", 37},   {0x38, false, true, "sendCloseMicData", 34},
        {0x38, true, true, "sendCloseMicData", 38},   {0x41, false, false, "", -1},
        {0x42, false, false, "sendOpenMicData", 33},  {0x42, true, true, "sendCloseMicData", 38},
        {0x44, true, false, "sendOpenMicData", 37},   {0x45, false, true, "sendCloseMicData", 34},
        {0x46, false, false, "", -1},                 {0x49, false, false, "", -1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QStringLiteral("%1 translate %2 running %3").arg(row.key, 0, 16).arg(row.translate).arg(row.hadStart).toStdString());
        fakes.keys.setIsTranslate(row.translate);
        fakes.keys.setHadStart(row.hadStart);
        hid.setPressType(-1);
        completions.clear();
        framed(row.key);
        QStringList expected{"send:sendGetReceiveData"};
        if (*row.mic)
            expected << QStringLiteral("send:") + QLatin1String(row.mic);
        EXPECT_EQ(calls(), expected); // no hand-over: that waits for the voice events
        EXPECT_EQ(hid.pressType(), row.pending);
        EXPECT_EQ(completions.size(), 1u);
    }
    // The mode keys flip the translation mode and say so.
    for (int key : {0x40, 0x43}) {
        fakes.keys.setIsTranslate(false);
        framed(key);
        EXPECT_TRUE(fakes.keys.isTranslate());
        EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData", "showTipMessage(切换到翻译模式,laserPen_icon-7)"}));
    }
}

TEST_F(HidKeysTest, Plan7KeysAndKeyboardOnlyKeys)
{
    plan(7);
    const CodeRow mouse[] = {{0x31, 57}, {0x32, 58}, {0x33, 51}, {0x35, 55}, {0x37, 53}, {0x38, 54}, {0x40, 52},
                             {0x41, 56}, {0x42, 59}, {0x43, 60}, {0x44, 61}, {0x45, 62}, {0x46, 63}, {0x47, 64},
                             {0x48, 65}, {0x49, 66}, {0x50, 67}, {0x51, 68}, {0x52, 69}, {0x53, 70}, {0x34, 0}};
    const CodeRow keyboard[] = {{0xb0, 51}, {0xb2, 53}, {0xb3, 54}, {0xb4, 59}, {0xb6, 61},
                                {0xb7, 62}, {0xb8, 55}, {0xba, 57}, {0xbb, 58}, {0xb1, 0}};
    for (bool isKeyboard : {false, true}) {
        state->setIsKeyboard(isKeyboard);
        for (const CodeRow &row : mouse) {
            SCOPED_TRACE(QString::number(row.key, 16).toStdString());
            plan7Reply(row.key);
            EXPECT_EQ(pressTypes(), row.code ? std::vector<int>{row.code} : std::vector<int>{});
        }
        for (const CodeRow &row : keyboard) {
            SCOPED_TRACE(QString::number(row.key, 16).toStdString());
            plan7Reply(row.key);
            // A device that is no keyboard sending keyboard keys: acknowledged only.
            EXPECT_EQ(pressTypes(), row.code && isKeyboard ? std::vector<int>{row.code} : std::vector<int>{});
        }
    }
    EXPECT_EQ(calls().count(QStringLiteral("send:sendGetReceiveData")), 2 * (21 + 10));
}

TEST_F(HidKeysTest, Plan6MouseAndKeyboardPressTypes)
{
    plan(6);
    struct Row {
        int key;
        int mouse;
        int keyboard;
    };
    // Keyboard routines (voice toggles, key-ups, the AI window) have their own tests.
    const Row rows[] = {{0x31, 57, -1}, {0x32, 58, -1},  {0x33, 51, -1},  {0x35, 55, 0},   {0x37, 53, -1},
                        {0x38, 54, -1}, {0x40, 52, 0},   {0x41, 56, 0},   {0x42, 59, -1},  {0x43, 60, 0},
                        {0x44, 61, -1}, {0x45, 62, -1},  {0x46, 63, 0},   {0x47, 64, 0},   {0x48, 65, 0},
                        {0x49, 66, 0},  {0x50, 67, -1},  {0x51, 68, 0},   {0x52, 69, -1},  {0x53, 70, -1},
                        {0xb0, 176, 51}, {0xb2, 178, 53}, {0xb3, 179, 54}, {0xb4, 180, 59}, {0xb6, 182, 61},
                        {0xb7, 183, 62}, {0xb8, 0, 55},   {0xba, 0, 57},   {0xbb, 0, 58},   {0xf0, 0, 63},
                        {0xf2, 0, 65},   {0xf3, 0, 66}};
    for (bool isKeyboard : {false, true}) {
        state->setIsKeyboard(isKeyboard);
        for (const Row &row : rows) {
            const int code = isKeyboard ? row.keyboard : row.mouse;
            if (code < 0)
                continue;
            SCOPED_TRACE(QStringLiteral("%1 keyboard %2").arg(row.key, 0, 16).arg(isKeyboard).toStdString());
            plan6Reply(row.key);
            EXPECT_EQ(pressTypes(), code ? std::vector<int>{code} : std::vector<int>{});
        }
    }
    // Product "56" does not acknowledge plan-6 replies.
    EXPECT_EQ(calls().count(QStringLiteral("send:")), 0);
}

TEST_F(HidKeysTest, Plan4KeysReachTheDispatcherATenthOfASecondAfterTheAcknowledgement)
{
    plan(4);
    const CodeRow rows[] = {{0x33, 51}, {0x40, 52}, {0x37, 53}, {0x38, 54},
                            {0x35, 55}, {0x41, 56}, {0x31, 57}, {0x32, 58}};
    for (const CodeRow &row : rows) {
        SCOPED_TRACE(QString::number(row.key, 16).toStdString());
        feed(R(21, bytes({0x0c, 0x11, row.key})));
        EXPECT_EQ(sink.reports.last(), R(21, bytes({0x0c, 0x05, 0x29})));
        sched.advance(HidKeyEventHandler::kPlan4KeyDelayMs - 1);
        EXPECT_TRUE(pressTypes().empty());
        sched.advance(1);
        EXPECT_EQ(pressTypes(), std::vector<int>{row.code});
    }
    // Any other "0c11" key is not acknowledged and reaches nobody.
    sink.reports.clear();
    feed(R(21, bytes({0x0c, 0x11, 0x39})));
    sched.advance(1000);
    EXPECT_TRUE(sink.reports.isEmpty());
    EXPECT_TRUE(pressTypes().empty());
}

TEST_F(HidKeysTest, Plan3KeyByteByModelAndMode)
{
    plan(3);
    struct Row {
        int key;
        int model;
        bool translate;
        bool hadStart;
        const char *mic;
        int press; // 0: none
        bool toggles = false;
    };
    const Row rows[] = {
        {0x50, 56, true, false, "sendOpenMicData", 37},  {0x50, 56, false, false, "sendOpenMicData", 33},
        {0x50, 56, true, true, "sendCloseMicData", 38},  {0x50, 55, true, false, "sendOpenMicData", 33},
        {0x50, 55, true, true, "sendCloseMicData", 34},  {0x51, 56, false, false, "", 0, true},
        {0x51, 55, false, false, "", 0},                 {0x52, 56, true, false, "sendOpenMicData", 37},
        {0x52, 55, true, false, "sendOpenMicData", 33},  {0x53, 56, false, true, "sendCloseMicData", 34},
        {0x53, 56, true, true, "sendCloseMicData", 38},  {0x58, 56, false, false, "", 50},
        {0x58, 55, false, false, "", 0},                 {0x5a, 56, true, false, "sendOpenMicData", 35},
        {0x5b, 56, true, true, "sendCloseMicData", 36},  {0x54, 56, false, false, "", 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QStringLiteral("%1 model %2 translate %3 running %4")
                         .arg(row.key, 0, 16).arg(row.model).arg(row.translate).arg(row.hadStart).toStdString());
        state->mouseInfoItem().setMouseType(quint64(row.model));
        fakes.keys.setIsTranslate(row.translate);
        fakes.keys.setHadStart(row.hadStart);
        plan3Key(row.key);
        const QStringList log = calls();
        EXPECT_EQ(log.count(QStringLiteral("send:") + QLatin1String(row.mic)), *row.mic ? 1 : 0);
        EXPECT_EQ(pressTypes(), row.press ? std::vector<int>{row.press} : std::vector<int>{});
        if (row.press && *row.mic) {
            EXPECT_EQ(hid.pressType(), row.press);
        }
        EXPECT_EQ(fakes.keys.isTranslate() != row.translate, row.toggles);
        sched.advance(1000); // past the key gate
    }
}

TEST_F(HidKeysTest, AiHelperKeysOnPlans6And7)
{
    struct Row {
        int key;
        const char *helper;
        const char *press; // "" single, "1" long-press start, "0" long-press end
    };
    const Row rows[] = {
        {0x84, "aiImg", ""}, {0x86, "aiImg", "1"}, {0x87, "aiImg", "0"}, {0x88, "fileChange", ""},
        {0x8b, "fileChange", ""}, {0x8c, "xml", ""}, {0x8e, "xml", "1"}, {0x8f, "xml", "0"},
        {0x90, "k3v8pz1qw7ma_v1", ""}, {0x92, "k3v8pz1qw7ma_v1", "1"}, {0x93, "k3v8pz1qw7ma_v1", "0"},
        {0x94, "template", ""}, {0x97, "template", ""}, {0x98, "aiReading", ""}, {0x9a, "aiReading", "1"},
        {0x9b, "aiReading", "0"}, {0x9c, "table", ""}, {0x9e, "table", "1"}, {0x9f, "table", "0"},
        {0xa0, "t9c2xh5ry0db_v1", ""}, {0xa2, "t9c2xh5ry0db_v1", "1"}, {0xa3, "t9c2xh5ry0db_v1", "0"},
        {0xa4, "4mq7wn2fjs8k_v1", ""}, {0xa6, "4mq7wn2fjs8k_v1", "1"}, {0xa7, "4mq7wn2fjs8k_v1", "0"},
        {0xa8, "writingAssistant", ""}, {0xaa, "writingAssistant", "1"}, {0xab, "writingAssistant", "0"},
        {0xac, "ppt", ""}, {0xae, "ppt", "1"}, {0xaf, "ppt", "0"},
        {0xc0, "zr6te1by3uop_v1", ""}, {0xc2, "zr6te1by3uop_v1", "1"}, {0xc3, "zr6te1by3uop_v1", "0"},
        // between the helpers: nothing
        {0x85, nullptr, ""}, {0x8d, nullptr, ""}, {0x91, nullptr, ""}, {0x95, nullptr, ""}, {0xa1, nullptr, ""},
        {0xc1, nullptr, ""},
    };
    state->setIsKeyboard(true);
    for (int p : {6, 7}) {
        plan(p);
        for (const Row &row : rows) {
            SCOPED_TRACE(QStringLiteral("plan %1 key %2").arg(p).arg(row.key, 0, 16).toStdString());
            p == 6 ? plan6Reply(row.key) : plan7Reply(row.key);
            QStringList log = calls();
            log.removeAll(QStringLiteral("send:sendGetReceiveData"));
            if (!row.helper) {
                EXPECT_TRUE(log.isEmpty()) << log.join(' ').toStdString();
                continue;
            }
            const QString call = *row.press ? QStringLiteral("requestChatGPT(%1,,%2)").arg(QLatin1String(row.helper), QLatin1String(row.press))
                                            : QStringLiteral("requestChatGPT(%1,)").arg(QLatin1String(row.helper));
            EXPECT_EQ(log, QStringList{call});
        }
    }
    // The AI image key is a keyboard's, and only while a device is connected.
    plan(6);
    state->setIsKeyboard(false);
    plan6Reply(0x84);
    state->setIsKeyboard(true);
    state->setMouseIsConnect(false);
    plan6Reply(0x84);
    EXPECT_EQ(fakes.log.count(QStringLiteral("requestChatGPT")), 0);
}

} // namespace
