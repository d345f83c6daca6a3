#pragma once

#include <QString>

#include <optional>

struct xcb_connection_t;

namespace platform::linuxbackend {

// Whether the X window `window` (one windowExists() found) was made by the process
// `pid`: nullopt when it was, else why not. The X server's word comes first (the
// X-Resource extension knows the process behind each local client); where it cannot
// tell, the window's _NET_WM_PID decides, and a window gone meanwhile has neither. A
// window of this process's own connection is never the other one's.
std::optional<QString> windowNotOwnedBy(xcb_connection_t *c, quint32 window, qint64 pid);

// Whether the X server knows the window (now).
bool windowExists(xcb_connection_t *c, quint32 window);

} // namespace platform::linuxbackend
