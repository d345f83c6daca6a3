#pragma once

// What the application has not read yet from a simulated hidraw node (umockdev): the
// tests' receiver rigs and the benches that drive the real application over such a
// node write a report only once the one before has been read.

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>

namespace receiver_node {

// The application's side of the simulated node, opened in this process too to see what
// the application has not read yet: the terminal whose master is `deviceSide`.
inline int openAppSide(int deviceSide)
{
    const char *name = deviceSide >= 0 ? ::ptsname(deviceSide) : nullptr;
    return name ? ::open(name, O_RDONLY | O_NOCTTY | O_NONBLOCK) : -1;
}

// The bytes written to the simulated node that the application has not read yet, seen
// through `appSide` (openAppSide()); -1 when they cannot be counted. The node is a
// terminal: what is written waits in a buffer of its own until a kernel worker hands it
// to the reading end, late on a loaded machine, and FIONREAD counts only what was handed
// over; a poll on the reading end hands the rest over first. umockdev's preload answers
// the ioctls on the terminals it simulates itself and refuses FIONREAD (ENOTTY): taken
// for "nothing unread", that let the rig write a report before the last was read, and
// the application got both in one read. The kernel is asked directly.
inline int unreadOnNode(int appSide)
{
    if (appSide < 0)
        return -1;
    pollfd p{appSide, POLLIN, 0};
    (void)::poll(&p, 1, 0);
    int n = 0;
    return ::syscall(SYS_ioctl, appSide, FIONREAD, &n) == 0 ? n : -1;
}

// How long the application may leave a report unread before the rig calls it hung:
// far beyond what a loaded machine or a sanitizer takes, so it never fires for them.
constexpr int kUnreadLimitMs = 120000;

// Waits until the application has read everything written to the node, running
// `meanwhile` between looks; false when the node cannot be seen or the limit passed.
inline bool waitUntilAppRead(
    int appSide, const std::function<void()> &meanwhile = [] { ::usleep(1000); })
{
    const auto start = std::chrono::steady_clock::now();
    for (int unread; (unread = unreadOnNode(appSide)) != 0;) {
        if (unread < 0 || std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kUnreadLimitMs))
            return false;
        meanwhile();
    }
    return true;
}

} // namespace receiver_node
