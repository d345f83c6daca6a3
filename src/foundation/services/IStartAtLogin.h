#pragma once

// Whether the application starts when the user logs in: what the software settings'
// start-up switch reads and sets.
class IStartAtLogin {
public:
    virtual ~IStartAtLogin() = default;
    // Reads the state the desktop will act on.
    virtual bool startAtLogin() = 0;
    // True when the change took effect; false when it did not (the switch then shows
    // the state that holds, startAtLogin()).
    virtual bool setStartAtLogin(bool on) = 0;
};
