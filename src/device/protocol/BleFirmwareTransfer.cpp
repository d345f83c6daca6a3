#include "BleFirmwareTransfer.h"

#include "BleFrames.h"
#include "FirmwareFrames.h"
#include "FirmwareImageFile.h"
#include "HookStates.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXBLEManager.h"
#include "QXBLEMouseCommandManager.h"

#include <algorithm>

using proto::FirmwareTarget;

namespace {

void post(const char *name, const QVariant &payload = {})
{
    postNotification(QString::fromLatin1(name), payload);
}

const char *phaseName(BleFirmwareTransfer::Phase p)
{
    switch (p) {
    case BleFirmwareTransfer::Phase::Idle:
        return "no transfer";
    case BleFirmwareTransfer::Phase::Starting:
        return "starting";
    case BleFirmwareTransfer::Phase::Sending:
        return "sending";
    case BleFirmwareTransfer::Phase::Ending:
        return "ending";
    }
    return "?";
}

} // namespace

BleFirmwareTransfer::BleFirmwareTransfer(QXBLEMouseCommandManager &manager) : m_manager(manager) {}

void BleFirmwareTransfer::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("BleFirmwareTransfer")).add("imagePath", m_path);
}

int BleFirmwareTransfer::requiredMtu(const proto::FirmwareImage &image)
{
    const qsizetype firstPacket = proto::bleFirmwarePacketFrame(image, 0).size();
    const qsizetype endFrame = proto::bleFrame(proto::BleCommand::EndOTA).bytes.size();
    return int(std::max(firstPacket, endFrame)) + kAttWriteOverhead;
}

bool BleFirmwareTransfer::write(const QByteArray &frame)
{
    if (m_manager.central().sendOTAData(frame))
        return true;
    qxWarning("ota") << "firmware frame not written: the Bluetooth LE mouse is gone";
    finish(Outcome::Failure);
    return false;
}

void BleFirmwareTransfer::refuseStart(const QString &why)
{
    qxWarning("ota") << "Bluetooth LE firmware transfer not started:" << why;
    if (m_phase != Phase::Idle)
        finish(Outcome::Failure);
    else
        post(qx::notify::kUpdateOTAFailNotification);
}

void BleFirmwareTransfer::sendStartOTAData()
{
    const QString path = m_path ? m_path() : QString();
    proto::FirmwareImageResult image = readFirmwareImageFile(path, FirmwareTarget::BleMouse);
    if (!image.ok()) {
        reportUnusableFirmwareImage(*m_manager.seams().tips, image, FirmwareTarget::BleMouse, path);
        refuseStart(image.message);
        return;
    }
    const int mtu = m_manager.central().mtu();
    if (mtu <= 0) {
        refuseStart(QStringLiteral("no Bluetooth LE mouse is connected"));
        return;
    }
    const int needed = requiredMtu(*image.image);
    if (mtu < needed) {
        refuseStart(QStringLiteral("the link's MTU of %1 is too small for the %2-byte packets (needs %3)")
                        .arg(mtu)
                        .arg(needed - kAttWriteOverhead)
                        .arg(needed));
        return;
    }
    if (m_phase != Phase::Idle)
        qxInfo("ota") << "a new start replaces the" << phaseName(m_phase) << "transfer";
    m_image = std::move(*image.image);
    m_phase = Phase::Starting;
    qxInfo("ota") << "Bluetooth LE firmware transfer:" << m_image->lineCount() << "bytes in" << m_image->packetCount()
                  << "packets, MTU" << mtu;
    write(proto::bleFrame(proto::BleCommand::StartOTA).bytes);
}

void BleFirmwareTransfer::sendOTAFileData()
{
    if (m_phase != Phase::Sending || !m_image) {
        qxInfo("ota") << "Bluetooth LE data step ignored:" << phaseName(m_phase);
        return;
    }
    dataStep();
}

void BleFirmwareTransfer::dataStep()
{
    const proto::FirmwareImage &image = *m_image;
    const int packets = image.packetCount();
    const qint64 index = m_manager.currentOTAIndex();
    if (proto::firmwarePacketsDone(image, index)) {
        m_manager.setOtaDataTotalLength(image.lineCount());
        m_manager.setOtaDataChecksum(image.checksum);
        m_phase = Phase::Ending;
        if (!write(proto::bleFrame(proto::BleCommand::EndOTA, {image.lineCount(), image.checksum}).bytes))
            return;
    } else if (!write(proto::bleFirmwarePacketFrame(image, index))) {
        return;
    }
    post(qx::notify::kUpdateOTAProgressNotification, proto::firmwareProgress(index, packets));
}

void BleFirmwareTransfer::sendEndOTAData()
{
    if (m_phase == Phase::Idle) {
        qxInfo("ota") << "Bluetooth LE end frame not sent: no transfer";
        return;
    }
    end();
}

// The stored totals (those of the last completed transfer, or 0) cannot match the part
// the mouse holds, so it fails the image rather than flash half of one.
void BleFirmwareTransfer::end()
{
    m_phase = Phase::Ending;
    write(proto::bleFrame(proto::BleCommand::EndOTA, {m_manager.otaDataTotalLength(), m_manager.otaDataChecksum()})
              .bytes);
}

void BleFirmwareTransfer::sendCancelOTAData()
{
    m_manager.central().sendOTAData(proto::bleFrame(proto::BleCommand::CancelOTA).bytes);
    if (m_phase != Phase::Idle)
        finish(Outcome::Cancelled);
}

BleFirmwareTransfer::ReplyEffect BleFirmwareTransfer::finish(Outcome outcome)
{
    if (m_phase == Phase::Idle)
        return ReplyEffect::Ignored;
    m_phase = Phase::Idle;
    m_image.reset();
    switch (outcome) {
    case Outcome::Success:
        qxInfo("ota") << "Bluetooth LE mouse accepted its firmware";
        post(qx::notify::kUpdateOTASuccessNotification);
        return ReplyEffect::Succeeded;
    case Outcome::Failure:
        qxWarning("ota") << "Bluetooth LE firmware transfer failed";
        post(qx::notify::kUpdateOTAFailNotification);
        return ReplyEffect::Failed;
    case Outcome::Cancelled:
        qxInfo("ota") << "Bluetooth LE firmware transfer cancelled";
        post(qx::notify::kUpdateOTACancelNotification);
        return ReplyEffect::Cancelled;
    }
    return ReplyEffect::Ignored;
}

bool BleFirmwareTransfer::expecting(int event, std::initializer_list<Phase> phases) const
{
    if (std::find(phases.begin(), phases.end(), m_phase) != phases.end() && m_phase != Phase::Idle)
        return true;
    qxInfo("ota") << "Bluetooth LE firmware reply" << Qt::hex << event << "ignored:" << phaseName(m_phase);
    return false;
}

BleFirmwareTransfer::ReplyEffect BleFirmwareTransfer::handleFirmwareReply(int event, int status)
{
    const bool accepted = status == 0;
    switch (event) {
    case 0x70:
        if (!expecting(event, {Phase::Starting}))
            return ReplyEffect::Ignored;
        if (!accepted)
            return finish(Outcome::Failure); // a refused start would otherwise leave the page waiting
        m_manager.setCurrentOTAIndex(0);
        m_phase = Phase::Sending;
        dataStep();
        return m_phase == Phase::Idle ? ReplyEffect::Failed : ReplyEffect::Continued;
    case 0x71:
        if (!expecting(event, {Phase::Sending}))
            return ReplyEffect::Ignored;
        if (accepted) {
            m_manager.setCurrentOTAIndex(m_manager.currentOTAIndex() + 1);
            dataStep();
        } else {
            end();
        }
        return m_phase == Phase::Idle ? ReplyEffect::Failed : ReplyEffect::Continued;
    case 0x72:
        if (accepted)
            return expecting(event, {Phase::Ending}) ? finish(Outcome::Success) : ReplyEffect::Ignored;
        return expecting(event, {Phase::Starting, Phase::Sending, Phase::Ending}) ? finish(Outcome::Failure)
                                                                                  : ReplyEffect::Ignored;
    case 0x74:
        return expecting(event, {Phase::Starting, Phase::Sending, Phase::Ending}) ? finish(Outcome::Cancelled)
                                                                                  : ReplyEffect::Ignored;
    default:
        return ReplyEffect::Ignored;
    }
}

BleFirmwareTransfer::ReplyEffect BleFirmwareTransfer::handleOtaNotification(QByteArrayView value)
{
    if (value.size() < 4 || uint8_t(value.front()) != 0x4d || uint8_t(value.back()) != 0x4c)
        return ReplyEffect::Ignored;
    return handleFirmwareReply(uint8_t(value[1]), int(int8_t(uint8_t(value[2]))));
}
