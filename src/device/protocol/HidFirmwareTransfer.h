#pragma once

#include "FirmwareImage.h"
#include "HidFrames.h"
#include "HidReportHandlers.h"
#include "IFirmwareTransferCommands.h"
#include "Scheduler.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

class HookStates;
class QXHidCommandManager;

// Firmware transfer over HID to the mouse, its USB receiver or the remote control
// (device type 4), on the plan-2 families. The device paces it: each packet goes out
// only when the device has accepted the previous one (the report parser hands the
// replies here), and its answer to the end frame decides the outcome.
//
// The image is read and checked whole when the transfer starts; a file that is missing
// or holds a line that is not a byte is refused before the start frame. The checked
// image is kept for the whole transfer, so a new download replacing the file meanwhile
// cannot mix two images in one device.
//
// Every transfer that sent its start frame ends exactly once, with
// "kUpdateOTASuccessNotification", "kUpdateOTAFailNotification" or
// "kUpdateOTACancelNotification", and the command manager's connection poll (stopped
// while packets flow) running again. Replies that belong to no running transfer are
// logged and dropped. Nothing times a transfer out: a device may take long to erase its
// flash, and a cancel always ends the transfer at once.
//
// Works on the firmware fields of its command manager (currentOTAIndex,
// otaDataTotalLength, otaDataChecksum). Main thread only.
class HidFirmwareTransfer : public IHidOtaAckHandler, public IFirmwareTransferCommands {
public:
    enum class Phase {
        Idle,     // no transfer
        Starting, // start frame sent, waiting for the device to accept it
        Sending,  // packets flowing
        Ending,   // end frame sent, waiting for the device's verdict
    };
    enum class ImageFile { Mouse, Dongle };
    // Where the downloaded images are (the firmware update manager's filePath and
    // filePathDongle); "" when there is none.
    using ImagePathSource = std::function<QString(ImageFile)>;

    // After a successful transfer the restarted device is asked for its information.
    static constexpr int kReReadDelayMs = 5000;

    explicit HidFirmwareTransfer(QXHidCommandManager &hid);
    ~HidFirmwareTransfer() override;
    HidFirmwareTransfer(const HidFirmwareTransfer &) = delete;
    HidFirmwareTransfer &operator=(const HidFirmwareTransfer &) = delete;

    void setImagePathSource(ImagePathSource source) { m_paths = std::move(source); }
    void listHooks(HookStates &out) const;

    // The mouse, or the remote control while deviceType is 4.
    void sendStartOTAData() override;
    void sendOTAFileData() override;
    void sendEndOTAData() override;
    void sendCancelOTAData() override;
    // The receiver.
    void sendStartOTADongleData() override;
    void sendOTADongleFileData() override;
    void sendEndOTADongleData() override;
    void sendCancelOTADongleData() override;
    // The remote control.
    void sendStartOTARemoteControlData();
    void sendOTAFileRemoteControlData();
    void sendEndOTARemoteControlData();
    void sendCancelOTARemoteControlData();

    // IHidOtaAckHandler
    void handleFirmwareReply(const proto::HidReport &report) override;
    void handleReceiverFirmwareReply(const proto::HidReport &report) override;
    void handleRemoteFirmwareReply(const proto::HidReport &report) override;

    Phase phase() const { return m_phase; }
    bool isOTATransferActive() const { return m_phase != Phase::Idle; }
    // The target of the running transfer.
    std::optional<proto::FirmwareTarget> target() const;

private:
    enum class Outcome { Success, Failure, Cancelled };

    proto::FirmwareTarget mouseOrRemote() const;
    void start(proto::FirmwareTarget target);
    void dataStep(proto::FirmwareTarget target);
    void end(proto::FirmwareTarget target);
    void cancel(proto::FirmwareTarget target);
    void startAccepted(proto::FirmwareTarget target);
    void refuseStart(const QString &why);
    void finish(Outcome outcome);
    // Whether a reply for `target` fits the running transfer; logs the ones that do not.
    bool expecting(proto::FirmwareTarget target, std::initializer_list<Phase> phases, const QByteArray &reply) const;
    QString imagePath(proto::FirmwareTarget target) const;
    void send(const proto::HidFrameList &frames);

    QXHidCommandManager &m_hid;
    ImagePathSource m_paths;
    Phase m_phase = Phase::Idle;
    proto::FirmwareTarget m_target = proto::FirmwareTarget::Mouse;
    std::optional<proto::FirmwareImage> m_image;
    Scheduler::TimerId m_reRead = Scheduler::kNoTimer;
};
