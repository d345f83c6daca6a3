#include "QXHidCommandManager.h"

#include "DpiTables.h"
#include "HidFirmwareTransfer.h"
#include "HookStates.h"
#include "InstalledInstance.h"
#include "LaserPenRequests.h"
#include "PZLog.h"
#include "QXUserInfoData.h"
#include "services/VoiceKeyState.h"

#include <QIODevice>

#include <algorithm>

using proto::HidCommand;

QXHidCommandManager::QXHidCommandManager(const DeviceSeams &seams)
    : m_seams(seams.resolved()), m_firmware(std::make_unique<HidFirmwareTransfer>(*this))
{
    // Decoded voice goes into the speech service's open recording file, if any.
    m_voiceSinks.recording = [speech = m_seams.speech](QByteArrayView pcm) {
        if (QIODevice *file = speech->fileHandle())
            file->write(pcm.data(), pcm.size()); // a failed write loses only the recording
    };
    m_voice.setSinks(m_voiceSinks);
}

QXHidCommandManager::~QXHidCommandManager()
{
    m_firmware.reset();
    invalidateTimer();
    invalidateCheckVoiceTimer();
}

QXHidCommandManager &QXHidCommandManager::sharedInstance()
{
    return InstalledInstance<QXHidCommandManager>::get("QXHidCommandManager");
}

QXHidCommandManager *QXHidCommandManager::setSharedInstance(QXHidCommandManager *instance)
{
    return InstalledInstance<QXHidCommandManager>::install(instance);
}

void QXHidCommandManager::setSamplingRateSink(std::function<void(bool)> sink)
{
    m_voiceSinks.setSamplingRate = std::move(sink);
    m_voice.setSinks(m_voiceSinks);
}

void QXHidCommandManager::listHooks(HookStates &out) const
{
    static_assert(sizeof(proto::HidVoiceSinks) == 3 * sizeof(std::function<void()>), "a new sink is listed here too");
    const proto::HidVoiceSinks &voice = m_voice.sinks();
    out.in(QStringLiteral("QXHidCommandManager"))
        .add("hidSink", m_sink)
        .add("isFromMicData", m_isFromMicData)
        .addSeams("seams", m_seams)
        .add("voice.voice", voice.voice)
        .add("voice.recording", voice.recording)
        .add("voice.setSamplingRate", voice.setSamplingRate);
    m_firmware->listHooks(out);
}

void QXHidCommandManager::setVoiceDataBlock(VoiceDataBlock block)
{
    m_voiceSinks.voice = std::move(block);
    m_voice.setSinks(m_voiceSinks);
}

proto::HidContext QXHidCommandManager::currentContext()
{
    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    const QXMouseInfoItem &item = state.mouseInfoItem();
    proto::HidContext ctx;
    const qint64 plan = state.chipPlan();
    ctx.chipPlan = (plan >= 0 && plan <= 7) ? int(plan) : -2; // an unknown plan has no layout
    ctx.deviceType = int(std::min<quint64>(item.deviceType(), 0xff));
    ctx.mouseIsConnect = state.mouseIsConnect();
    ctx.icType = item.icType();
    return ctx;
}

const Clock &QXHidCommandManager::clock() const
{
    return m_clock ? *m_clock : Scheduler::instance().clock();
}

void QXHidCommandManager::send(HidCommand command, std::initializer_list<qint64> args)
{
    send(proto::hidFrames(command, currentContext(), args));
}

void QXHidCommandManager::send(const proto::HidFrameList &frames)
{
    if (frames.empty())
        return;
    if (!m_sink) {
        qxLogOnce(QStringLiteral("hid-command-no-device"),
                  QStringLiteral("HID command dropped: no HID device layer is attached"));
        return;
    }
    for (const QByteArray &frame : frames)
        m_sink->hidRequestSendCommand(proto::hidCommandBuffer(frame));
}

// --- device information -------------------------------------------------------------

void QXHidCommandManager::sendGetMouseInfoData()
{
    send(HidCommand::GetMouseInfo);
}
void QXHidCommandManager::sendSearchMouseConnectStatusData()
{
    send(HidCommand::SearchMouseConnectStatus);
}
void QXHidCommandManager::sendGetReceiveData()
{
    send(HidCommand::GetReceive);
}
void QXHidCommandManager::sendGetMouseSN()
{
    send(HidCommand::GetMouseSN);
}
void QXHidCommandManager::sendGetDeviceFireware()
{
    send(HidCommand::GetDeviceFireware);
}
void QXHidCommandManager::sendGetDongleInfo()
{
    send(HidCommand::GetDongleInfo);
}

// --- microphone -----------------------------------------------------------------------

void QXHidCommandManager::sendOpenMicData()
{
    if (proto::familyTraits(currentContext().chipPlan).has(proto::kMicOwnsVoiceFlag))
        m_voice.clearAudioData();
    m_isStartVoice = true;
    send(HidCommand::OpenMic);
}

void QXHidCommandManager::sendCloseMicData()
{
    const proto::FamilyTraits &family = proto::familyTraits(currentContext().chipPlan);
    send(HidCommand::CloseMic);
    if (family.has(proto::kMicOwnsVoiceFlag)) {
        m_isStartVoice = false;
        if (family.has(proto::kFlushOnMicClose))
            m_voice.flushEncodeData(m_isStartVoice);
        return;
    }
    // Elsewhere the device's voice end clears the flag, but not while voice comes from
    // the computer's microphone: left set, it would silence the connection poll for good.
    if (m_isFromMicData && m_isFromMicData())
        m_isStartVoice = false;
}

// --- settings ---------------------------------------------------------------------------

void QXHidCommandManager::sendOpenLedData()
{
    send(HidCommand::OpenLed);
}
void QXHidCommandManager::sendCloseLedData()
{
    send(HidCommand::CloseLed);
}
void QXHidCommandManager::sendOpenPopUpWebSiteData()
{
    send(HidCommand::OpenPopUpWebSite);
}
void QXHidCommandManager::sendClosePopUpWebSiteData()
{
    send(HidCommand::ClosePopUpWebSite);
}

void QXHidCommandManager::sendSetDpiData(qint64 index)
{
    const proto::HidContext ctx = currentContext();
    const qint64 value = proto::familyTraits(ctx.chipPlan).has(proto::kDpiAsRawValue)
                             ? DpiTables::rawFromIndex(ctx.icType, index)
                             : index;
    send(proto::hidFrames(HidCommand::SetDpi, ctx, {value}));
    // dpi is an index into the DPI list on every plan, plan 3 included (its device
    // value is only what goes over the wire).
    QXUserInfoData::sharedInstance().mouseInfoItem().setDpi(index);
}

void QXHidCommandManager::modifyReturnRate(qint64 rate)
{
    send(HidCommand::ModifyReturnRate, {rate});
}

void QXHidCommandManager::sendKeyCommandDataKeyCode1(qint64 keyCode1, qint64 keyCode2)
{
    send(HidCommand::KeyCommand, {keyCode1, keyCode2});
}

void QXHidCommandManager::sendResetKeyStatusData()
{
    send(HidCommand::ResetKeyStatus);
    if (m_sink)
        m_sink->setPressType(0);
    m_seams.keys->setIsResetKey(false);
}

void QXHidCommandManager::sendOpenRGBLogoLEDData()
{
    send(HidCommand::OpenRGBLogoLED);
}
void QXHidCommandManager::sendCloseRGBLogoLEDData()
{
    send(HidCommand::CloseRGBLogoLED);
}
void QXHidCommandManager::sendOpenRGBData()
{
    send(HidCommand::OpenRGB);
}
void QXHidCommandManager::sendCloseRGBData()
{
    send(HidCommand::CloseRGB);
}

void QXHidCommandManager::sendGetLightingEffectsModeData()
{
    send(HidCommand::GetLightingEffectsMode);
}
void QXHidCommandManager::sendGetLightingEffectsBrightnessData()
{
    send(HidCommand::GetLightingEffectsBrightness);
}
void QXHidCommandManager::sendGetLightingEffectsSpeedData()
{
    send(HidCommand::GetLightingEffectsSpeed);
}
void QXHidCommandManager::sendGetLightingEffectsColorData()
{
    send(HidCommand::GetLightingEffectsColor);
}
void QXHidCommandManager::sendGetMouseLeftOrRightHandBehavior()
{
    send(HidCommand::GetMouseLeftOrRightHandBehavior);
}

void QXHidCommandManager::sendSetLightingEffectsModeData(qint64 v)
{
    send(HidCommand::SetLightingEffectsMode, {v});
}
void QXHidCommandManager::sendSetLightingEffectsBrightnessData(qint64 v)
{
    send(HidCommand::SetLightingEffectsBrightness, {v});
}
void QXHidCommandManager::sendSetLightingEffectsSpeedData(qint64 v)
{
    send(HidCommand::SetLightingEffectsSpeed, {v});
}
void QXHidCommandManager::sendSetLightingEffectsColorData(qint64 v)
{
    send(HidCommand::SetLightingEffectsColor, {v});
}
void QXHidCommandManager::sendSetMouseLeftOrRightHandBehaviorData(qint64 v)
{
    send(HidCommand::SetMouseLeftOrRightHandBehavior, {v});
}

// --- production ---------------------------------------------------------------------------

void QXHidCommandManager::sendSetProductMode(qint64 mode)
{
    send(HidCommand::SetProductMode, {mode});
}

void QXHidCommandManager::sendSetSNData(const QString &sn)
{
    QString error;
    const proto::HidFrameList frames = proto::hidSetSnFrames(currentContext(), sn, &error);
    if (frames.empty())
        qxWarning("hid") << "serial number not sent:" << error;
    send(frames);
}

void QXHidCommandManager::sendSetBurnerInfoPID(qint64 pid, qint64 vid, qint64 icDirection, qint64 mode,
                                               qint64 mouseType, qint64 websiteType)
{
    send(HidCommand::SetBurnerInfo, {pid, vid, icDirection, mode, mouseType, websiteType});
}

void QXHidCommandManager::sendSetTelinkBurnerInfoMouseType(qint64 v)
{
    send(HidCommand::SetTelinkBurnerInfoMouseType, {v});
}
void QXHidCommandManager::sendSetTelinkBurnerInfoWebsiteType(qint64 v)
{
    send(HidCommand::SetTelinkBurnerInfoWebsiteType, {v});
}
void QXHidCommandManager::sendSetTelinkBurnerInfozAudio_reat(qint64 v)
{
    send(HidCommand::SetTelinkBurnerInfoAudioRate, {v});
}
void QXHidCommandManager::sendSetTelinkBurnerInfoIC_Direction(qint64 v)
{
    send(HidCommand::SetTelinkBurnerInfoIcDirection, {v});
}

void QXHidCommandManager::sendSetTelinkBurnerInfoSN(const QString &sn)
{
    QString error;
    const proto::HidContext ctx = currentContext();
    const proto::HidFrameList frames = proto::hidSetTelinkSnFrames(ctx, sn, &error);
    if (frames.empty() && ctx.chipPlan == 6)
        qxWarning("hid") << "serial number not sent:" << error;
    send(frames);
}

// --- laser pen and pointer --------------------------------------------------------------------

void QXHidCommandManager::sendGetTelinkLaserPenInfoData()
{
    send(HidCommand::GetTelinkLaserPenInfo);
}
void QXHidCommandManager::sendTelinkLaserPenEnterMouseStatusData()
{
    send(HidCommand::TelinkLaserPenEnterMouseStatus);
}
void QXHidCommandManager::sendTelinkLaserPenQuitMouseStatusData()
{
    send(HidCommand::TelinkLaserPenQuitMouseStatus);
}
void QXHidCommandManager::sendTelinkLaserPenOpenMicData()
{
    send(HidCommand::TelinkLaserPenOpenMic);
}
void QXHidCommandManager::sendTelinkLaserPenCloseMicData()
{
    send(HidCommand::TelinkLaserPenCloseMic);
}
void QXHidCommandManager::sendTelinkLaserPenOpenHardLaserData()
{
    send(HidCommand::TelinkLaserPenOpenHardLaser);
}
void QXHidCommandManager::sendTelinkLaserPenCloseHardLaserData()
{
    send(HidCommand::TelinkLaserPenCloseHardLaser);
}
void QXHidCommandManager::sendTelinkLaserPenOnlineData()
{
    send(HidCommand::TelinkLaserPenOnline);
}
void QXHidCommandManager::sendTelinkLaserPenOffLineData()
{
    send(HidCommand::TelinkLaserPenOffLine);
}

void QXHidCommandManager::sendTelinkLaserPenCountdownData(qint64 seconds)
{
    send(HidCommand::TelinkLaserPenCountdown, {seconds});
}

void QXHidCommandManager::sendTelinkLaserPenCurrentTimeData()
{
    send(proto::HidFrameList{proto::hidTelinkCurrentTimeFrame(clock().now())});
}

void QXHidCommandManager::sendLaserPenDpiData(qint64 v)
{
    send(HidCommand::LaserPenDpi, {v});
}

void QXHidCommandManager::sendLaserPenShakeEffectData(double seconds)
{
    send(HidCommand::LaserPenShakeEffect, {laserpen::shakeTenths(seconds)});
}

void QXHidCommandManager::sendLaserPenModeData(qint64 v)
{
    send(HidCommand::LaserPenMode, {v});
}
void QXHidCommandManager::sendLaserPenEnterMouseStatusData()
{
    send(HidCommand::LaserPenEnterMouseStatus);
}
void QXHidCommandManager::sendLaserPenQuitMouseStatusData()
{
    send(HidCommand::LaserPenQuitMouseStatus);
}

// --- voice chip and clock -----------------------------------------------------------------------

void QXHidCommandManager::sendGetXunFeiChipDeviceInfoData()
{
    send(HidCommand::GetXunFeiChipDeviceInfo);
}

void QXHidCommandManager::sendGetXunFeiChipAuthData()
{
    const quint64 t = quint64(std::max<qint64>(0, clock().secondsSinceEpoch()));
    // The reply is checked against the time the request carried.
    QXUserInfoData::sharedInstance().setIFlytekChip_time(t);
    send(proto::HidFrameList{proto::hidXunFeiChipAuthFrame(t)});
}

void QXHidCommandManager::sendCurrentTimeData()
{
    send(proto::HidFrameList{proto::hidCurrentTimeFrame(clock().now())});
}

void QXHidCommandManager::sendCommandOperation()
{
    send(HidCommand::CommandOperation);
}

// --- firmware transfer -----------------------------------------------------------------------------

IFirmwareTransferCommands *QXHidCommandManager::mouseFirmwareTarget()
{
    return m_firmware.get();
}
IFirmwareTransferCommands *QXHidCommandManager::dongleFirmwareTarget()
{
    return m_firmware.get();
}
void QXHidCommandManager::sendStartOTARemoteControlData()
{
    m_firmware->sendStartOTARemoteControlData();
}
void QXHidCommandManager::sendOTAFileRemoteControlData()
{
    m_firmware->sendOTAFileRemoteControlData();
}
void QXHidCommandManager::sendEndOTARemoteControlData()
{
    m_firmware->sendEndOTARemoteControlData();
}
void QXHidCommandManager::sendCancelOTARemoteControlData()
{
    m_firmware->sendCancelOTARemoteControlData();
}

// --- timers -----------------------------------------------------------------------------------------

void QXHidCommandManager::startTimer()
{
    const int interval = proto::familyTraits(QXUserInfoData::sharedInstance().chipPlan()).pollIntervalMs;
    invalidateTimer();
    m_timer = Scheduler::instance().repeating(interval, [this] { checkConnectStatus(); });
}

void QXHidCommandManager::invalidateTimer()
{
    cancelTimer(Scheduler::instance(), m_timer);
}

void QXHidCommandManager::checkConnectStatus()
{
    // No query interrupts a voice stream.
    if (m_isStartVoice)
        return;
    switch (proto::familyTraits(QXUserInfoData::sharedInstance().chipPlan()).poll) {
    case proto::ConnectionPoll::StatusQuery:
        sendSearchMouseConnectStatusData();
        break;
    case proto::ConnectionPoll::SerialQuery:
        sendGetMouseSN();
        break;
    case proto::ConnectionPoll::None:
        break;
    }
}

void QXHidCommandManager::startCheckVoiceTimer()
{
    invalidateCheckVoiceTimer();
    m_checkVoiceTimer = Scheduler::instance().repeating(kCheckVoiceIntervalMs, [this] { sendCommandOperation(); });
}

void QXHidCommandManager::invalidateCheckVoiceTimer()
{
    cancelTimer(Scheduler::instance(), m_checkVoiceTimer);
}
