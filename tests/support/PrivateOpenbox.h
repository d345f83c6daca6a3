#pragma once

#include <QProcess>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>

// A reparenting window manager of the test's own on the test's X display (DISPLAY):
// openbox, ready once it owns the display's WM_S<screen> selection, ended with the
// object (the display then has no window manager again). x11 tests take turns on the
// display, so one test's window manager never meets another's windows. A program that
// uses it links xcb.
class PrivateOpenbox {
public:
    PrivateOpenbox()
    {
        m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        m_ready = m_process.waitForStarted(5000) && QTest::qWaitFor([] { return managed(); }, 10000);
    }
    ~PrivateOpenbox()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        (void)QTest::qWaitFor([] { return !managed(); }, 5000);
    }
    PrivateOpenbox(const PrivateOpenbox &) = delete;
    PrivateOpenbox &operator=(const PrivateOpenbox &) = delete;
    bool ready() const { return m_ready; }

    // Whether a window manager holds the display.
    static bool managed()
    {
        int screen = 0;
        xcb_connection_t *c = xcb_connect(nullptr, &screen);
        const QByteArray name = "WM_S" + QByteArray::number(screen);
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr);
        xcb_get_selection_owner_reply_t *owner =
            atom ? xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr) : nullptr;
        const bool owned = owner && owner->owner != XCB_NONE;
        std::free(owner);
        std::free(atom);
        xcb_disconnect(c);
        return owned;
    }

private:
    QProcess m_process;
    bool m_ready = false;
};
