// Key strokes, shortcut replay and the clipboard, against the recording fakes.
#include "FakeDesktop.h"
#include "ManualScheduler.h"
#include "PZPasteboard.h"
#include "delivery/TextInsertionService.h"
#include "platform/KeyCodeTable.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace platform::keys;

namespace {

// What the command runner's text targets do: key events, the clipboard keeps the text.
const ITextInsertion::Paste kLocalPaste{.chord = ITextInsertion::Chord::KeyEvents, .restoreClipboard = false};

class KeyEventsTest : public ::testing::Test {
protected:
    FakeDesktop desktop;
    TextInsertionService tool{{desktop.clipboard, desktop.keyPoster}};
};

} // namespace

TEST_F(KeyEventsTest, RecordedShortcutsPostTheirKeyWithTheirModifiers)
{
    struct Row {
        QString json;
        PostedStroke expected;
        const char *what;
    };
    const Row rows[] = {
        {R"({"keyCode":12,"modifierFlagsString":"⌃⌥"})", {12, kFlagControl | kFlagAlternate}, "control+option"},
        {R"({"keyCode":12,"modifierFlagsString":"⇧⌘"})", {12, kFlagShift | kFlagCommand}, "shift+command"},
        {R"({"keyCode":0,"modifierFlagsString":"⌃"})", {0, kFlagControl}, "control alone is never command"},
        {R"({"keyCode":9,"modifierFlagsString":"x⌘"})", {9, kFlagCommand}, "unknown symbols add nothing"},
        {R"({"keyCode":49,"modifierFlagsString":""})", {49, 0}, "empty flags"},
        {R"({"keyCode":49,"modifierFlags":1048576})", {49, 0}, "modifierFlags is not read"},
        {R"({"keyCode":49,"modifierFlagsString":7})", {49, 0}, "flags of the wrong type"},
    };
    for (const Row &r : rows) {
        desktop.keyPoster.strokes.clear();
        EXPECT_TRUE(tool.handleShortcut(r.json)) << r.what;
        ASSERT_EQ(desktop.keyPoster.strokes.size(), 1u) << r.what;
        EXPECT_EQ(desktop.keyPoster.strokes[0], r.expected) << r.what;
    }
}

TEST_F(KeyEventsTest, BrokenShortcutTextPostsNothing)
{
    for (const char *bad : {"", "not json", "[12]", R"({"modifierFlagsString":"⌘"})", R"({"keyCode":"12"})",
                            R"({"keyCode":1.5})", R"({"keyCode":-3})", R"({"keyCode":null})"}) {
        EXPECT_FALSE(tool.handleShortcut(QString::fromUtf8(bad))) << bad;
    }
    EXPECT_TRUE(desktop.keyPoster.strokes.empty());
}

TEST_F(KeyEventsTest, CopyAndPastePutsTheTextThereAndPastesWithControlV)
{
    tool.pasteText("你好 world", kLocalPaste);
    EXPECT_EQ(desktop.clipboard.text(), "你好 world");
    ASSERT_EQ(desktop.keyPoster.strokes.size(), 1u);
    EXPECT_EQ(desktop.keyPoster.strokes[0], (PostedStroke{kMacKeyV, kFlagCommand}));
}

TEST_F(KeyEventsTest, NothingIsPastedWhenTheClipboardRefusesTheText)
{
    desktop.clipboard.setText("old");
    desktop.clipboard.refuseWrites = true;
    tool.pasteText("new", kLocalPaste);
    EXPECT_TRUE(desktop.keyPoster.strokes.empty());
}

TEST_F(KeyEventsTest, PostKeyEventPostsAWholeStrokeAndIgnoresKeyUpOnly)
{
    QXPostKeyEvent(51, true, 0x100);
    QXPostKeyEvent(11, false, kFlagControl);
    ASSERT_EQ(desktop.keyPoster.strokes.size(), 1u);
    EXPECT_EQ(desktop.keyPoster.strokes[0], (PostedStroke{51, 0x100}));
}

TEST_F(KeyEventsTest, PasteboardSetStringClearsAndRefusesEmptyText)
{
    desktop.clipboard.setText("before");
    EXPECT_FALSE(pz_generalPasteboardSetString(""));
    EXPECT_TRUE(desktop.clipboard.text().isEmpty());
    EXPECT_FALSE(pz_generalPasteboardSetString(QString()));
    EXPECT_TRUE(pz_generalPasteboardSetString("hi"));
    EXPECT_EQ(desktop.clipboard.text(), "hi");
    desktop.clipboard.refuseWrites = true;
    EXPECT_FALSE(pz_generalPasteboardSetString("again"));
}

TEST_F(KeyEventsTest, GetTextHandsOverTheSelectionAfter100ms)
{
    ManualScheduler clock;
    desktop.clipboard.setText("prev");
    desktop.clipboard.selection = "selected words";
    QStringList got;
    tool.getText([&](const QString &t) { got << t; });
    clock.advance(99);
    EXPECT_TRUE(got.isEmpty());
    clock.advance(1);
    EXPECT_EQ(got, QStringList{"selected words"});
    EXPECT_EQ(desktop.clipboard.text(), "selected words");
    EXPECT_TRUE(desktop.keyPoster.strokes.empty()) << "no copy chord: it would interrupt a terminal";
}

TEST_F(KeyEventsTest, GetTextWithoutSelectionRestoresEverythingTheClipboardHeld)
{
    ManualScheduler clock;
    auto data = std::make_unique<QMimeData>();
    data->setText("prev");
    data->setData("image/png", QByteArray("\x89PNG fake", 9));
    desktop.clipboard.restore(std::move(data));
    desktop.clipboard.selection = " \n\t";
    bool called = false;
    tool.getText([&](const QString &) { called = true; });
    clock.advance(100);
    EXPECT_FALSE(called);
    ASSERT_TRUE(desktop.clipboard.contents);
    EXPECT_EQ(desktop.clipboard.text(), "prev");
    EXPECT_EQ(desktop.clipboard.contents->data("image/png"), QByteArray("\x89PNG fake", 9));
}

TEST(KeyEventsStandInTest, WithoutADesktopNothingIsPostedOrCrashes)
{
    platform::PlatformServices previous = platform::installServices({});
    TextInsertionService tool{{*platform::services().clipboard, *platform::services().keyPoster}};
    EXPECT_FALSE(tool.handleShortcut(R"({"keyCode":9,"modifierFlagsString":"⌘"})"));
    tool.pasteText("text", kLocalPaste);
    EXPECT_FALSE(pz_generalPasteboardSetString("x"));
    platform::installServices(previous);
}
