// The shell's monitors and shortcut on a real X server: another process's text
// selected with the mouse, keys and clicks made through XTest.
#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "ScopedUserInfoData.h"
#include "SelectionCopyMonitor.h"
#include "SnipShortcut.h"
#include "XTestDriver.h"
#include "platform/ShortcutBinder.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/X11GlobalShortcuts.h"
#include "platform/linux/X11SelectionCopier.h"
#include "platform/linux/XRecordMouseMonitor.h"

#include <QProcess>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <gtest/gtest.h>

namespace {

using namespace platform::linuxbackend;

class ShellX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!onXServer())
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        state->setWordInputSwitch(true);
        state->setMouseIsConnect(true);
        monitor.start();
        ASSERT_TRUE(QTest::qWaitFor([this] { return mouse.isRecording(); }, 5000));
    }
    // A drag, and the copy 200 ms (virtual) after the selection's owner had its turn
    // (up to ownerMs: another process on a busy machine).
    void dragAndCopy(QPoint from, QPoint to, int ownerMs)
    {
        driver.drag(from, to);
        QThread::msleep(100); // busy: the owner may take the selection before we see the press
        ASSERT_TRUE(QTest::qWaitFor([&] { return state->isManualSendCopy(); }, 5000));
        (void)QTest::qWaitFor([&] { return copier.selectionChangedSinceGesture(); }, ownerMs);
        scheduler.advance(SelectionCopyMonitor::kCopyDelayMs);
    }

    ScopedUserInfoData state;
    ManualScheduler scheduler;
    QtClipboard clipboard;
    X11SelectionCopier copier{clipboard};
    XRecordMouseMonitor mouse;
    CallLog log;
    FakeTranslateManager translate{log};
    SelectionCopyMonitor monitor{{&state.state(), &clipboard, &copier, &mouse, &scheduler, &translate, {}, {}, {}}};
    XTestDriver driver;
};

TEST_F(ShellX11, DraggedTextIsCopiedAndThePictureOnTheClipboardSurvives)
{
    QProcess helper;
    helper.start(QStringLiteral(QX_SELECTION_HELPER), {"40", "300", "quick brown fox"});
    ASSERT_TRUE(helper.waitForReadyRead(10000)) << "the helper did not start";
    const auto picture = readSelectionAsOtherClient("CLIPBOARD", "image/png");
    ASSERT_TRUE(picture && !picture->isEmpty());

    dragAndCopy({41, 320}, {420, 320}, 5000);
    EXPECT_EQ(state->pasteboardContent(), QString("quick brown fox"));
    EXPECT_EQ(readSelectionAsOtherClient("CLIPBOARD", "image/png"), picture);
    // Over nothing selectable: PRIMARY still holds the fox, which must not count.
    dragAndCopy({500, 500}, {600, 550}, 300);
    EXPECT_EQ(state->pasteboardContent(), std::nullopt);
    EXPECT_EQ(readSelectionAsOtherClient("CLIPBOARD", "image/png"), picture);
    helper.kill();
    helper.waitForFinished();
}

TEST_F(ShellX11, ClicksOnOurOwnWindowsAreNotSeenUnlessAnotherWindowCoversThem)
{
    QWidget ours;
    ours.setWindowFlags(Qt::FramelessWindowHint);
    ours.setGeometry(300, 300, 200, 100);
    ours.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ours));
    std::vector<QPoint> seen;
    mouse.add(platform::maskOf(platform::MouseEventType::LeftMouseDown),
              [&](const platform::MouseEvent &e) { seen.push_back(e.globalPos); });
    const auto click = [&](QPoint at) {
        driver.moveTo(at);
        driver.button(1, true);
        driver.button(1, false);
    };
    const auto seenLast = [&](QPoint at) { return QTest::qWaitFor([&] { return monitor.lastPoint() == at; }, 5000); };
    click({350, 350});
    click({250, 250});
    ASSERT_TRUE(seenLast({250, 250})); // events come in order: the first was dropped
    EXPECT_EQ(seen, std::vector<QPoint>{QPoint(250, 250)});

    Display *other = XOpenDisplay(nullptr); // another client's window above ours takes the click
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    XMapWindow(other, XCreateWindow(other, DefaultRootWindow(other), 300, 300, 200, 100, 0, 0, InputOnly, nullptr,
                                    CWOverrideRedirect, &attributes));
    XSync(other, False);
    click({360, 360});
    EXPECT_TRUE(seenLast({360, 360}));
    XCloseDisplay(other);
}

// Another client's window with the keyboard focus: counts the presses of S it gets.
class FocusedWindow {
public:
    FocusedWindow() : m_display(XOpenDisplay(nullptr))
    {
        const Window w = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 50, 50, 0, 0, 0);
        XSelectInput(m_display, w, KeyPressMask);
        XMapWindow(m_display, w);
        XSync(m_display, False);
        XSetInputFocus(m_display, w, RevertToPointerRoot, CurrentTime);
        XSync(m_display, False);
    }
    ~FocusedWindow() { XCloseDisplay(m_display); }
    int pressesOfS()
    {
        for (XEvent e; XPending(m_display);) {
            XNextEvent(m_display, &e);
            m_presses += e.type == KeyPress && XLookupKeysym(&e.xkey, 0) == XK_s;
        }
        return m_presses;
    }

private:
    Display *m_display;
    int m_presses = 0;
};

// Alt+S is the application's only while it can start a capture; otherwise the focused
// application gets it. Binding again does not double it.
TEST(SnipShortcutX11, AltSIsTakenOnlyWhileItCanFire)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server; run under xvfb-run";
    ScopedUserInfoData state;
    state->setScreenshotsTranslateSwitch(true);
    X11GlobalShortcuts x11;
    platform::ShortcutBinder binder(state.store(), &x11);
    CallLog log;
    FakeTranslateManager translate(log);
    XTestDriver driver;
    FocusedWindow other;
    const auto altS = [&] {
        driver.key(XK_Alt_L, true);
        driver.key(XK_s, true);
        driver.key(XK_s, false);
        driver.key(XK_Alt_L, false);
    };
    const struct {
        bool connected, on;
        int ours, theirs; // presses seen so far
    } rows[] = {{false, true, 0, 1}, {true, true, 1, 1}, {true, true, 2, 1}, {true, false, 2, 2}, {false, true, 2, 3}};
    for (const auto &row : rows) {
        state->setMouseIsConnect(row.connected);
        state->setScreenshotsTranslateSwitch(row.on);
        EXPECT_EQ(bindSnipShortcut(binder, state.state(), translate), row.connected && row.on);
        altS();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return log.count("snipTranslate") == row.ours && other.pressesOfS() == row.theirs; }, 5000))
            << row.connected << row.on << ": ours " << log.count("snipTranslate") << ", theirs " << other.pressesOfS();
    }
    QTest::qWait(300);
    EXPECT_EQ(log.count("snipTranslate"), 2);
}

} // namespace
