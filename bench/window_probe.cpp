// The X side of bench/window_cost.py: clicks as a user would (XTest) and watches the
// screen for what the click brought, timing both from the moment the click was sent.
// One command a line on stdin, one answer a line on stdout; times in milliseconds,
// coordinates on the root window:
//
//   centre <window>                       -> at <x> <y>        (a docked tray icon, say)
//   wait-window <w> <h> <timeout-s>       -> window <id> <x> <y> | none
//   click <x> <y>                         -> clicked
//   click-show <x> <y> <min-w> <min-h> <timeout-s> [<look-w> <look-h>]
//       a top-level window of at least that size that was not viewable before the click:
//       -> shown <id> <x> <y> <w> <h> <ms-to-mapped> <ms-to-painted> | none
//       (painted: every 8th row of its top-left look-w x look-h, by default all of it, is
//       no longer all one colour; a small corner keeps the reads light on the server)
//   click-show <x> <y> <min-w> <min-h> <timeout-s> <look-w> <look-h> <rrggbb>
//       as above, then waits on for a pixel of that colour where the window is on the
//       screen (every 8th row): -> shown ... <ms-to-painted> <ms-to-colour>, -1 when it
//       never came (another program's window inside it, as a web page, paints on its own
//       time, and is read from the screen since its depth may differ from the window's)
//   click-change <x> <y> <rx> <ry> <rw> <rh> <timeout-s>
//       -> changed <ms> | none   (the pixels of that rectangle differ from before the click;
//       every 8th row is read, so that the reads stay light on the server)
//   close <window> <timeout-s>            -> closed <ms> | none
//       (WM_DELETE_WINDOW, as a window manager's close button sends it)
//
// Without a window manager the top-level windows are the root's children.
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

xcb_connection_t *g_c = nullptr;
xcb_window_t g_root = 0;

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T *r)
{
    return Reply<T>(r, &std::free);
}

double nowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

xcb_atom_t atom(const char *name)
{
    auto r =
        reply(xcb_intern_atom_reply(g_c, xcb_intern_atom(g_c, 0, uint16_t(std::string(name).size()), name), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::optional<Rect> viewableGeometry(xcb_window_t w)
{
    auto attrs = reply(xcb_get_window_attributes_reply(g_c, xcb_get_window_attributes(g_c, w), nullptr));
    auto g = reply(xcb_get_geometry_reply(g_c, xcb_get_geometry(g_c, w), nullptr));
    if (!attrs || !g || attrs->map_state != XCB_MAP_STATE_VIEWABLE)
        return std::nullopt;
    return Rect{g->x, g->y, g->width, g->height};
}

std::vector<xcb_window_t> topLevels()
{
    auto tree = reply(xcb_query_tree_reply(g_c, xcb_query_tree(g_c, g_root), nullptr));
    if (!tree)
        return {};
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

std::set<xcb_window_t> viewableTopLevels()
{
    std::set<xcb_window_t> out;
    for (xcb_window_t w : topLevels())
        if (viewableGeometry(w))
            out.insert(w);
    return out;
}

// Every step-th row of the rectangle, asked for at once.
std::string rows(xcb_drawable_t d, const Rect &r, int step)
{
    std::vector<xcb_get_image_cookie_t> cookies;
    for (int y = r.y; y < r.y + r.h; y += step)
        cookies.push_back(
            xcb_get_image(g_c, XCB_IMAGE_FORMAT_Z_PIXMAP, d, int16_t(r.x), int16_t(y), uint16_t(r.w), 1, ~0u));
    std::string out;
    for (xcb_get_image_cookie_t cookie : cookies) {
        auto img = reply(xcb_get_image_reply(g_c, cookie, nullptr));
        if (!img)
            return {};
        out.append(reinterpret_cast<const char *>(xcb_get_image_data(img.get())),
                   size_t(xcb_get_image_data_length(img.get())));
    }
    return out;
}

// 32 bits a pixel on the 24-bit screens the benches use.
bool oneColour(const std::string &image)
{
    if (image.size() < 8)
        return true;
    for (size_t i = 4; i + 4 <= image.size(); i += 4)
        if (image.compare(i, 3, image, 0, 3) != 0)
            return false;
    return true;
}

void click(int x, int y)
{
    xcb_test_fake_input(g_c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, g_root, int16_t(x), int16_t(y), 0);
    xcb_test_fake_input(g_c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(g_c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(g_c);
}

void pause()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// 32 bits a pixel, blue first; near enough for a colour a page engine may have managed.
bool hasColour(const std::string &image, unsigned rgb)
{
    for (size_t i = 0; i + 4 <= image.size(); i += 4) {
        bool near = true;
        for (int c = 0; c < 3 && near; ++c)
            near = std::abs(int(uint8_t(image[i + c])) - int((rgb >> (8 * c)) & 0xff)) <= 8;
        if (near)
            return true;
    }
    return false;
}

// The colour most pixels have, as rrggbb (what was there instead).
std::string commonColour(const std::string &image)
{
    std::map<unsigned, int> counts;
    for (size_t i = 0; i + 4 <= image.size(); i += 4)
        ++counts[unsigned(uint8_t(image[i])) | unsigned(uint8_t(image[i + 1])) << 8
                 | unsigned(uint8_t(image[i + 2])) << 16];
    unsigned best = 0;
    int most = 0;
    for (const auto &[colour, n] : counts)
        if (n > most)
            most = n, best = colour;
    char text[8];
    std::snprintf(text, sizeof text, "%06x", best);
    return text;
}

std::string clickShow(int x, int y, int minW, int minH, double timeoutS, int lookW, int lookH,
                      std::optional<unsigned> colour = std::nullopt)
{
    const std::set<xcb_window_t> before = viewableTopLevels();
    const double t0 = nowMs();
    click(x, y);
    xcb_window_t found = XCB_NONE;
    Rect at;
    double mapped = 0;
    while (nowMs() - t0 < timeoutS * 1000) {
        if (found == XCB_NONE) {
            for (xcb_window_t w : topLevels()) {
                if (before.count(w))
                    continue;
                const std::optional<Rect> g = viewableGeometry(w);
                if (g && g->w >= minW && g->h >= minH) {
                    found = w;
                    at = *g;
                    mapped = nowMs() - t0;
                    break;
                }
            }
        }
        if (found != XCB_NONE) {
            const std::string seen = rows(found, Rect{0, 0, std::min(at.w, lookW), std::min(at.h, lookH)}, 8);
            if (!seen.empty() && !oneColour(seen)) {
                std::ostringstream out;
                out << "shown " << found << ' ' << at.x << ' ' << at.y << ' ' << at.w << ' ' << at.h << ' ' << mapped
                    << ' ' << nowMs() - t0;
                if (colour) {
                    double coloured = -1;
                    while (nowMs() - t0 < timeoutS * 1000) {
                        if (hasColour(rows(g_root, at, 8), *colour)) {
                            coloured = nowMs() - t0;
                            break;
                        }
                        pause();
                    }
                    out << ' ' << coloured;
                    if (coloured < 0)
                        out << ' ' << commonColour(rows(g_root, at, 8));
                }
                return out.str();
            }
        }
        pause();
    }
    return "none";
}

std::string clickChange(int x, int y, const Rect &region, double timeoutS)
{
    constexpr int kStep = 8;
    const std::string before = rows(g_root, region, kStep);
    const double t0 = nowMs();
    click(x, y);
    while (nowMs() - t0 < timeoutS * 1000) {
        const std::string seen = rows(g_root, region, kStep);
        if (!seen.empty() && seen != before)
            return "changed " + std::to_string(nowMs() - t0);
        pause();
    }
    return "none";
}

std::string close(xcb_window_t w, double timeoutS)
{
    xcb_client_message_event_t m{};
    m.response_type = XCB_CLIENT_MESSAGE;
    m.format = 32;
    m.window = w;
    m.type = atom("WM_PROTOCOLS");
    m.data.data32[0] = atom("WM_DELETE_WINDOW");
    m.data.data32[1] = XCB_CURRENT_TIME;
    const double t0 = nowMs();
    xcb_send_event(g_c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&m));
    xcb_flush(g_c);
    while (nowMs() - t0 < timeoutS * 1000) {
        if (!viewableGeometry(w))
            return "closed " + std::to_string(nowMs() - t0);
        pause();
    }
    return "none";
}

std::string waitWindow(int w, int h, double timeoutS)
{
    const double t0 = nowMs();
    while (nowMs() - t0 < timeoutS * 1000) {
        for (xcb_window_t win : topLevels()) {
            const std::optional<Rect> g = viewableGeometry(win);
            if (g && g->w == w && g->h == h)
                return "window " + std::to_string(win) + ' ' + std::to_string(g->x) + ' ' + std::to_string(g->y);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "none";
}

std::string centre(xcb_window_t w)
{
    auto g = reply(xcb_get_geometry_reply(g_c, xcb_get_geometry(g_c, w), nullptr));
    auto t = reply(xcb_translate_coordinates_reply(g_c, xcb_translate_coordinates(g_c, w, g_root, 0, 0), nullptr));
    if (!g || !t)
        return "none";
    return "at " + std::to_string(t->dst_x + g->width / 2) + ' ' + std::to_string(t->dst_y + g->height / 2);
}

} // namespace

int main()
{
    g_c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(g_c)) {
        std::fprintf(stderr, "window_probe: no X display\n");
        return 1;
    }
    g_root = xcb_setup_roots_iterator(xcb_get_setup(g_c)).data->root;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string cmd;
        in >> cmd;
        std::string out = "error";
        if (cmd == "centre") {
            xcb_window_t w = 0;
            if (in >> w)
                out = centre(w);
        } else if (cmd == "wait-window") {
            int w = 0, h = 0;
            double t = 0;
            if (in >> w >> h >> t)
                out = waitWindow(w, h, t);
        } else if (cmd == "click") {
            int x = 0, y = 0;
            if (in >> x >> y) {
                click(x, y);
                out = "clicked";
            }
        } else if (cmd == "click-show") {
            int x = 0, y = 0, w = 0, h = 0;
            double t = 0;
            int lookW = 1 << 15, lookH = 1 << 15;
            std::string colour;
            if (in >> x >> y >> w >> h >> t) {
                in >> lookW >> lookH >> colour;
                out =
                    clickShow(x, y, w, h, t, lookW, lookH,
                              colour.empty() ? std::nullopt : std::optional<unsigned>(std::stoul(colour, nullptr, 16)));
            }
        } else if (cmd == "click-change") {
            int x = 0, y = 0;
            Rect r;
            double t = 0;
            if (in >> x >> y >> r.x >> r.y >> r.w >> r.h >> t)
                out = clickChange(x, y, r, t);
        } else if (cmd == "close") {
            xcb_window_t w = 0;
            double t = 0;
            if (in >> w >> t)
                out = close(w, t);
        }
        if (xcb_connection_has_error(g_c))
            return 1;
        std::cout << out << std::endl;
    }
    xcb_disconnect(g_c);
    return 0;
}
