// The one way text gets into another application: where the paste chord goes for
// each route and mode, and the field sessions over the accessibility bus.
#include "delivery/TextInsertionService.h"
#include "FakeAccessibleTree.h"
#include "FakeDesktop.h"
#include "ManualScheduler.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"

#include <gtest/gtest.h>

namespace {

using platform::AccessibleRole;
using Chord = ITextInsertion::Chord;

TEST(HouseTextInsertion, ThePasteChordGoesWhereTheRouteAndTheModeSay)
{
    const struct {
        Chord route;
        bool compatible;
        size_t keyStrokes, deviceReports;
    } rows[] = {
        {Chord::FollowCompatibleMode, false, 1, 0},
        {Chord::FollowCompatibleMode, true, 0, 1},
        {Chord::KeyEvents, true, 1, 0},
        {Chord::None, false, 0, 0},
    };
    ManualScheduler clock;
    ScopedUserInfoData state;
    FakeDesktop desktop;
    RecordingHidSink hid;
    QXHidCommandManager hidMgr;
    QXBLEMouseCommandManager bleMgr;
    QXMouseCommandManager facade{hidMgr, bleMgr};
    hidMgr.setHidSink(&hid);
    state->setChipPlan(2);
    state->setMouseIsConnect(true);
    TextInsertionService text{{desktop.clipboard, desktop.keyPoster, &state.state(), &facade}};
    for (const auto &row : rows) {
        SCOPED_TRACE(int(row.route) * 10 + row.compatible);
        desktop.keyPoster.strokes.clear();
        hid.reports.clear();
        state->setCompatibleModeSwitch(row.compatible);
        desktop.clipboard.setText("the user's");
        EXPECT_TRUE(text.pasteText("粘贴", {.chord = row.route, .restoreClipboard = false}));
        EXPECT_EQ(desktop.keyPoster.strokes.size(), row.keyStrokes);
        EXPECT_EQ(hid.reports.size(), row.deviceReports);
        clock.advance(TextInsertionService::kClipboardRestoreMs);
        EXPECT_EQ(desktop.clipboard.text(), "粘贴") << "not to be restored";
    }
    EXPECT_FALSE(text.pasteText("", {}));
    EXPECT_EQ(desktop.clipboard.text(), "粘贴") << "an empty text leaves the clipboard alone";
    hidMgr.setHidSink(nullptr);
}

// The application the text is pasted into asks for the clipboard only when it gets to
// the chord: a slow one seconds later. It still gets the text, and the user's clipboard
// comes back after it did, after a clipboard manager's instant read only at the usual
// time, without any read at the limit, and at the latest when the service ends.
TEST(HouseTextInsertion, ASlowTargetStillGetsThePasteAndTheUsersClipboardAlwaysComesBack)
{
    ManualScheduler clock;
    FakeDesktop desktop;
    auto text =
        std::make_unique<TextInsertionService>(TextInsertionService::Deps{desktop.clipboard, desktop.keyPoster});
    const ITextInsertion::Paste paste{.chord = Chord::KeyEvents};
    desktop.clipboard.setText("the user's");
    ASSERT_TRUE(text->pasteText("dictated", paste));
    clock.advance(2500);
    EXPECT_EQ(desktop.clipboard.readByAnotherApplication(), "dictated");
    clock.advance(TextInsertionService::kPasteTakenGraceMs - 1);
    EXPECT_EQ(desktop.clipboard.readByAnotherApplication(), "dictated") << "another format of the same paste";
    clock.advance(TextInsertionService::kPasteTakenGraceMs);
    EXPECT_EQ(desktop.clipboard.text(), "the user's");

    ASSERT_TRUE(text->pasteText("managed", paste));
    desktop.clipboard.readByAnotherApplication();
    clock.advance(TextInsertionService::kClipboardRestoreMs - 1);
    EXPECT_EQ(desktop.clipboard.text(), "managed");
    clock.advance(TextInsertionService::kPasteTakenGraceMs);
    EXPECT_EQ(desktop.clipboard.text(), "the user's");

    ASSERT_TRUE(text->pasteText("unread", paste));
    clock.advance(TextInsertionService::kClipboardRestoreLimitMs - 1);
    EXPECT_EQ(desktop.clipboard.text(), "unread");
    clock.advance(1);
    EXPECT_EQ(desktop.clipboard.text(), "the user's");

    ASSERT_TRUE(text->pasteText("at quit", paste));
    text.reset();
    EXPECT_EQ(desktop.clipboard.text(), "the user's");
}

// One service across sessions, as in the application: a field found once is never
// written again by a later session that found none, a read-only field is never even
// tried, and a field that reports no caret gets the text at its end.
TEST(HouseTextInsertion, FieldSessionsStartAfreshNeverTryReadOnlyFieldsAndAppendWithoutACaret)
{
    FakeDesktop desktop;
    FakeAccessibilityBridge bridge;
    TextInsertionService text{{desktop.clipboard, desktop.keyPoster, nullptr, nullptr, &bridge}};
    const auto session = [&](const QStringList &pieces) {
        text.beginFieldSession();
        for (qsizetype i = 0; i < pieces.size(); ++i)
            text.showTextInField(pieces[i], i + 1 == pieces.size());
    };
    auto noCaret = FakeElement::field(AccessibleRole::Entry, u"mail"_qs, -1);
    bridge.underPointer = noCaret;
    session({u"A"_qs, u"AB"_qs});
    EXPECT_EQ(noCaret->writes, QStringList({u"mailA"_qs, u"mailAB"_qs}));
    EXPECT_TRUE(noCaret->caretMoves.empty()) << "the caret is already behind the text";

    bridge.underPointer = nullptr;
    session({u"C"_qs});
    auto readOnly = FakeElement::field(AccessibleRole::Text, u"label"_qs, 2);
    readOnly->editable = false;
    bridge.underPointer = FakeElement::group({readOnly});
    session({u"D"_qs});
    EXPECT_EQ(noCaret->writes.size(), 2);
    EXPECT_TRUE(readOnly->writes.isEmpty() && readOnly->refused.isEmpty());
    EXPECT_TRUE(desktop.clipboard.text().isEmpty()) << "a field write never goes through the clipboard";
}

} // namespace
