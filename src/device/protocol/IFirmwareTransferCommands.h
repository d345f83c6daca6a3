#pragma once

// The steps of a firmware transfer as the firmware update manager drives them: the
// mouse (on HID the remote control while deviceType is 4) and the receiver ("Dongle").
// The transfers implement them; the command managers hand them on through
// FirmwareCommandsForwarder instead of repeating each step.
class IFirmwareTransferCommands {
public:
    virtual ~IFirmwareTransferCommands() = default;

    virtual void sendStartOTAData() = 0;
    virtual void sendOTAFileData() = 0;
    virtual void sendEndOTAData() = 0;
    virtual void sendCancelOTAData() = 0;

    virtual void sendStartOTADongleData() = 0;
    virtual void sendOTADongleFileData() = 0;
    virtual void sendEndOTADongleData() = 0;
    virtual void sendCancelOTADongleData() = 0;
};

// Hands every step to the transfer its owner picks at the moment of the call: one for
// the mouse steps, one for the receiver steps (nullptr: the step does nothing).
class FirmwareCommandsForwarder : public IFirmwareTransferCommands {
public:
    void sendStartOTAData() final
    {
        forMouse([](auto &t) { t.sendStartOTAData(); });
    }
    void sendOTAFileData() final
    {
        forMouse([](auto &t) { t.sendOTAFileData(); });
    }
    void sendEndOTAData() final
    {
        forMouse([](auto &t) { t.sendEndOTAData(); });
    }
    void sendCancelOTAData() final
    {
        forMouse([](auto &t) { t.sendCancelOTAData(); });
    }

    void sendStartOTADongleData() final
    {
        forDongle([](auto &t) { t.sendStartOTADongleData(); });
    }
    void sendOTADongleFileData() final
    {
        forDongle([](auto &t) { t.sendOTADongleFileData(); });
    }
    void sendEndOTADongleData() final
    {
        forDongle([](auto &t) { t.sendEndOTADongleData(); });
    }
    void sendCancelOTADongleData() final
    {
        forDongle([](auto &t) { t.sendCancelOTADongleData(); });
    }

protected:
    ~FirmwareCommandsForwarder() override = default;
    virtual IFirmwareTransferCommands *mouseFirmwareTarget() = 0;
    virtual IFirmwareTransferCommands *dongleFirmwareTarget() = 0;

private:
    template <class Step> void forMouse(Step step)
    {
        if (IFirmwareTransferCommands *t = mouseFirmwareTarget())
            step(*t);
    }
    template <class Step> void forDongle(Step step)
    {
        if (IFirmwareTransferCommands *t = dongleFirmwareTarget())
            step(*t);
    }
};
