// Against a real X server: synthesised keys reach the focused window of a Qt
// application with the right key and modifiers and leave no key held, and text put
// on the clipboard travels to and from another X client.
#include "PZPasteboard.h"
#include "XTestDriver.h"
#include "delivery/TextInsertionService.h"
#include "platform/linux/LinuxDesktopServices.h"
#include "platform/linux/QtClipboard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <xcb/xcb.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <poll.h>
#include <thread>

#include <gtest/gtest.h>

namespace {

struct KeyRecord {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool press;
};

class RecordingLineEdit : public QLineEdit {
public:
    std::vector<KeyRecord> keys;
    int count(int key, bool press) const
    {
        return int(std::count_if(keys.begin(), keys.end(),
                                 [&](const KeyRecord &k) { return k.key == key && k.press == press; }));
    }
    std::optional<KeyRecord> firstPress(int key) const
    {
        for (const KeyRecord &k : keys)
            if (k.key == key && k.press)
                return k;
        return std::nullopt;
    }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        keys.push_back({e->key(), e->modifiers(), true});
        QLineEdit::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent *e) override
    {
        keys.push_back({e->key(), e->modifiers(), false});
        QLineEdit::keyReleaseEvent(e);
    }
};

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_NONE;
    free(r);
    return a;
}

xcb_window_t makeWindow(xcb_connection_t *c)
{
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      screen->root_visual, 0, nullptr);
    return w;
}

std::optional<QString> readClipboardAsOtherClient()
{
    const auto bytes = readSelectionAsOtherClient("CLIPBOARD", "UTF8_STRING");
    return bytes ? std::optional<QString>(QString::fromUtf8(*bytes)) : std::nullopt;
}

// Another application that copied text: owns the CLIPBOARD and serves it as UTF-8
// from a thread of its own until destroyed.
class OtherClientOwner {
public:
    explicit OtherClientOwner(const QByteArray &utf8) : m_text(utf8)
    {
        m_c = xcb_connect(nullptr, nullptr);
        m_window = makeWindow(m_c);
        m_clipboard = atom(m_c, "CLIPBOARD");
        m_utf8 = atom(m_c, "UTF8_STRING");
        m_targets = atom(m_c, "TARGETS");
        xcb_set_selection_owner(m_c, m_window, m_clipboard, XCB_CURRENT_TIME);
        xcb_flush(m_c);
        m_thread = std::thread([this] { serve(); });
    }
    ~OtherClientOwner()
    {
        m_stop = true;
        m_thread.join();
        xcb_disconnect(m_c);
    }

private:
    void serve()
    {
        pollfd fd{xcb_get_file_descriptor(m_c), POLLIN, 0};
        while (!m_stop) {
            while (xcb_generic_event_t *ev = xcb_poll_for_event(m_c)) {
                if ((ev->response_type & 0x7f) == XCB_SELECTION_REQUEST)
                    answer(*reinterpret_cast<xcb_selection_request_event_t *>(ev));
                free(ev);
            }
            poll(&fd, 1, 20);
        }
    }
    void answer(const xcb_selection_request_event_t &req)
    {
        xcb_atom_t prop = req.property ? req.property : req.target;
        if (req.target == m_targets) {
            const xcb_atom_t list[] = {m_targets, m_utf8};
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, req.requestor, prop, XCB_ATOM_ATOM, 32, 2, list);
        } else if (req.target == m_utf8) {
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, req.requestor, prop, m_utf8, 8, uint32_t(m_text.size()),
                                m_text.constData());
        } else {
            prop = XCB_NONE;
        }
        xcb_selection_notify_event_t n{};
        n.response_type = XCB_SELECTION_NOTIFY;
        n.time = req.time;
        n.requestor = req.requestor;
        n.selection = req.selection;
        n.target = req.target;
        n.property = prop;
        xcb_send_event(m_c, 0, req.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&n));
        xcb_flush(m_c);
    }

    QByteArray m_text;
    xcb_connection_t *m_c = nullptr;
    xcb_window_t m_window = 0;
    xcb_atom_t m_clipboard = 0, m_utf8 = 0, m_targets = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class X11KeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!onXServer())
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        services = std::make_unique<platform::linuxbackend::LinuxDesktopServices>();
        ASSERT_TRUE(platform::services().keyPoster->isAvailable());
        edit.resize(300, 40);
        edit.move(100, 100);
        edit.show();
        edit.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
        // Without a window manager the focus may follow the pointer; keep it inside.
        driver.moveTo(edit.mapToGlobal(edit.rect().center()));
    }

    std::unique_ptr<platform::linuxbackend::LinuxDesktopServices> services;
    XTestDriver driver;
    RecordingLineEdit edit;
};

} // namespace

TEST_F(X11KeysTest, PasteReachesTheFocusedWindowAsControlVAndReleasesEverything)
{
    TextInsertionService tool{{*platform::services().clipboard, *platform::services().keyPoster}};
    tool.pasteText("粘贴 pasted text", {.chord = ITextInsertion::Chord::KeyEvents, .restoreClipboard = false});
    QTRY_COMPARE_WITH_TIMEOUT(edit.text(), QString("粘贴 pasted text"), 5000);
    const auto press = edit.firstPress(Qt::Key_V);
    ASSERT_TRUE(press.has_value());
    EXPECT_EQ(press->modifiers, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(edit.count(Qt::Key_Control, false), 1, 5000);
    EXPECT_EQ(edit.count(Qt::Key_V, true), 1) << "one paste, no auto-repeat";
    EXPECT_EQ(edit.count(Qt::Key_V, false), 1);
    EXPECT_EQ(driver.keysHeld(), 0);
}

TEST_F(X11KeysTest, RecordedShortcutArrivesWithItsModifiers)
{
    TextInsertionService tool{{*platform::services().clipboard, *platform::services().keyPoster}};
    ASSERT_TRUE(tool.handleShortcut(QStringLiteral(R"({"keyCode":12,"modifierFlagsString":"⌃⌥"})")));
    QTRY_VERIFY_WITH_TIMEOUT(edit.firstPress(Qt::Key_Q).has_value(), 5000);
    EXPECT_EQ(edit.firstPress(Qt::Key_Q)->modifiers, Qt::ControlModifier | Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(edit.count(Qt::Key_Control, false) + edit.count(Qt::Key_Alt, false), 2, 5000);
    EXPECT_EQ(driver.keysHeld(), 0);

    // Return and the forward-delete key of the table reach the window as themselves.
    EXPECT_TRUE(platform::services().keyPoster->postKeyStroke(36, 0));
    QTRY_VERIFY_WITH_TIMEOUT(edit.firstPress(Qt::Key_Return).has_value(), 5000);
    EXPECT_FALSE(platform::services().keyPoster->postKeyStroke(10, 0)) << "unmapped codes post nothing";
}

TEST(X11ClipboardTest, TextTravelsBetweenUsAndAnotherClient)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server; run under xvfb-run";
    platform::linuxbackend::QtClipboard clipboard;

    ASSERT_TRUE(pz_generalPasteboardSetString("剪贴板 round trip", &clipboard));
    EXPECT_EQ(readClipboardAsOtherClient(), std::optional<QString>("剪贴板 round trip"));

    // A paste's text tells when another client takes it; our own reads do not count.
    int taken = 0;
    ASSERT_TRUE(clipboard.setWatchedText("watched", [&taken] { ++taken; }));
    EXPECT_EQ(clipboard.text(), "watched");
    EXPECT_EQ(clipboard.snapshot()->text(), "watched");
    EXPECT_EQ(taken, 0);
    EXPECT_EQ(readClipboardAsOtherClient(), std::optional<QString>("watched"));
    EXPECT_GT(taken, 0);

    {
        OtherClientOwner other("copied elsewhere ✓");
        QTRY_COMPARE_WITH_TIMEOUT(clipboard.text(), QString("copied elsewhere ✓"), 5000);
    }

    EXPECT_FALSE(pz_generalPasteboardSetString("", &clipboard));
    EXPECT_TRUE(clipboard.text().isEmpty());
    const auto afterClear = readClipboardAsOtherClient();
    EXPECT_TRUE(!afterClear || afterClear->isEmpty());
}
