// Writing recognised text into another application's field over a fake accessible
// tree: what the field holds after each piece, and where nothing may be written.
#include "FakeAccessibleTree.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "delivery/QXTextAreaManager.h"
#include "delivery/TextInsertion.h"

#include <gtest/gtest.h>

namespace {

using platform::AccessibleRole;

TEST(Vox7TextInsertion, ValueAndCaretAroundTheRememberedCaret)
{
    const struct {
        QString value;
        qint64 caret;
        QString text, expected;
        std::optional<qint64> caretAfter;
    } rows[] = {
        {u"hello world"_qs, 5, u"XY"_qs, u"helloXY world"_qs, 7},
        {u"hello world"_qs, 11, u"XY"_qs, u"hello worldXY"_qs, std::nullopt}, // at the end: stays
        {u"abc"_qs, 99, u"XY"_qs, u"abcXY"_qs, std::nullopt},                 // a stale caret
        {u"abc"_qs, -1, u"X"_qs, u"abcX"_qs, std::nullopt},                   // no caret
        {u"😀ab"_qs, 1, u"X"_qs, u"😀Xab"_qs, 2},                               // offsets count characters
        {u"ab😀cd"_qs, 3, u"😀"_qs, u"ab😀😀cd"_qs, 4},
    };
    for (const auto &row : rows) {
        const QString value = textinsertion::valueWithText(row.value, row.caret, row.text);
        EXPECT_EQ(value, row.expected);
        EXPECT_EQ(textinsertion::caretBehindText(value, row.caret, row.text), row.caretAfter)
            << qPrintable(row.expected);
    }
    EXPECT_EQ(textinsertion::caretBehindText(u"helXY"_qs, 3, u"XYZ"_qs), std::nullopt); // the field cut it short
}

class Vox7TextAreaManager : public ::testing::Test {
protected:
    // A recognition session over whatever is under the pointer, by the one manager the
    // application keeps.
    Vox7TextAreaManager() { m.registerNotification(); }
    void session(const QStringList &pieces)
    {
        center.post(QString::fromLatin1(qx::notify::ASRStartNotification));
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            last = i + 1 == pieces.size();
            m.showTextToCurrentTextArea(pieces[i]);
        }
    }
    FakeAccessibilityBridge bridge;
    NotificationCenter center;
    bool last = false;
    QXTextAreaManager m{{&bridge, [] { return QPoint(40, 30); }, [this] { return last; }, &center}};
};

TEST_F(Vox7TextAreaManager, ASessionWritesIntoTheLastTextFieldUnderThePointer)
{
    auto first = FakeElement::field(AccessibleRole::Entry, u"x"_qs, 0);
    auto field = FakeElement::field(AccessibleRole::Text, u"abcd"_qs, 2);
    bridge.underPointer = FakeElement::group({first, FakeElement::group({field})});
    session({u"我们"_qs, u"我们好吗"_qs});
    EXPECT_EQ(bridge.asked, std::vector<QPoint>{QPoint(40, 30)});
    EXPECT_EQ(field->writes, QStringList({u"ab我们cd"_qs, u"ab我们好吗cd"_qs}));
    EXPECT_EQ(field->caretMoves, std::vector<int>{6});
    EXPECT_TRUE(first->writes.isEmpty());

    // A field that reports no caret gets the text at its end, not its start.
    auto noCaret = FakeElement::field(AccessibleRole::Entry, u"abc"_qs, -1);
    bridge.underPointer = noCaret;
    session({u"X"_qs});
    EXPECT_EQ(noCaret->writes, QStringList{u"abcX"_qs});
}

TEST_F(Vox7TextAreaManager, NothingIsWrittenWhereTheTextDoesNotBelong)
{
    auto password = FakeElement::field(AccessibleRole::PasswordText, u"secret"_qs, 2);
    auto readOnly = FakeElement::field(AccessibleRole::Entry, u"label"_qs, 0);
    readOnly->editable = false;
    auto gone = FakeElement::field(AccessibleRole::Entry, u"gone"_qs, 0);
    gone->defunct = true;
    auto noText = FakeElement::group({});
    for (const auto &target : {password, readOnly, gone, noText}) {
        bridge.underPointer = FakeElement::group({target}); // found below the pointer
        session({u"XY"_qs});
        bridge.underPointer = target; // the element under the pointer itself
        session({u"XY"_qs});
        EXPECT_TRUE(target->writes.isEmpty() && target->refused.isEmpty())
            << target->value.value_or("group").toStdString();
    }

    // A field of an earlier session (perhaps another application's) is never reused,
    // nor one that goes away while the text comes in.
    auto earlier = FakeElement::field(AccessibleRole::Entry, u"mail"_qs, 4);
    bridge.underPointer = earlier;
    session({u"A"_qs});
    bridge.underPointer = nullptr;
    session({u"B"_qs});
    bridge.underPointer = earlier;
    bridge.available = false;
    session({u"C"_qs});
    bridge.available = true;
    earlier->defunct = true;
    session({u"D"_qs});
    EXPECT_EQ(earlier->writes, QStringList{u"mailA"_qs});
}

} // namespace
