#include "X11WindowOwner.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform::linuxbackend {
namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T *r)
{
    return Reply<T>(r, &std::free);
}
// An error is taken here, not left to the toolkit's event queue (which would log it).
template <typename T, typename Cookie>
Reply<T> answer(xcb_connection_t *c, Cookie cookie, T *(*wait)(xcb_connection_t *, Cookie, xcb_generic_error_t **))
{
    xcb_generic_error_t *error = nullptr;
    Reply<T> r = reply(wait(c, cookie, &error));
    std::free(error);
    return r;
}

// X-Resource 1.2's QueryClientIds, sent by hand: its xcb binding is one more library
// for one request. The server learns a local client's process id from the socket,
// which no client can make up.
xcb_extension_t g_xres = {"X-Resource", 0};
constexpr quint8 kQueryClientIds = 4;
constexpr quint32 kClientPidMask = 2;

struct QueryClientIds {
    quint8 major = 0; // filled in by xcb
    quint8 minor = kQueryClientIds;
    quint16 length = 0; // filled in by xcb
    quint32 specs = 1;
    quint32 client = 0; // any resource of the client
    quint32 mask = kClientPidMask;
};
static_assert(sizeof(QueryClientIds) == 16);

// The process behind the client that made `window`; nullopt when the server cannot tell
// (no extension, a remote client).
std::optional<qint64> serverKnownPid(xcb_connection_t *c, quint32 window)
{
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &g_xres);
    if (!ext || !ext->present)
        return std::nullopt;
    QueryClientIds request;
    request.client = window;
    iovec parts[3] = {};
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    const xcb_protocol_request_t protocol = {1, &g_xres, kQueryClientIds, 0};
    const unsigned sequence = xcb_send_request(c, XCB_REQUEST_CHECKED, parts + 2, &protocol);
    xcb_generic_error_t *error = nullptr;
    auto ids = reply(static_cast<quint8 *>(xcb_wait_for_reply(c, sequence, &error)));
    std::free(error);
    if (!ids)
        return std::nullopt;
    // 32 bytes of header, then per id: client, mask, length in bytes, the value.
    quint32 words = 0;
    quint32 count = 0;
    std::memcpy(&words, ids.get() + 4, 4);
    std::memcpy(&count, ids.get() + 8, 4);
    const quint64 size = 32 + quint64(words) * 4;
    for (quint64 at = 32; count-- > 0 && at + 12 <= size;) {
        quint32 mask = 0;
        quint32 length = 0;
        std::memcpy(&mask, ids.get() + at + 4, 4);
        std::memcpy(&length, ids.get() + at + 8, 4);
        if (at + 12 + quint64(length) > size)
            break;
        if (mask == kClientPidMask && length == 4) {
            quint32 pid = 0;
            std::memcpy(&pid, ids.get() + at + 12, 4);
            return qint64(pid);
        }
        at += 12 + (quint64(length) + 3) / 4 * 4;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> windowNotOwnedBy(xcb_connection_t *c, quint32 window, qint64 pid)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    if (window == 0 || pid <= 0)
        return QStringLiteral("is no window");
    if ((window & ~setup->resource_id_mask) == setup->resource_id_base)
        return QStringLiteral("is not its own (a window of the companion's own)");
    // _NET_WM_PID is what the window says of itself: any client can set it on any window.
    const std::optional<qint64> owner = serverKnownPid(c, window);
    if (!owner)
        return QStringLiteral("cannot be shown to be its own: the X server names no process behind it (no "
                              "X-Resource), and _NET_WM_PID alone is not believed");
    if (*owner != pid)
        return QStringLiteral("is not its own (a window of process %1)").arg(*owner);
    return std::nullopt;
}

bool windowExists(xcb_connection_t *c, quint32 window)
{
    return window != 0 && answer(c, xcb_get_window_attributes(c, window), &xcb_get_window_attributes_reply);
}

} // namespace platform::linuxbackend
