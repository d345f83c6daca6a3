#pragma once

// The firmware sender of the Bluetooth LE mouse as the notification parser drives it.
// The mouse paces the transfer: the parser keeps currentOTAIndex of the command manager
// (0 when the mouse accepts the start, one up for every packet it accepts) and asks the
// sender for the packet at that index; it posts the result notifications itself and
// tells the sender how the transfer ended.
class IBleFirmwareTransfer {
public:
    enum class Outcome { Success, Failure, Cancelled };

    virtual ~IBleFirmwareTransfer() = default;
    // A transfer was started and has not ended yet. Firmware replies outside one are
    // not believed while the mouse streams voice (its packets may look like them).
    virtual bool isOTATransferActive() const = 0;
    // Sends the packet at the command manager's currentOTAIndex, or the end frame once
    // the index is past the last packet.
    virtual void sendOTAFileData() = 0;
    virtual void otaTransferEnded(Outcome outcome) = 0;
};
