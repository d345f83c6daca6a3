#pragma once

#include <QtGlobal>

// What the presentation pointer tells a receiver on the HID command interface alone:
// its own laser on or off, and the seconds its countdown display shows.
class ILaserPenHidCommands {
public:
    virtual ~ILaserPenHidCommands() = default;
    virtual void sendTelinkLaserPenOpenHardLaserData() = 0;
    virtual void sendTelinkLaserPenCloseHardLaserData() = 0;
    virtual void sendTelinkLaserPenCountdownData(qint64 seconds) = 0;
};
