// Against a real X server: keys grabbed through the global-shortcut backend,
// synthesised with XTest on a connection of their own, run the bound action.
#include "CapturedMessages.h"
#include "FakeNeighbours.h"
#include "HidInfoReader.h"
#include "KeyValueStore.h"
#include "ScopedUserInfoData.h"
#include "platform/KeyCodeTable.h"
#include "platform/ShortcutBinder.h"
#include "platform/linux/X11GlobalShortcuts.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <gtest/gtest.h>

namespace {

using platform::linuxbackend::X11GlobalShortcuts;

// Another client typing: XTest on its own display connection.
class Keyboard {
public:
    Keyboard() : m_display(XOpenDisplay(nullptr)) {}
    ~Keyboard()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    Display *display() const { return m_display; }
    // Presses come a few milliseconds after whatever went before: a release and a
    // press with the same time stamp are how the server repeats a held key.
    void key(KeySym sym, bool down)
    {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, sym), down ? True : False, down ? 3 : CurrentTime);
        XSync(m_display, False);
    }
    void tap(KeySym sym)
    {
        key(sym, true);
        key(sym, false);
    }
    void chord(KeySym modifier, KeySym sym)
    {
        key(modifier, true);
        tap(sym);
        key(modifier, false);
    }

private:
    Display *m_display;
};

bool onXServer()
{
    return QGuiApplication::platformName() == "xcb";
}

// Lets the application read what the server sent for a while.
void settle(int ms = 300)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QTest::qWait(20);
}

constexpr int kMacF1 = 122, kMacF2 = 120, kMacF3 = 99;

TEST(ShortcutX11, GrabbedKeyRunsItsActionWhateverTheLockKeys)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server";
    Keyboard kb;
    ASSERT_NE(kb.display(), nullptr);
    X11GlobalShortcuts x11;
    ASSERT_TRUE(x11.isAvailable());

    int f1 = 0, altF2 = 0;
    const auto t1 = x11.grab(kMacF1, 0, [&] { ++f1; });
    const auto t2 = x11.grab(kMacF2, platform::keys::kFlagAlternate, [&] { ++altF2; });
    ASSERT_NE(t1, X11GlobalShortcuts::kNoToken);
    ASSERT_NE(t2, X11GlobalShortcuts::kNoToken);

    kb.tap(XK_F1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f1 == 1; }, 5000));

    kb.tap(XK_Num_Lock); // NumLock on
    kb.tap(XK_F1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f1 == 2; }, 5000));
    kb.tap(XK_Caps_Lock); // both locks on
    kb.tap(XK_F1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f1 == 3; }, 5000));
    kb.tap(XK_Num_Lock);
    kb.tap(XK_Caps_Lock);

    // The modifier belongs to the chord: F2 alone is not it.
    kb.tap(XK_F2);
    kb.chord(XK_Alt_L, XK_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return altF2 == 1; }, 5000));
    settle();
    EXPECT_EQ(altF2, 1);

    // A held key is one press, however long the server repeats it.
    kb.key(XK_F1, true);
    settle(900);
    kb.key(XK_F1, false);
    settle();
    EXPECT_EQ(f1, 4);

    x11.release(t1);
    kb.tap(XK_F1);
    settle();
    EXPECT_EQ(f1, 4);
    x11.release(t2);
}

TEST(ShortcutX11, KeyAnotherClientHoldsIsLoggedNotFatal)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server";
    Keyboard kb, other;
    ASSERT_NE(other.display(), nullptr);
    Display *d = other.display();
    XGrabKey(d, XKeysymToKeycode(d, XK_F3), 0, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync);
    XSync(d, False);

    X11GlobalShortcuts x11;
    int runs = 0;
    CapturedMessages messages;
    const auto token = x11.grab(kMacF3, 0, [&] { ++runs; });
    EXPECT_NE(token, X11GlobalShortcuts::kNoToken);
    EXPECT_EQ(messages.with("F3 is held by another application").size(), 1);
    kb.tap(XK_F3);
    settle();
    EXPECT_EQ(runs, 0); // the other client gets it

    // Unknown keys grab nothing.
    EXPECT_EQ(x11.grab(10, 0, [] {}), X11GlobalShortcuts::kNoToken);
    x11.release(token);
}

TEST(ShortcutX11, ReceiverHotKeysThroughTheRealGrab)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server";
    Keyboard kb;
    ScopedUserInfoData state;
    FakeNeighbours nb;
    X11GlobalShortcuts x11;
    MemoryKeyValueStore store;
    platform::ShortcutBinder binder(store, &x11);
    {
        HidInfoReader::Deps deps;
        deps.seams = nb.seams();
        deps.binder = &binder;
        HidInfoReader reader(deps);
        state->setChipPlan(1);
        reader.registerHotKey(0x13ca, 0x12ac);

        kb.tap(XK_F1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return nb.voice.pressTypes.size() == 1; }, 5000));
        nb.keys.setHadStart(true);
        kb.tap(XK_F1);
        kb.tap(XK_F3);
        EXPECT_TRUE(QTest::qWaitFor([&] { return nb.voice.pressTypes.size() == 3; }, 5000));
        EXPECT_EQ(nb.voice.pressTypes, (std::vector<int>{33, 34, 36}));
    }
    // The reader is gone and took its bindings along: F1 is free again.
    kb.tap(XK_F1);
    settle();
    EXPECT_EQ(nb.voice.pressTypes.size(), 3u);
}

} // namespace
