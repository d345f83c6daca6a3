// A small XEmbed system-tray host for the idle bench (bench/idle_cost.py): it owns the
// screen's tray selection, docks every icon that asks, and reports on stdout when an
// icon docked and when its pixels first changed (it is painted), as CLOCK_MONOTONIC
// seconds, the clock Python's time.monotonic() reads:
//
//   ready
//   docked <window> <seconds>
//   painted <window> <seconds>
//
// Only what a Qt tray icon needs of the protocol: the MANAGER announcement, the dock
// request, reparenting into a strip of 24-pixel cells and the embedded notification.
#include <xcb/xcb.h>

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 24;
constexpr int kIcon = 22;
constexpr int kCells = 8;
constexpr uint32_t kHostColour = 0xff00ff; // what an icon that has not painted shows
constexpr uint32_t kDockRequest = 0;       // SYSTEM_TRAY_REQUEST_DOCK
constexpr uint32_t kEmbeddedNotify = 0;    // XEMBED_EMBEDDED_NOTIFY

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

xcb_atom_t atom(xcb_connection_t *c, const std::string &name)
{
    xcb_intern_atom_reply_t *r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.c_str()), nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    std::free(r);
    return a;
}

// The icon's pixels, or empty while it cannot be read (not viewable, or gone).
std::string pixels(xcb_connection_t *c, xcb_window_t w)
{
    xcb_get_image_reply_t *r =
        xcb_get_image_reply(c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, kIcon, kIcon, ~0u), nullptr);
    if (!r)
        return {};
    std::string out(reinterpret_cast<const char *>(xcb_get_image_data(r)), size_t(xcb_get_image_data_length(r)));
    std::free(r);
    return out;
}

struct Icon {
    std::string before; // its pixels right after it was mapped
    bool painted = false;
};

} // namespace

int main()
{
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "tray_host: no X display\n");
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    xcb_screen_t *screen = it.data;

    const xcb_atom_t selection = atom(c, "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber));
    const xcb_atom_t opcode = atom(c, "_NET_SYSTEM_TRAY_OPCODE");
    const xcb_atom_t manager = atom(c, "MANAGER");
    const xcb_atom_t xembed = atom(c, "_XEMBED");
    const xcb_atom_t orientation = atom(c, "_NET_SYSTEM_TRAY_ORIENTATION");

    const xcb_window_t host = xcb_generate_id(c);
    const uint32_t values[] = {kHostColour, 1, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, host, screen->root, 0, 0, kCell * kCells, kCell, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    const uint32_t horizontal = 0;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, host, orientation, XCB_ATOM_CARDINAL, 32, 1, &horizontal);
    xcb_map_window(c, host);
    xcb_set_selection_owner(c, host, selection, XCB_CURRENT_TIME);

    xcb_client_message_event_t announce{};
    announce.response_type = XCB_CLIENT_MESSAGE;
    announce.format = 32;
    announce.window = screen->root;
    announce.type = manager;
    announce.data.data32[0] = XCB_CURRENT_TIME;
    announce.data.data32[1] = selection;
    announce.data.data32[2] = host;
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY, reinterpret_cast<const char *>(&announce));
    xcb_flush(c);
    std::printf("ready\n");
    std::fflush(stdout);

    std::map<xcb_window_t, Icon> icons;
    int next = 0;
    for (;;) {
        bool waiting = false;
        for (const auto &[w, icon] : icons)
            waiting = waiting || !icon.painted;
        // While an icon has not painted, look at it every millisecond.
        pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&p, 1, waiting ? 1 : -1);
        while (xcb_generic_event_t *e = xcb_poll_for_event(c)) {
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_CLIENT_MESSAGE) {
                auto *m = reinterpret_cast<xcb_client_message_event_t *>(e);
                if (m->type == opcode && m->data.data32[1] == kDockRequest) {
                    const xcb_window_t icon = m->data.data32[2];
                    std::printf("docked %u %.6f\n", icon, now());
                    std::fflush(stdout);
                    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
                    xcb_change_window_attributes(c, icon, XCB_CW_EVENT_MASK, &mask);
                    xcb_reparent_window(c, icon, host, int16_t(kCell * (next++ % kCells) + 1), 1);
                    const uint32_t size[] = {kIcon, kIcon};
                    xcb_configure_window(c, icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
                    xcb_map_window(c, icon);
                    xcb_client_message_event_t notify{};
                    notify.response_type = XCB_CLIENT_MESSAGE;
                    notify.format = 32;
                    notify.window = icon;
                    notify.type = xembed;
                    notify.data.data32[0] = XCB_CURRENT_TIME;
                    notify.data.data32[1] = kEmbeddedNotify;
                    notify.data.data32[3] = host;
                    xcb_send_event(c, 0, icon, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&notify));
                    xcb_flush(c);
                    icons[icon].before = pixels(c, icon);
                }
            } else if (type == XCB_DESTROY_NOTIFY) {
                icons.erase(reinterpret_cast<xcb_destroy_notify_event_t *>(e)->window);
            }
            std::free(e);
        }
        if (xcb_connection_has_error(c))
            return 1;
        for (auto &[w, icon] : icons) {
            if (icon.painted)
                continue;
            const std::string seen = pixels(c, w);
            if (icon.before.empty()) {
                icon.before = seen;
            } else if (!seen.empty() && seen != icon.before) {
                icon.painted = true;
                std::printf("painted %u %.6f\n", w, now());
                std::fflush(stdout);
            }
        }
    }
}
