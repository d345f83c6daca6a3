#pragma once

#include <QList>
#include <QPair>
#include <QRect>
#include <QSize>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

// The mapped top-level windows; with `size`, those of that size only.
inline QList<QPair<xcb_window_t, QRect>> topLevels(QSize size = {})
{
    QList<QPair<xcb_window_t, QRect>> found;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return found;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr), &free);
    const int n = tree ? xcb_query_tree_children_length(tree.get()) : 0;
    const xcb_window_t *children = tree ? xcb_query_tree_children(tree.get()) : nullptr;
    for (int i = 0; i < n; ++i) {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> attrs(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr), &free);
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> g(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, children[i]), nullptr), &free);
        if (attrs && g && attrs->map_state == XCB_MAP_STATE_VIEWABLE
            && (size.isEmpty() || (g->width == size.width() && g->height == size.height())))
            found.append({children[i], QRect(g->x, g->y, g->width, g->height)});
    }
    xcb_disconnect(c);
    return found;
}
