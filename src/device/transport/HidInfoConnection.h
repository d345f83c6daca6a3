#pragma once

#include "HidInfoReader.h"

class HIDDevice;
struct HidDeviceSinks;
class QXUserInfoData;

// Connects the HID device to a device-information reader for the connection's
// lifetime: reports of receivers without key setting, hot-key registration (at every
// open and when the wake-up setting changes) and the removal's breaking of the
// shortcut bindings. The reader and the device share the press type through the
// key state of their seams (the device clears it at open and after each command).
// Destroy the connection before the reader, the device and the application state.
class HidInfoConnection {
public:
    HidInfoConnection(HIDDevice &device, HidInfoReader &reader, platform::ShortcutBinder *binder = nullptr);
    ~HidInfoConnection(); // empties the state's hook it filled
    HidInfoConnection(const HidInfoConnection &) = delete;
    HidInfoConnection &operator=(const HidInfoConnection &) = delete;

    // The reader's part of the transport's sinks: device-information reports, hot-key
    // registration and the removal's breaking of the bindings. Whoever writes the
    // sinks empties them before the connection goes.
    void addSinks(HidDeviceSinks &sinks) const;

private:
    HIDDevice &m_device;
    HidInfoReader &m_reader;
    platform::ShortcutBinder *m_binder;
    QXUserInfoData &m_state; // the one installed when connected
};
