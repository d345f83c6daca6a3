#pragma once

#include "FirmwareImage.h"
#include "IFirmwareTransferCommands.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

class HookStates;
class QXBLEMouseCommandManager;

// Firmware transfer to the mouse over Bluetooth LE: the start, data and end frames on
// the firmware characteristic (written without response), paced by the mouse's
// replies, which the notification parser hands to handleFirmwareReply.
//
// As over HID, the image is read and checked whole before the start frame and kept
// for the transfer; every transfer that sent its start frame ends exactly once with
// the success, failure or cancel notification; replies outside a transfer are dropped;
// nothing times a transfer out, and a cancel always ends it.
//
// A full packet is a 133-byte write, which needs an ATT MTU of 136. The packet size is
// the device's, so a link that negotiated less cannot carry the image: the transfer is
// refused with a failure before anything is sent.
//
// Works on the firmware fields of its command manager (currentOTAIndex,
// otaDataTotalLength, otaDataChecksum). Main thread only.
class BleFirmwareTransfer : public IFirmwareTransferCommands {
public:
    enum class Phase { Idle, Starting, Sending, Ending };
    // What a reply did, for the notification parser: after Succeeded the mouse restarts
    // with its new firmware and the link is dropped.
    enum class ReplyEffect { Ignored, Continued, Succeeded, Failed, Cancelled };
    // Where the downloaded mouse image is (the firmware update manager's filePath).
    using ImagePathSource = std::function<QString()>;

    static constexpr int kAttWriteOverhead = 3;

    explicit BleFirmwareTransfer(QXBLEMouseCommandManager &manager);
    BleFirmwareTransfer(const BleFirmwareTransfer &) = delete;
    BleFirmwareTransfer &operator=(const BleFirmwareTransfer &) = delete;

    void setImagePathSource(ImagePathSource source) { m_path = std::move(source); }
    void listHooks(HookStates &out) const;

    void sendStartOTAData() override;
    // Sends the packet at currentOTAIndex, or the end frame once every packet has gone.
    void sendOTAFileData() override;
    // Ends the running transfer early with the stored totals.
    void sendEndOTAData() override;
    void sendCancelOTAData() override;
    // A Bluetooth LE mouse has no receiver to update: these do nothing.
    void sendStartOTADongleData() override {}
    void sendOTADongleFileData() override {}
    void sendEndOTADongleData() override {}
    void sendCancelOTADongleData() override {}

    // A firmware reply of the mouse: event 0x70 start, 0x71 packet, 0x72 image, 0x74
    // cancel; status 0 is success.
    ReplyEffect handleFirmwareReply(int event, int status);
    // The same from a whole notification value (4d, event, status, ..., 4c); anything
    // else is Ignored.
    ReplyEffect handleOtaNotification(QByteArrayView value);

    Phase phase() const { return m_phase; }
    bool isOTATransferActive() const { return m_phase != Phase::Idle; }

    // The MTU a link needs to carry the image's largest frame.
    static int requiredMtu(const proto::FirmwareImage &image);

private:
    enum class Outcome { Success, Failure, Cancelled };

    void dataStep();
    void end();
    void refuseStart(const QString &why);
    ReplyEffect finish(Outcome outcome);
    bool expecting(int event, std::initializer_list<Phase> phases) const;
    // Writes one frame on the firmware characteristic; a link that went away ends the
    // transfer as failed (false).
    bool write(const QByteArray &frame);

    QXBLEMouseCommandManager &m_manager;
    ImagePathSource m_path;
    Phase m_phase = Phase::Idle;
    std::optional<proto::FirmwareImage> m_image;
};
