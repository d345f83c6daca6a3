#pragma once

#include <QString>

namespace platform {

enum class InputSwitch {
    Changed,  // the named device is now the default input
    NotFound, // no input device has that name; the default input is unchanged
    Error,    // no sound server, or it refused the change
};

// Makes a named audio input device the session's default input. Any thread may call:
// each call opens its own short connection to the sound server.
class IDefaultInputSwitcher {
public:
    virtual ~IDefaultInputSwitcher() = default;
    virtual InputSwitch setByName(const QString &name) = 0;
};

} // namespace platform
