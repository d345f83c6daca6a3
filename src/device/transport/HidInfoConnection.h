#pragma once

#include "HidInfoReader.h"

class HIDDevice;
class QXUserInfoData;

// Connects the HID device to a device-information reader for the connection's
// lifetime: reports of receivers without key setting, hot-key registration (at every
// open and when the wake-up setting changes) and the removal's breaking of the
// shortcut bindings. The reader's press type must be the device's own (see
// pressTypeDeps), which the device clears at open and after each successful command.
// Destroy the connection before the reader, the device and the application state.
class HidInfoConnection {
public:
    HidInfoConnection(HIDDevice &device, HidInfoReader &reader, platform::ShortcutBinder *binder = nullptr);
    ~HidInfoConnection(); // empties the hooks it filled
    HidInfoConnection(const HidInfoConnection &) = delete;
    HidInfoConnection &operator=(const HidInfoConnection &) = delete;

    // Dependencies for a reader that keeps its press type in the device.
    static HidInfoReader::Deps pressTypeDeps(HIDDevice &device, HidInfoReader::Deps deps = {});

private:
    HIDDevice &m_device;
    QXUserInfoData &m_state; // the one installed when connected
};
