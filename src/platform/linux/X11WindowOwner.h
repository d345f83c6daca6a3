#pragma once

#include <QString>

#include <optional>

struct xcb_connection_t;

namespace platform::linuxbackend {

// Whether the X window `window` (one windowExists() found) was made by the process
// `pid`: nullopt when it was, else why not ("… is not its own (…)"). Only the X
// server's word counts (the X-Resource extension knows the process behind each local
// client; Xorg and Xwayland both answer it): where it cannot tell (no extension, a
// remote client, a window gone meanwhile) the window is refused, whatever its
// _NET_WM_PID says. A window of this process's own connection is never the other one's.
std::optional<QString> windowNotOwnedBy(xcb_connection_t *c, quint32 window, qint64 pid);

// Whether the X server knows the window (now).
bool windowExists(xcb_connection_t *c, quint32 window);

} // namespace platform::linuxbackend
