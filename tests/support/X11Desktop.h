#pragma once

// The windows of an X display as a user sees them, with or without a window manager.
// A reparenting manager (openbox, scripts/on-openbox) puts each window it manages in a
// frame of its own, a child of the root window; the application's window is the one in
// the frame that carries WM_STATE. Without a manager, and for the windows none manages
// (menus, pop-ups, tool tips), the root's children are the windows themselves.
// Programs that include this link xcb (PkgConfig::XCBLIBS).
#include <QList>
#include <QRect>
#include <QSize>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include <unistd.h>

namespace x11desktop {

template <typename T> using Reply = std::unique_ptr<T, decltype(&free)>;

inline xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr), &free);
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

inline xcb_window_t rootOf(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// The first 32-bit value of a window's property.
inline std::optional<uint32_t> cardinal(xcb_connection_t *c, xcb_window_t w, xcb_atom_t property,
                                        xcb_atom_t type = XCB_ATOM_CARDINAL)
{
    Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 1), nullptr), &free);
    if (!r || r->format != 32 || xcb_get_property_value_length(r.get()) < 4)
        return std::nullopt;
    return *static_cast<const uint32_t *>(xcb_get_property_value(r.get()));
}

// Whether a window manager runs on the display (it names itself on the root window).
inline bool windowManagerRunning(xcb_connection_t *c)
{
    return cardinal(c, rootOf(c), atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).has_value();
}

inline QList<xcb_window_t> children(xcb_connection_t *c, xcb_window_t w)
{
    QList<xcb_window_t> out;
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr), &free);
    if (tree) {
        const xcb_window_t *list = xcb_query_tree_children(tree.get());
        out = QList<xcb_window_t>(list, list + xcb_query_tree_children_length(tree.get()));
    }
    return out;
}

// The managed window under a child of the root (the nearest that carries WM_STATE), or
// the child itself when none does.
inline xcb_window_t clientIn(xcb_connection_t *c, xcb_window_t top, xcb_atom_t wmState)
{
    QList<xcb_window_t> level{top};
    for (int depth = 0; depth < 4 && !level.isEmpty(); ++depth) {
        QList<xcb_window_t> next;
        for (xcb_window_t w : level) {
            Reply<xcb_get_property_reply_t> r(
                xcb_get_property_reply(c, xcb_get_property(c, 0, w, wmState, XCB_ATOM_ANY, 0, 0), nullptr), &free);
            if (r && r->type != XCB_ATOM_NONE)
                return w;
            next += children(c, w);
        }
        level = next;
    }
    return top;
}

// Where a window is on the screen, and its size.
inline QRect screenRect(xcb_connection_t *c, xcb_window_t w)
{
    Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr), &free);
    Reply<xcb_translate_coordinates_reply_t> at(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, w, rootOf(c), 0, 0), nullptr), &free);
    return g && at ? QRect(at->dst_x, at->dst_y, g->width, g->height) : QRect();
}

struct TopLevel {
    xcb_window_t window;
    QRect rect; // on the screen
};

// The shown top-level windows, bottom to top; with `size`, those of that size only.
inline QList<TopLevel> shownTopLevels(xcb_connection_t *c, QSize size = {})
{
    QList<TopLevel> found;
    const xcb_atom_t wmState = atom(c, "WM_STATE");
    for (xcb_window_t top : children(c, rootOf(c))) {
        const xcb_window_t w = clientIn(c, top, wmState);
        Reply<xcb_get_window_attributes_reply_t> attrs(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr), &free);
        if (!attrs || attrs->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const QRect r = screenRect(c, w);
        if (!r.isNull() && (size.isEmpty() || r.size() == size))
            found.append({w, r});
    }
    return found;
}

// The same on a connection of its own.
inline QList<TopLevel> shownTopLevels(QSize size = {})
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    QList<TopLevel> found;
    if (!xcb_connection_has_error(c))
        found = shownTopLevels(c, size);
    xcb_disconnect(c);
    return found;
}

// The process that made a window (_NET_WM_PID), 0 when it does not say.
inline qint64 processOf(xcb_connection_t *c, xcb_window_t w)
{
    return cardinal(c, w, atom(c, "_NET_WM_PID")).value_or(0);
}

// Waits until the window manager has handled every event before this call: it holds a
// click on a window until it has given that window the focus, and keys typed meanwhile
// would reach the window before the click does. (Asked for the frame a new window
// would get, it answers with a property on that window, in turn.) Returns at once
// without a manager.
inline bool settle(xcb_connection_t *c, int timeoutMs = 5000)
{
    if (!windowManagerRunning(c))
        return true;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t probe = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, 0, nullptr);
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    xcb_client_message_event_t m{};
    m.response_type = XCB_CLIENT_MESSAGE;
    m.format = 32;
    m.window = probe;
    m.type = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&m));
    bool answered = false;
    for (int waited = 0; !answered && waited < timeoutMs; waited += 5) {
        answered = cardinal(c, probe, extents).has_value();
        if (!answered)
            usleep(5000);
    }
    xcb_destroy_window(c, probe);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return answered;
}

// Brings a window to the front with the keyboard, as a click on it does: through the
// window manager when one runs (a raise of the window itself would only raise it in
// its frame), by hand otherwise. Waits until the server has carried it out.
inline void activate(xcb_connection_t *c, xcb_window_t w)
{
    if (windowManagerRunning(c)) {
        xcb_client_message_event_t m{};
        m.response_type = XCB_CLIENT_MESSAGE;
        m.format = 32;
        m.window = w;
        m.type = atom(c, "_NET_ACTIVE_WINDOW");
        m.data.data32[0] = 2; // from a pager: the user's own request
        m.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&m));
    } else {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(c, w, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    }
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, w, XCB_CURRENT_TIME);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace x11desktop
