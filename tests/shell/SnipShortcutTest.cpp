// The screenshot shortcut's binding and gate, and the rules recorded shortcuts meet.
#include "SnipShortcut.h"
#include "FakeGlobalShortcuts.h"
#include "FakeNeighbours.h"
#include "PZLog.h"
#include "ScopedUserInfoData.h"
#include "platform/KeyCodeTable.h"
#include "platform/ShortcutValidator.h"

#include <gtest/gtest.h>

using namespace platform::keys;

TEST(SnipShortcut, AltSIsHeldAndStartsAScreenshotTranslationOnlyWhenOnAndConnected)
{
    ScopedUserInfoData state;
    FakeGlobalShortcuts shortcuts;
    platform::ShortcutBinder binder(state.store(), &shortcuts);
    CallLog log;
    FakeTranslateManager translate(log);
    for (const auto &[on, connected] : {std::pair{true, true}, {true, false}, {false, true}, {true, true}}) {
        log.clear();
        state->setScreenshotsTranslateSwitch(on);
        state->setMouseIsConnect(connected);
        EXPECT_EQ(bindSnipShortcut(binder, state.state(), translate), on && connected);
        EXPECT_EQ(shortcuts.grabs.size(), on && connected ? 1u : 0u) << on << connected;
        EXPECT_EQ(shortcuts.press(1, kFlagAlternate), on && connected);
        EXPECT_EQ(log.count("snipTranslate"), on && connected ? 1 : 0) << on << connected;
    }
    bindSnipShortcut(binder, state.state(), translate); // every connected build binds again
    EXPECT_EQ(shortcuts.grabs.size(), 1u);
    // Switched off after the grab: the press that comes before the release does nothing.
    state->setScreenshotsTranslateSwitch(false);
    log.clear();
    ASSERT_TRUE(shortcuts.press(1, kFlagAlternate));
    EXPECT_EQ(log.count("snipTranslate"), 0);
    EXPECT_TRUE(binder.allowAnyShortcutWithOptionModifier());
    EXPECT_FALSE(state.store().contains(kSnipShortcutKey)) << "the default is registered, not written";
}

TEST(ShortcutValidator, ModifierRules)
{
    const struct {
        int keyCode;
        quint64 flags;
        bool plain, optionAllowed;
    } rows[] = {
        {122, 0, true, true},                          // F1 alone
        {1, kFlagControl, true, true},                 // Control+S
        {1, kFlagCommand | kFlagShift, true, true},    // Command+Shift+S
        {1, kFlagAlternate | kFlagShift, false, true}, // Option+Shift+S: only when allowed
        {49, kFlagAlternate, true, true},              // Option+Space
        {1, kFlagShift, false, false},                 // Shift+S
        {53, 0, false, false},                         // Escape alone
        {1, 0x100, false, false},                      // a flag bit that is no modifier
    };
    for (const auto &row : rows) {
        const platform::Shortcut s{row.keyCode, row.flags};
        EXPECT_EQ(platform::isShortcutValid(s, false), row.plain) << row.keyCode << " " << row.flags;
        EXPECT_EQ(platform::isShortcutValid(s, true), row.optionAllowed) << row.keyCode << " " << row.flags;
    }
}

TEST(SnipShortcut, AStoredChordThatCannotBeUsedFallsBackToAltS)
{
    const struct {
        const char *stored;
        int keyCode;
        quint64 flags;
    } rows[] = {
        {R"({"keyCode":2,"modifierFlags":262144})", 2, kFlagControl}, // Control+D, as recorded
        {"not json", 1, kFlagAlternate},
        {R"({"keyCode":999,"modifierFlags":262144})", 1, kFlagAlternate}, // no such key
    };
    for (const auto &row : rows) {
        ScopedUserInfoData state;
        state.store().setValue(kSnipShortcutKey, QString::fromLatin1(row.stored));
        FakeGlobalShortcuts shortcuts;
        platform::ShortcutBinder binder(state.store(), &shortcuts);
        CallLog log;
        FakeTranslateManager translate(log);
        state->setMouseIsConnect(true);
        bindSnipShortcut(binder, state.state(), translate);
        EXPECT_EQ(shortcuts.grabs.size(), 1u) << row.stored;
        EXPECT_TRUE(shortcuts.isGrabbed(row.keyCode, row.flags)) << row.stored;
    }
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("shortcut:SnipShortcutKey")));
}
