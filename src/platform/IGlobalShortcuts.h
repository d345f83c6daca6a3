#pragma once

#include <QtGlobal>

#include <functional>

namespace platform {

// System-wide key grabs: the action runs on the main thread whenever the key chord is
// pressed, whichever application has the focus. Keys are macOS virtual key codes with
// macOS modifier flags, the form shortcuts are stored in (see KeyCodeTable.h).
class IGlobalShortcuts {
public:
    using Token = quint64;
    static constexpr Token kNoToken = 0;
    using Action = std::function<void()>;

    virtual ~IGlobalShortcuts() = default;

    // False in a session where no global grab is possible (native Wayland, no display).
    virtual bool isAvailable() const = 0;

    // Grabs the chord and runs action once per press (held keys do not repeat it).
    // kNoToken, with a log line, when nothing could be grabbed at all (not available,
    // a key the table or the keyboard lacks). A chord another application already
    // holds is logged and still gets a token: the grab simply never fires.
    virtual Token grab(int macKeyCode, quint64 macFlags, Action action) = 0;
    // Releases a grab; unknown tokens are ignored.
    virtual void release(Token token) = 0;
};

} // namespace platform
