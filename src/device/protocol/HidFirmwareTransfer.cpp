#include "HidFirmwareTransfer.h"

#include "FamilyTraits.h"
#include "FirmwareFrames.h"
#include "FirmwareImageFile.h"
#include "HookStates.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXHidCommandManager.h"
#include "QXUserInfoData.h"

using proto::FirmwareTarget;
using proto::HidReport;

namespace {

void post(const char *name, const QVariant &payload = {})
{
    postNotification(QString::fromLatin1(name), payload);
}

int chipPlan()
{
    return QXHidCommandManager::currentContext().chipPlan;
}

const char *phaseName(HidFirmwareTransfer::Phase p)
{
    switch (p) {
    case HidFirmwareTransfer::Phase::Idle:
        return "no transfer";
    case HidFirmwareTransfer::Phase::Starting:
        return "starting";
    case HidFirmwareTransfer::Phase::Sending:
        return "sending";
    case HidFirmwareTransfer::Phase::Ending:
        return "ending";
    }
    return "?";
}

} // namespace

HidFirmwareTransfer::HidFirmwareTransfer(QXHidCommandManager &hid) : m_hid(hid) {}

void HidFirmwareTransfer::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("HidFirmwareTransfer")).add("imagePaths", m_paths);
}

HidFirmwareTransfer::~HidFirmwareTransfer()
{
    cancelTimer(Scheduler::instance(), m_reRead);
}

std::optional<FirmwareTarget> HidFirmwareTransfer::target() const
{
    if (m_phase == Phase::Idle)
        return std::nullopt;
    return m_target;
}

FirmwareTarget HidFirmwareTransfer::mouseOrRemote() const
{
    return QXUserInfoData::sharedInstance().mouseInfoItem().deviceType() == 4 ? FirmwareTarget::Remote
                                                                              : FirmwareTarget::Mouse;
}

// --- the page's commands -------------------------------------------------------------------------

void HidFirmwareTransfer::sendStartOTAData()
{
    start(mouseOrRemote());
}
void HidFirmwareTransfer::sendOTAFileData()
{
    dataStep(mouseOrRemote());
}
void HidFirmwareTransfer::sendEndOTAData()
{
    end(mouseOrRemote());
}
void HidFirmwareTransfer::sendCancelOTAData()
{
    cancel(mouseOrRemote());
}
void HidFirmwareTransfer::sendStartOTADongleData()
{
    start(FirmwareTarget::Receiver);
}
void HidFirmwareTransfer::sendOTADongleFileData()
{
    dataStep(FirmwareTarget::Receiver);
}
void HidFirmwareTransfer::sendEndOTADongleData()
{
    end(FirmwareTarget::Receiver);
}
void HidFirmwareTransfer::sendCancelOTADongleData()
{
    cancel(FirmwareTarget::Receiver);
}
void HidFirmwareTransfer::sendStartOTARemoteControlData()
{
    start(FirmwareTarget::Remote);
}
void HidFirmwareTransfer::sendOTAFileRemoteControlData()
{
    dataStep(FirmwareTarget::Remote);
}
void HidFirmwareTransfer::sendEndOTARemoteControlData()
{
    end(FirmwareTarget::Remote);
}
void HidFirmwareTransfer::sendCancelOTARemoteControlData()
{
    cancel(FirmwareTarget::Remote);
}

// --- steps -----------------------------------------------------------------------------------------

QString HidFirmwareTransfer::imagePath(FirmwareTarget target) const
{
    if (target == FirmwareTarget::Receiver) {
        const QString own = QXUserInfoData::sharedInstance().dongleOTAFilePath().value_or(QString());
        if (!own.isEmpty())
            return own;
        return m_paths ? m_paths(ImageFile::Dongle) : QString();
    }
    return m_paths ? m_paths(ImageFile::Mouse) : QString();
}

void HidFirmwareTransfer::send(const proto::HidFrameList &frames)
{
    HidCommandSink *sink = m_hid.hidSink();
    if (!sink) {
        qxLogOnce(QStringLiteral("ota-hid-no-device"),
                  QStringLiteral("firmware frame dropped: no HID device layer is attached"));
        return;
    }
    for (const QByteArray &frame : frames)
        sink->hidRequestSendCommand(proto::hidCommandBuffer(frame));
}

void HidFirmwareTransfer::refuseStart(const QString &why)
{
    qxWarning("ota") << "firmware transfer not started:" << why;
    if (m_phase != Phase::Idle)
        finish(Outcome::Failure); // the transfer it was to replace ends here
    else
        post(qx::notify::kUpdateOTAFailNotification);
}

void HidFirmwareTransfer::start(FirmwareTarget target)
{
    const int plan = chipPlan();
    if (!proto::familyTraits(plan).has(proto::kHidFirmwareUpdate)) {
        // These families take no firmware; they get what they have always been sent.
        send(proto::hidFirmwareStartFrames(target, plan));
        refuseStart(QStringLiteral("the device family (plan %1) takes no firmware over HID").arg(plan));
        return;
    }
    const QString path = imagePath(target);
    proto::FirmwareImageResult image = readFirmwareImageFile(path, target);
    if (!image.ok()) {
        reportUnusableFirmwareImage(*m_hid.seams().tips, image, target, path);
        refuseStart(image.message);
        return;
    }
    if (m_phase != Phase::Idle)
        qxInfo("ota") << "a new start replaces the" << phaseName(m_phase) << "transfer";
    m_image = std::move(*image.image);
    m_target = target;
    m_phase = Phase::Starting;
    qxInfo("ota") << proto::firmwareTargetName(target) << "firmware transfer:" << m_image->lineCount() << "bytes in"
                  << m_image->packetCount() << "packets";
    send(proto::hidFirmwareStartFrames(target, plan));
}

void HidFirmwareTransfer::startAccepted(FirmwareTarget target)
{
    m_hid.invalidateTimer(); // no connection query between the packets
    m_hid.setCurrentOTAIndex(proto::firmwareLayout(target).firstIndex);
    m_phase = Phase::Sending;
    dataStep(target);
}

void HidFirmwareTransfer::dataStep(FirmwareTarget target)
{
    if (m_phase != Phase::Sending || m_target != target || !m_image) {
        qxInfo("ota") << "data step for the" << proto::firmwareTargetName(target) << "ignored:" << phaseName(m_phase);
        return;
    }
    if (!proto::familyTraits(chipPlan()).has(proto::kHidFirmwareUpdate)) {
        qxWarning("ota") << "the device family changed during the transfer; nothing sent";
        return;
    }
    const proto::FirmwareImage &image = *m_image;
    const qint64 index = m_hid.currentOTAIndex();
    if (proto::firmwarePacketsDone(image, index)) {
        m_hid.setOtaDataTotalLength(image.lineCount());
        m_hid.setOtaDataChecksum(image.checksum);
        m_phase = Phase::Ending;
        send({proto::hidFirmwareEndFrame(target, index, image.lineCount(), image.checksum)});
    } else {
        send({proto::hidFirmwarePacketFrame(image, index)});
    }
    post(qx::notify::kUpdateOTAProgressNotification, proto::firmwareProgress(index, image.packetCount()));
}

// Ends the transfer early with the totals as stored (those of the last completed
// transfer, or 0): they cannot match the part the device holds, so it fails the image
// rather than flash half of one.
void HidFirmwareTransfer::end(FirmwareTarget target)
{
    if (m_phase == Phase::Idle || m_target != target) {
        qxInfo("ota") << "end frame for the" << proto::firmwareTargetName(target) << "not sent: no such transfer";
        return;
    }
    if (!proto::familyTraits(chipPlan()).has(proto::kHidFirmwareUpdate))
        return;
    m_phase = Phase::Ending;
    send({proto::hidFirmwareEndFrame(target, m_hid.currentOTAIndex(), m_hid.otaDataTotalLength(),
                                     m_hid.otaDataChecksum())});
}

void HidFirmwareTransfer::cancel(FirmwareTarget target)
{
    send(proto::hidFirmwareCancelFrames(target, chipPlan()));
    // The receiver never confirms a cancel and the remote has none: the transfer ends
    // here, and a late reply of the device finds it gone.
    if (m_phase != Phase::Idle && m_target == target)
        finish(Outcome::Cancelled);
}

void HidFirmwareTransfer::finish(Outcome outcome)
{
    if (m_phase == Phase::Idle)
        return;
    const FirmwareTarget target = m_target;
    m_phase = Phase::Idle;
    m_image.reset();
    m_hid.startTimer();
    switch (outcome) {
    case Outcome::Success: {
        qxInfo("ota") << proto::firmwareTargetName(target) << "firmware accepted";
        post(qx::notify::kUpdateOTASuccessNotification);
        QXUserInfoData::sharedInstance().setMouseIsConnect(false);
        if (target != FirmwareTarget::Remote) {
            cancelTimer(Scheduler::instance(), m_reRead);
            m_reRead = Scheduler::instance().singleShot(kReReadDelayMs, [this] {
                m_reRead = Scheduler::kNoTimer;
                m_hid.sendGetMouseInfoData();
            });
        }
        break;
    }
    case Outcome::Failure:
        qxWarning("ota") << proto::firmwareTargetName(target) << "firmware transfer failed";
        post(qx::notify::kUpdateOTAFailNotification);
        break;
    case Outcome::Cancelled:
        qxInfo("ota") << proto::firmwareTargetName(target) << "firmware transfer cancelled";
        post(qx::notify::kUpdateOTACancelNotification);
        break;
    }
}

// --- the device's replies ----------------------------------------------------------------------------

bool HidFirmwareTransfer::expecting(FirmwareTarget target, std::initializer_list<Phase> phases,
                                    const QByteArray &reply) const
{
    if (m_phase != Phase::Idle && m_target == target)
        for (Phase p : phases)
            if (p == m_phase)
                return true;
    qxInfo("ota") << proto::firmwareTargetName(target) << "firmware reply" << reply.left(8).toHex()
                  << "ignored:" << (m_phase == Phase::Idle ? "no transfer" : phaseName(m_phase));
    return false;
}

void HidFirmwareTransfer::handleFirmwareReply(const HidReport &r)
{
    const FirmwareTarget mouse = FirmwareTarget::Mouse;
    const bool accepted = r.status == 0;
    switch (r.command) {
    case 0x70:
        if (!expecting(mouse, {Phase::Starting}, r.bytes))
            return;
        if (accepted)
            startAccepted(mouse);
        else
            finish(Outcome::Failure); // a refused start would otherwise leave the page waiting
        return;
    case 0x71:
        if (!expecting(mouse, {Phase::Sending}, r.bytes))
            return;
        if (accepted) {
            m_hid.setCurrentOTAIndex(m_hid.currentOTAIndex() + 1);
            dataStep(mouse);
        } else {
            end(mouse);
        }
        return;
    case 0x72:
        if (accepted) {
            if (expecting(mouse, {Phase::Ending}, r.bytes))
                finish(Outcome::Success);
        } else if (expecting(mouse, {Phase::Starting, Phase::Sending, Phase::Ending}, r.bytes)) {
            finish(Outcome::Failure);
        }
        return;
    case 0x74:
        if (expecting(mouse, {Phase::Starting, Phase::Sending, Phase::Ending}, r.bytes))
            finish(Outcome::Cancelled);
        return;
    default:
        return;
    }
}

void HidFirmwareTransfer::handleReceiverFirmwareReply(const HidReport &r)
{
    const FirmwareTarget rx = FirmwareTarget::Receiver;
    writeLog(QStringLiteral("\nreceiveData=%1\n").arg(QString::fromLatin1(r.bytes.toHex())));
    switch (r.command) {
    case 0xc0:
        if (expecting(rx, {Phase::Starting}, r.bytes))
            startAccepted(rx);
        return;
    case 0xc1: {
        if (!expecting(rx, {Phase::Sending}, r.bytes))
            return;
        // Read for the log only: a receiver that echoes something else (or nothing) still
        // takes the next packet, and its end-frame answer is the verdict.
        const int echoed = r.byteOr(3) | (r.byteOr(4) << 8);
        if (echoed != int(m_hid.currentOTAIndex() & 0xffff))
            qxInfo("ota") << "receiver acknowledged packet" << echoed << "while" << m_hid.currentOTAIndex()
                          << "was sent";
        m_hid.setCurrentOTAIndex(m_hid.currentOTAIndex() + 1);
        dataStep(rx);
        return;
    }
    case 0xc2:
        if (expecting(rx, {Phase::Ending}, r.bytes))
            finish(Outcome::Success);
        return;
    default:
        return;
    }
}

void HidFirmwareTransfer::handleRemoteFirmwareReply(const HidReport &r)
{
    const FirmwareTarget remote = FirmwareTarget::Remote;
    switch (r.command) {
    case 0xc0:
        if (expecting(remote, {Phase::Starting}, r.bytes))
            startAccepted(remote);
        return;
    case 0xc1: {
        if (!expecting(remote, {Phase::Sending}, r.bytes))
            return;
        const int echoed = r.byteOr(4) | (r.byteOr(5) << 8);
        if (echoed == int(m_hid.currentOTAIndex() & 0xffff)) {
            m_hid.setCurrentOTAIndex(m_hid.currentOTAIndex() + 1);
            dataStep(remote);
        } else {
            qxWarning("ota") << "remote acknowledged packet" << echoed << "while" << m_hid.currentOTAIndex()
                             << "was sent; ending the transfer";
            end(remote);
        }
        return;
    }
    case 0xc2:
        if (r.byteOr(6) == 0x55) {
            if (expecting(remote, {Phase::Ending}, r.bytes))
                finish(Outcome::Success);
        } else if (expecting(remote, {Phase::Starting, Phase::Sending, Phase::Ending}, r.bytes)) {
            finish(Outcome::Failure);
        }
        return;
    default:
        return;
    }
}
