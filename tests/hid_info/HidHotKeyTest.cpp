// Hot keys of the voice-assistant receivers and the binder behind them.
#include "HidInfoTestFixture.h"
#include "PZLog.h"
#include "platform/KeyCodeTable.h"

using qx::notify::HadUSBInfoNotification;
using qx::notify::kUSBInsertNotification;

namespace {

constexpr int F1 = 122, F2 = 120, F3 = 99;

class HidHotKey : public HidInfoTest {};

TEST_F(HidHotKey, RegistrationPerReceiver)
{
    struct Row {
        quint16 vid, pid;
        qint64 planAfter; // with plan 1 before
        bool keySetting;
    } rows[] = {
        {0x13ca, 0x12ac, 1, false},
        {0x13ba, 0x12ab, 1, false},
        {0x3151, 0x20ab, 2, true},
        {0x248a, 0x64ab, 6, true},
    };
    QStringList logged;
    setWriteLogHandler([&](const QString &line) { logged << line; });
    for (const Row &r : rows) {
        SCOPED_TRACE(QString::number(r.pid, 16).toStdString());
        state->setChipPlan(1);
        state->setIsSupportKeySetting(false);
        state->setMouseIsConnect(false);
        state->setIsNeedMouseInfo(false);
        item().setDeviceType(1);
        notes.clear();
        logged.clear();

        reader.registerHotKey(r.vid, r.pid);
        EXPECT_EQ(item().deviceType(), 3u);
        EXPECT_EQ(state->chipPlan(), r.planAfter);
        EXPECT_EQ(state->isSupportKeySetting(), r.keySetting);
        EXPECT_EQ(logged, r.keySetting ? QStringList{"语音助手接收器"} : QStringList{});
        EXPECT_TRUE(shortcuts.isGrabbed(F1));
        EXPECT_TRUE(shortcuts.isGrabbed(F2));
        EXPECT_TRUE(shortcuts.isGrabbed(F3));
        EXPECT_EQ(shortcuts.grabs.size(), 3u); // registering again replaces the bindings
        EXPECT_TRUE(binder.allowAnyShortcutWithOptionModifier());
        EXPECT_TRUE(state->mouseIsConnect());
        EXPECT_TRUE(state->isNeedMouseInfo());
        EXPECT_EQ(notes.names(), (QStringList{kUSBInsertNotification, HadUSBInfoNotification}));
    }
    setWriteLogHandler(nullptr);

    // Other receivers: nothing at all.
    reader.breakHotKeyBindings();
    notes.clear();
    item().setDeviceType(1);
    reader.registerHotKey(0x3151, 0x22ab);
    reader.registerHotKey(0, 0);
    EXPECT_TRUE(shortcuts.grabs.empty());
    EXPECT_EQ(item().deviceType(), 1u);
    EXPECT_TRUE(notes.names().isEmpty());

    // The defaults are stored as macOS key codes, readable by the binder.
    EXPECT_EQ(binder.shortcutForKey("WordShortcutKey"), (platform::Shortcut{122, 0}));
    EXPECT_EQ(binder.shortcutForKey("TranslateShortcutKey"), (platform::Shortcut{120, 0}));
    EXPECT_EQ(binder.shortcutForKey("SearchShortcutKey"), (platform::Shortcut{99, 0}));
}

TEST_F(HidHotKey, EveryShortcutAction)
{
    struct Row {
        const char *what;
        quint16 vid, pid;
        int key;
        bool hadStart, translate;
        const char *sno;
        QStringList calls;
        qint64 pressType; // reader's press type afterwards (starts at 0)
    };
    const Row rows[] = {
        // Plan 2 (0x20AB): the receiver's microphone is switched directly.
        {"p2 F1", 0x3151, 0x20ab, F1, false, false, "S", {"sendOpenMicData", "hidCallbackType(33)"}, 0},
        {"p2 F1 running", 0x3151, 0x20ab, F1, true, false, "S", {"sendCloseMicData", "hidCallbackType(34)"}, 0},
        {"p2 F1 translate", 0x3151, 0x20ab, F1, false, true, "S", {"sendOpenMicData", "hidCallbackType(37)"}, 0},
        {"p2 F1 translate running",
         0x3151,
         0x20ab,
         F1,
         true,
         true,
         "S",
         {"sendCloseMicData", "hidCallbackType(38)"},
         0},
        {"p2 F2", 0x3151, 0x20ab, F2, false, false, "S", {"sendOpenMicData", "hidCallbackType(37)"}, 0},
        {"p2 F2 running", 0x3151, 0x20ab, F2, true, false, "S", {"sendCloseMicData", "hidCallbackType(38)"}, 0},
        {"p2 F3", 0x3151, 0x20ab, F3, false, false, "S", {"sendOpenMicData", "hidCallbackType(35)"}, 0},
        {"p2 F3 running", 0x3151, 0x20ab, F3, true, false, "S", {"sendCloseMicData", "hidCallbackType(36)"}, 0},
        {"p2 F1 no serial", 0x3151, 0x20ab, F1, false, false, "", {}, 0},
        {"p2 F2 no serial", 0x3151, 0x20ab, F2, true, false, "", {}, 0},
        {"p2 F3 no serial", 0x3151, 0x20ab, F3, false, false, "", {}, 0},
        // Plan 6: F1 direct, F2 and F3 through the key conversion.
        {"p6 F1", 0x248a, 0x64ab, F1, false, false, "S", {"sendOpenMicData", "hidCallbackType(33)"}, 0},
        {"p6 F1 no serial", 0x248a, 0x64ab, F1, false, false, "", {}, 0},
        {"p6 F2", 0x248a, 0x64ab, F2, false, false, "", {"hidCallbackType(37)"}, 37},
        {"p6 F2 running", 0x248a, 0x64ab, F2, true, false, "", {"hidCallbackType(38)"}, 38},
        {"p6 F3", 0x248a, 0x64ab, F3, false, false, "", {"hidCallbackType(35)"}, 35},
        {"p6 F3 running", 0x248a, 0x64ab, F3, true, false, "", {"hidCallbackType(36)"}, 36},
        // Receivers that keep their plan (1 here): everything converted.
        {"p1 F1", 0x13ca, 0x12ac, F1, false, false, "", {"hidCallbackType(33)"}, 33},
        {"p1 F1 translate", 0x13ca, 0x12ac, F1, false, true, "", {"hidCallbackType(37)"}, 37},
        {"p1 F1 running", 0x13ba, 0x12ab, F1, true, false, "", {"hidCallbackType(34)"}, 34},
        {"p1 F2", 0x13ba, 0x12ab, F2, false, false, "", {"hidCallbackType(37)"}, 37},
        {"p1 F3 running", 0x13ca, 0x12ac, F3, true, false, "", {"hidCallbackType(36)"}, 36},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        state->setChipPlan(1);
        reader.registerHotKey(r.vid, r.pid);
        state->setSno(QString::fromLatin1(r.sno));
        fakes.keys.setHadStart(r.hadStart);
        fakes.keys.setIsTranslate(r.translate);
        reader.setPressType(0);
        fakes.log.clear();

        ASSERT_TRUE(shortcuts.press(r.key));
        EXPECT_EQ(fakes.log.calls, r.calls);
        EXPECT_EQ(reader.pressType(), r.pressType);
    }
}

TEST_F(HidHotKey, PressesWithoutADeviceAndAfterRemoval)
{
    state->setSno("S");
    reader.registerHotKey(0x3151, 0x20ab);
    state->setMouseIsConnect(false); // the receiver went away without the bindings being broken
    fakes.log.clear();
    EXPECT_TRUE(shortcuts.press(F1));
    EXPECT_TRUE(fakes.log.calls.isEmpty());

    reader.breakHotKeyBindings();
    EXPECT_TRUE(shortcuts.grabs.empty());
    EXPECT_FALSE(binder.isBound("WordShortcutKey"));
}

TEST_F(HidHotKey, BinderKeepsMacKeyCodesAndFollowsStoredShortcuts)
{
    int runs = 0;
    binder.registerDefaults({{"WordShortcutKey", {122, 0}}});
    binder.bindShortcutWithDefaultsKey("WordShortcutKey", [&] { ++runs; });
    EXPECT_TRUE(shortcutStore.keys().isEmpty()); // defaults are not written
    EXPECT_TRUE(shortcuts.press(F1));
    EXPECT_EQ(runs, 1);

    // A recorded shortcut replaces the grab and is stored in the macOS form.
    const platform::Shortcut optionF1{122, platform::keys::kFlagAlternate};
    binder.setShortcut("WordShortcutKey", optionF1);
    EXPECT_EQ(shortcutStore.jsonObject("WordShortcutKey"),
              (QJsonObject{{"keyCode", 122}, {"modifierFlags", double(0x80000)}}));
    EXPECT_FALSE(shortcuts.isGrabbed(F1));
    EXPECT_TRUE(shortcuts.press(F1, platform::keys::kFlagAlternate));
    EXPECT_EQ(runs, 2);

    // Removing the stored one brings the default back.
    binder.setShortcut("WordShortcutKey", std::nullopt);
    EXPECT_TRUE(shortcuts.isGrabbed(F1));

    // An unreadable stored value, or a key no keyboard has, leaves the default in force.
    for (const char *bad : {"not json", "[]", "{\"keyCode\":\"x\"}", "{\"keyCode\":-1}", "{\"keyCode\":1.5}",
                            "{\"keyCode\":3,\"modifierFlags\":\"a\"}", "{\"keyCode\":10}"}) {
        shortcutStore.setValue("WordShortcutKey", QString::fromLatin1(bad));
        binder.bindShortcutWithDefaultsKey("WordShortcutKey", [&] { ++runs; });
        EXPECT_EQ(shortcuts.grabs.size(), 1u) << bad;
        EXPECT_TRUE(shortcuts.isGrabbed(F1)) << bad;
    }
    binder.setShortcut("WordShortcutKey", platform::Shortcut{120, 0});
    EXPECT_TRUE(shortcuts.press(F2));
    EXPECT_EQ(runs, 3);

    binder.breakBindingWithDefaultsKey("WordShortcutKey");
    binder.breakBindingWithDefaultsKey("NeverBound");
    EXPECT_TRUE(shortcuts.grabs.empty());
}

TEST_F(HidHotKey, DestroyedReaderLeavesNoBindingBehind)
{
    {
        HidInfoReader other(deps());
        other.registerHotKey(0x13ca, 0x12ac);
        EXPECT_EQ(shortcuts.grabs.size(), 3u);
    }
    EXPECT_TRUE(shortcuts.grabs.empty());
}

} // namespace
