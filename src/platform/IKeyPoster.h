#pragma once

#include <QtGlobal>

namespace platform {

// Synthesises keyboard input into whatever application has the focus.
class IKeyPoster {
public:
    virtual ~IKeyPoster() = default;

    // False in a session where synthesised keys cannot reach other applications.
    virtual bool isAvailable() const = 0;

    // One complete stroke of a macOS virtual key with macOS modifier flags (see
    // KeyCodeTable.h): modifiers down, key down, key up, modifiers up. Nothing is
    // left held. False, with a log line, when nothing was posted (not available,
    // or a key code the table does not know).
    virtual bool postKeyStroke(int macKeyCode, quint64 macFlags) = 0;
};

} // namespace platform
