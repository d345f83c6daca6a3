#pragma once

// The device commands the device-information reader and the hot keys send, carried
// out by the command facade of the protocol layer (QXMouseCommandManager).
class IHidInfoCommands {
public:
    virtual ~IHidInfoCommands() = default;
    virtual void sendOpenMicData() = 0;
    virtual void sendCloseMicData() = 0;
    // index: position in the DPI list.
    virtual void sendSetDpiData(int index) = 0;
};
