// A cleared screenshot shortcut: stored as "no shortcut", it hides the Alt+S default.
#include "FakeGlobalShortcuts.h"
#include "FakeNeighbours.h"
#include "ScopedUserInfoData.h"
#include "SnipShortcut.h"
#include "platform/KeyCodeTable.h"
#include "platform/ShortcutBinder.h"

#include <gtest/gtest.h>

using namespace platform::keys;

TEST(Cmd2SnipShortcut, AClearedShortcutGrabsNothingUntilOneIsRecorded)
{
    ScopedUserInfoData state;
    state.store().setValue(kSnipShortcutKey, QStringLiteral("{}")); // cleared in an earlier run
    FakeGlobalShortcuts shortcuts;
    platform::ShortcutBinder binder(state.store(), &shortcuts);
    CallLog log;
    FakeTranslateManager translate(log);
    state->setMouseIsConnect(true); // where it could fire
    bindSnipShortcut(binder, state.state(), translate);
    EXPECT_TRUE(shortcuts.grabs.empty());
    EXPECT_EQ(binder.shortcutForKey(kSnipShortcutKey), std::nullopt);

    binder.setShortcut(kSnipShortcutKey, platform::Shortcut{2, kFlagCommand});
    EXPECT_TRUE(shortcuts.isGrabbed(2, kFlagCommand));
    binder.clearShortcut(kSnipShortcutKey);
    EXPECT_TRUE(shortcuts.grabs.empty());
    EXPECT_EQ(state.store().stringValue(kSnipShortcutKey), QStringLiteral("{}"));

    binder.setShortcut(kSnipShortcutKey, std::nullopt); // removing the stored value brings Alt+S back
    EXPECT_TRUE(shortcuts.isGrabbed(1, kFlagAlternate));
}
