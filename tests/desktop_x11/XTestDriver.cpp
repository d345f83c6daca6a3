#include "XTestDriver.h"

#include <QGuiApplication>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <xcb/xcb.h>

#include <bitset>
#include <cstdlib>
#include <cstring>

XTestDriver::XTestDriver() : m_display(XOpenDisplay(nullptr)) {}

XTestDriver::~XTestDriver()
{
    if (m_display)
        XCloseDisplay(m_display);
}

void XTestDriver::moveTo(QPoint p)
{
    XTestFakeMotionEvent(m_display, -1, p.x(), p.y(), CurrentTime);
    XSync(m_display, False);
}

void XTestDriver::button(int xButton, bool down)
{
    XTestFakeButtonEvent(m_display, unsigned(xButton), down ? True : False, CurrentTime);
    XSync(m_display, False);
}

void XTestDriver::key(unsigned long keysym, bool down)
{
    // Presses come a few milliseconds after what went before: a release and a press
    // with the same time stamp are how the server repeats a held key.
    XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, keysym), down ? True : False, down ? 3 : CurrentTime);
    XSync(m_display, False);
}

void XTestDriver::drag(QPoint from, QPoint to, int steps)
{
    moveTo(from);
    button(1, true);
    for (int i = 1; i <= steps; ++i)
        moveTo(from + (to - from) * i / steps);
    button(1, false);
}

int XTestDriver::keysHeld()
{
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    int held = 0;
    for (char byte : keys)
        held += int(std::bitset<8>(static_cast<unsigned char>(byte)).count());
    return held;
}

void XTestDriver::typeKey(unsigned long keysym)
{
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    XSync(m_display, False);
}

unsigned long XTestDriver::inputFocus()
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus;
}

bool onXServer()
{
    return QGuiApplication::platformName() == "xcb";
}

namespace {
xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_NONE;
    free(r);
    return a;
}
} // namespace

std::optional<QByteArray> readSelectionAsOtherClient(const char *selection, const char *target)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      screen->root_visual, 0, nullptr);
    const xcb_atom_t prop = atom(c, "QX_TEST_PROP");
    xcb_convert_selection(c, w, atom(c, selection), atom(c, target), prop, XCB_CURRENT_TIME);
    xcb_flush(c);
    std::optional<xcb_selection_notify_event_t> notify;
    (void)QTest::qWaitFor(
        [&] {
            while (xcb_generic_event_t *ev = xcb_poll_for_event(c)) {
                if ((ev->response_type & 0x7f) == XCB_SELECTION_NOTIFY)
                    notify = *reinterpret_cast<xcb_selection_notify_event_t *>(ev);
                free(ev);
            }
            return notify.has_value();
        },
        5000);
    std::optional<QByteArray> data;
    if (notify && notify->property != XCB_NONE) {
        xcb_get_property_reply_t *r =
            xcb_get_property_reply(c, xcb_get_property(c, 1, w, prop, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr);
        if (r) {
            data = QByteArray(static_cast<const char *>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
            free(r);
        }
    }
    xcb_disconnect(c);
    return data;
}
