// The shortcut recorder: typed keys to macOS codes and flags, the chords it takes and
// refuses, and its bound, unbound and read-only modes.
#include "controls/ShortcutRecorder.h"
#include "FakeGlobalShortcuts.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "platform/KeyCodeTable.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace platform::keys;
using platform::Shortcut;

TEST(Cmd2KeyCodes, QtKeysBecomeTheMacCodesOfTheSameKey)
{
    const struct {
        int qtKey;
        bool keypad;
        std::optional<int> mac;
        const char *what;
    } rows[] = {
        {Qt::Key_K, false, 40, "K"},
        {Qt::Key_F5, false, 96, "F5"},
        {Qt::Key_5, true, 87, "keypad 5"},
        {Qt::Key_Enter, true, 76, "keypad Enter"},
        {Qt::Key_Left, true, 123, "keypad Left without NumLock is Left"},
        {Qt::Key_Percent, false, 23, "Shift+5 is typed on the 5 key"},
        {Qt::Key_Backtab, false, 48, "Shift+Tab"},
        {Qt::Key_Backspace, false, 51, "the Mac delete key"},
        {Qt::Key_MediaPlay, false, std::nullopt, "a media key"},
        {Qt::Key_Super_L, false, std::nullopt, "Super"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(macKeyCodeForQtKey(r.qtKey, r.keypad), r.mac) << r.what;
    for (const MacKeyMapping &m : macKeyTable())
        EXPECT_EQ(macKeyCodeForQtKey(m.qtKey & ~kKeypad, m.qtKey & kKeypad), m.macKeyCode) << m.name;

    const struct {
        Qt::KeyboardModifiers qt;
        std::optional<quint64> mac;
    } modifiers[] = {{Qt::ControlModifier, kFlagCommand},
                     {Qt::AltModifier, kFlagAlternate},
                     {Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier, 0x120000},
                     {Qt::ControlModifier | Qt::MetaModifier, std::nullopt}};
    for (const auto &m : modifiers)
        EXPECT_EQ(macFlagsForQtModifiers(m.qt), m.mac) << m.qt.toInt();
    EXPECT_EQ(modifierSymbolsForFlags(kModifierFlagsMask), QStringLiteral("⌃⌥⇧⌘"));
}

class Cmd2ShortcutRecorder : public ::testing::Test {
protected:
    void SetUp() override
    {
        binder.setAllowAnyShortcutWithOptionModifier(true);
        recorder.setBeep([this] { ++beeps; });
        QObject::connect(&recorder, &ShortcutRecorder::valueChanged, [this] { ++changes; });
        recorder.resize(202, 34);
        recorder.show();
    }
    void record(int key, Qt::KeyboardModifiers modifiers)
    {
        if (!recorder.isRecording())
            QTest::mouseClick(&recorder, Qt::LeftButton, {}, QPoint(40, 17));
        QTest::keyClick(&recorder, Qt::Key(key), modifiers);
    }

    MemoryKeyValueStore store;
    FakeGlobalShortcuts grabs;
    platform::ShortcutBinder binder{store, &grabs};
    ShortcutRecorder recorder{&binder};
    int beeps = 0;
    int changes = 0;
};

TEST_F(Cmd2ShortcutRecorder, RecordsAcceptedChordsAndBeepsAtTheOthers)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::optional<Shortcut> value;
        const char *symbols, *shown;
    } rows[] = {
        {Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier, Shortcut{40, 0x120000}, "⇧⌘", "Ctrl+Shift+K"},
        {Qt::Key_S, Qt::AltModifier, Shortcut{1, 0x80000}, "⌥", "Alt+S"},
        {Qt::Key_F5, Qt::NoModifier, Shortcut{96, 0}, "", "F5"},
        {Qt::Key_K, Qt::NoModifier, std::nullopt, "", ""},
        {Qt::Key_K, Qt::ShiftModifier, std::nullopt, "", ""},
        {Qt::Key_K, Qt::MetaModifier | Qt::ControlModifier, std::nullopt, "", ""}, // Super+Ctrl+K
        {Qt::Key_MediaPlay, Qt::ControlModifier, std::nullopt, "", ""},
    };
    for (const auto &r : rows) {
        recorder.setValue(std::nullopt);
        beeps = changes = 0;
        record(r.key, r.modifiers);
        EXPECT_EQ(recorder.value(), r.value) << r.shown;
        EXPECT_EQ(recorder.symbols(), QString::fromUtf8(r.symbols)) << r.shown;
        EXPECT_EQ(recorder.displayText(), QString::fromLatin1(r.shown));
        EXPECT_EQ(beeps, r.value ? 0 : 1) << r.shown;
        EXPECT_EQ(changes, r.value ? 1 : 0) << r.shown;
        EXPECT_EQ(recorder.isRecording(), !r.value) << "a refused chord leaves the recording open";
        QTest::keyClick(&recorder, Qt::Key_Escape);
        EXPECT_FALSE(recorder.isRecording());
    }
    EXPECT_TRUE(store.keys().isEmpty()) << "unbound: nothing is stored";
}

TEST_F(Cmd2ShortcutRecorder, EscapeAStrayReleaseOrLostFocusCancelKeepingTheValue)
{
    recorder.setValue(Shortcut{96, 0});
    QFocusEvent focusOut(QEvent::FocusOut);
    const std::function<void()> cancels[] = {
        [&] { QTest::keyClick(&recorder, Qt::Key_Escape); },
        [&] { QTest::keyRelease(&recorder, Qt::Key_J); }, // held before the recording began
        [&] { QApplication::sendEvent(&recorder, &focusOut); },
    };
    for (const auto &cancel : cancels) {
        QTest::mouseClick(&recorder, Qt::LeftButton, {}, QPoint(40, 17));
        ASSERT_TRUE(recorder.isRecording());
        cancel();
        EXPECT_FALSE(recorder.isRecording());
        EXPECT_EQ(recorder.value(), (Shortcut{96, 0}));
    }
    EXPECT_EQ(beeps, 0);

    recorder.setReadOnly(true); // the command list's cells
    record(Qt::Key_J, Qt::ControlModifier);
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(recorder.value(), (Shortcut{96, 0}));
}

TEST_F(Cmd2ShortcutRecorder, BoundWritesThroughTheBinderAndClearingStoresNone)
{
    const QString key = QStringLiteral("SnipShortcutKey");
    binder.registerDefaults({{key, {1, kFlagAlternate}}});
    binder.bindShortcutWithDefaultsKey(key, [] {});
    recorder.setAssociatedUserDefaultsKey(key);
    EXPECT_EQ(recorder.displayText(), QStringLiteral("Alt+S")) << "the registered default";

    record(Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(store.jsonObject(key), (QJsonObject{{"keyCode", 40}, {"modifierFlags", 1179648}}));
    EXPECT_TRUE(grabs.isGrabbed(40, 0x120000));
    EXPECT_EQ(grabs.grabs.size(), 1u);

    QTest::mouseClick(&recorder, Qt::LeftButton, {}, QPoint(202 - ShortcutRecorder::kClearWidth / 2, 17));
    EXPECT_EQ(store.stringValue(key), QStringLiteral("{}"));
    EXPECT_EQ(recorder.value(), std::nullopt) << "no shortcut, and no default either";
    EXPECT_TRUE(grabs.grabs.empty());
    EXPECT_EQ(changes, 2);

    store.setValue(key, QStringLiteral(R"({"keyCode":40,"modifierFlags":1310720})")); // ⌃⌘K made on a Mac
    EXPECT_EQ(recorder.displayText(), QStringLiteral("Ctrl+K"));
    store.setValue(key, QStringLiteral("not json"));
    EXPECT_EQ(recorder.displayText(), QStringLiteral("Alt+S"));
    EXPECT_TRUE(qxLoggedOnce("shortcut:" + key));

    recorder.setAssociatedUserDefaultsKey(QString()); // an empty key is no key
    record(Qt::Key_F6, Qt::NoModifier);
    EXPECT_EQ(recorder.value(), (Shortcut{97, 0}));
    EXPECT_EQ(store.stringValue(key), QStringLiteral("not json"));
}
