#include "HIDDevice.h"

#include "HidInterfaceRules.h"
#include "HidReportRules.h"
#include "InstalledInstance.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXUserInfoData.h"
#include "ReceiverTable.h"
#include "TPRDelayInvocation.h"
#include "services/VoiceKeyState.h"

#include <QPointer>

#include <cstring>
#include <utility>

using platform::HidDeviceInfo;
using platform::HidError;
using platform::HidMatch;
using platform::HidResult;
namespace receivers = qx::receivers;

namespace {

template <typename Fn, typename... Args> void callSink(const Fn &hook, const char *name, Args &&...args)
{
    if (!hook) {
        qxLogOnce(
            QStringLiteral("hid-sink:%1").arg(QLatin1String(name)),
            QStringLiteral("%1 is not connected to the HID transport; the call is ignored").arg(QLatin1String(name)));
        return;
    }
    const Fn copy = hook; // the hook may replace the sinks while it runs
    copy(std::forward<Args>(args)...);
}

// Global shortcuts that only make sense while a receiver is plugged in.
constexpr const char *kReceiverShortcutKeys[] = {"WordShortcutKey", "TranslateShortcutKey", "SearchShortcutKey",
                                                 "ChangeModeShortcutKey", "SnipShortcutKey"};

QString describe(const HidResult &r)
{
    if (r.error == HidError::AccessDenied)
        return QStringLiteral("access denied (is the device-access rule installed?)");
    return QString::fromLocal8Bit(std::strerror(r.sysErrno ? r.sysErrno : EIO));
}

} // namespace

void HIDDevice::listHooks(HookStates &out) const
{
    static_assert(sizeof(HidDeviceSinks) == 14 * sizeof(std::function<void()>), "a new sink is listed here too");
    const HidDeviceSinks &s = m_sinks;
    out.in(QStringLiteral("HIDDevice"))
        .add("backend", m_backend)
        .addSeams("seams", m_seams)
        .add("sinks.startTimer", s.startTimer)
        .add("sinks.invalidateTimer", s.invalidateTimer)
        .add("sinks.setIsStartVoice", s.setIsStartVoice)
        .add("sinks.sendCloseMicData", s.sendCloseMicData)
        .add("sinks.sendTelinkLaserPenOnlineData", s.sendTelinkLaserPenOnlineData)
        .add("sinks.handleVoiceData", s.handleVoiceData)
        .add("sinks.eventTypeConvertDataToHexStr", s.eventTypeConvertDataToHexStr)
        .add("sinks.setIsFromMicData", s.setIsFromMicData)
        .add("sinks.sendGetMouseInfoData", s.sendGetMouseInfoData)
        .add("sinks.sendClosePopUpWebSiteData", s.sendClosePopUpWebSiteData)
        .add("sinks.readDeviceInfo", s.readDeviceInfo)
        .add("sinks.registerHotKey", s.registerHotKey)
        .add("sinks.cancelPeripheralConnection", s.cancelPeripheralConnection)
        .add("sinks.breakBindingWithDefaultsKey", s.breakBindingWithDefaultsKey);
}

HIDDevice::HIDDevice(platform::IHidBackend *backend, const DeviceSeams &seams, QObject *parent)
    : QObject(parent), m_backend(backend), m_seams(seams.resolved())
{
    if (m_backend)
        m_backend->setInputCallback(
            [this](const QString &path, const QByteArray &report) { hidInputReport(path, report); });
}

HIDDevice::~HIDDevice()
{
    InstalledInstance<HIDDevice>::uninstall(this);
    if (!m_backend)
        return;
    m_backend->setInputCallback(nullptr);
    if (m_watching)
        m_backend->stopWatching();
    if (!m_command.path.isEmpty())
        m_backend->close(m_command.path);
    if (!m_voice.path.isEmpty())
        m_backend->close(m_voice.path);
}

HIDDevice &HIDDevice::sharedInstance()
{
    return InstalledInstance<HIDDevice>::get("HIDDevice");
}

HIDDevice *HIDDevice::setSharedInstance(HIDDevice *instance)
{
    return InstalledInstance<HIDDevice>::install(instance);
}

// --- discovery and identification ------------------------------------------------------------

QList<HidMatch> HIDDevice::registerDevice()
{
    QList<HidMatch> matches;
    for (const receivers::ReceiverRow &row : receivers::receiverTable())
        matches.append(HidMatch{row.vendorId, row.productId});
    return matches;
}

void HIDDevice::startMonitor()
{
    m_openHandleNum = 0;
    if (!m_backend) {
        qxLogOnce(QStringLiteral("hid-no-backend"),
                  QStringLiteral("no HID access in this build; receivers are not looked for"));
        return;
    }
    if (!m_watching) {
        m_watching = m_backend->startWatching(
            registerDevice(), [this](const HidDeviceInfo &d) { setDeviceRef(d, false); },
            [this](const HidDeviceInfo &d) { setDeviceRef(d, true); });
        if (!m_watching)
            qxWarning("hid") << "cannot watch for receivers; only those present now are found";
    }
    // Interfaces already present are taken up on the event loop, never from inside this
    // call: a receiver with only its voice interface opens, finds no command interface
    // and comes back here. One round at a time.
    if (m_announcing || m_announceTimer != Scheduler::kNoTimer)
        return;
    m_announceTimer = Scheduler::instance().singleShot(
        0,
        [this] {
            m_announceTimer = Scheduler::kNoTimer;
            announcePresent();
        },
        this);
}

void HIDDevice::announcePresent()
{
    if (!m_backend)
        return;
    m_announcing = true;
    const QList<HidDeviceInfo> present = m_backend->enumerate(registerDevice());
    for (const HidDeviceInfo &d : present)
        if (!isHeld(d.path))
            setDeviceRef(d, false);
    m_announcing = false;
    // Nothing else reports an empty bus; a receiver that is there says so itself.
    if (present.isEmpty())
        qxLogOnce(QStringLiteral("hid-no-receiver"), QStringLiteral("[hid] no receiver connected; waiting for one"));
}

bool HIDDevice::isHeld(const QString &path) const
{
    return !path.isEmpty() && (path == m_command.path || path == m_voice.path);
}

bool HIDDevice::holdsSameReceiver(const HidDeviceInfo &device) const
{
    // Two identical receivers share their ids; the USB device tells them apart when the
    // system names it.
    return m_currentUsbDevice.isEmpty() || device.usbDevice.isEmpty() || device.usbDevice == m_currentUsbDevice;
}

void HIDDevice::setDeviceRef(const HidDeviceInfo &device, bool isRemove)
{
    if (device.path.isEmpty())
        return;
    if (isRemove)
        deviceRemoved(device);
    else
        deviceArrived(device);
}

void HIDDevice::deviceRemoved(const HidDeviceInfo &device)
{
    if (m_currentPid == 0 && m_currentVid == 0)
        return;
    if (device.productId != m_currentPid || device.vendorId != m_currentVid || !holdsSameReceiver(device))
        return;

    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    callSink(m_sinks.invalidateTimer, "invalidateTimer");
    writeLog(QStringLiteral("接收器拔出"));
    m_currentPid = 0;
    m_currentVid = 0;
    m_currentUsbDevice.clear();
    m_isLength33 = false;
    state.setUsbInsert(false);
    state.setUsbConnect(false);
    state.setMouseIsConnect(false);
    state.setIsSupportKeySetting(false);
    state.setChipPlan(0);
    m_seams.keys->setVioceMode(1);
    m_seams.laserPen->dismissEffect();
    callSink(m_sinks.setIsStartVoice, "setIsStartVoice", false);
    m_seams.voice->cancelAsr();
    for (const char *key : kReceiverShortcutKeys)
        callSink(m_sinks.breakBindingWithDefaultsKey, "breakBindingWithDefaultsKey", QString::fromLatin1(key));
    closeHIDDevice();
    postNotification(QString::fromLatin1(qx::notify::kUSBRemoveNotification));
    openHIDDevice();
}

void HIDDevice::deviceArrived(const HidDeviceInfo &device)
{
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    // A mouse already connected (over a receiver or Bluetooth LE) keeps the transport.
    if (state.isConnect())
        return;
    if (isHeld(device.path)) {
        qxDebug("hid") << "arrival of an interface already held:" << device.path;
        return;
    }
    if (!receivers::findReceiver(device.vendorId, device.productId)) {
        qxDebug("hid") << "not a known receiver:" << Qt::hex << device.vendorId << device.productId << device.path;
        return;
    }

    const QString version = qx::hid::dongleVersionText(device.versionNumber);
    const qx::hid::ExpectedInterface expected =
        qx::hid::expectedCommandInterface(device.vendorId, device.productId, device.product, version);
    if (expected.fromMicData)
        callSink(m_sinks.setIsFromMicData, "setIsFromMicData", true);
    const qx::hid::InterfaceRole role = qx::hid::decideInterface(expected, device.primaryUsagePage, device.primaryUsage,
                                                                 device.vendorId, device.productId);
    if (role == qx::hid::InterfaceRole::Ignored)
        return;

    // Only the receiver being taken up may set the version the firmware checks compare.
    state.mouseInfoItem().setDongleVersion(version);
    m_isLength33 = expected.length33;
    if (role == qx::hid::InterfaceRole::Voice) {
        takeInterface(m_voice, device);
        state.setChipPlan(3);
    } else {
        takeInterface(m_command, device);
    }
    m_currentPid = device.productId;
    m_currentVid = device.vendorId;
    m_currentUsbDevice = device.usbDevice;
    writeLog(QStringLiteral("接收器插入"));
    state.setUsbInsert(true);
    state.setIsNeedMouseInfo(false);
    if (!state.isConnect())
        openHIDDevice();
    // An interface delivers its reports only while open; the command interface is opened
    // by openHIDDevice, the voice interface here.
    if (role == qx::hid::InterfaceRole::Voice && m_voice.path == device.path && m_backend) {
        const HidResult opened = m_backend->open(m_voice.path);
        if (!opened.ok())
            qxWarning("hid") << "cannot open the voice interface" << m_voice.path << ":" << describe(opened);
    }
}

void HIDDevice::takeInterface(HidDeviceInfo &slot, const HidDeviceInfo &device)
{
    if (m_backend && !slot.path.isEmpty() && slot.path != device.path)
        m_backend->close(slot.path);
    slot = device;
}

void HIDDevice::openHIDDevice()
{
    if (m_command.path.isEmpty()) {
        startMonitor();
        return;
    }
    if (!m_backend)
        return;
    for (;;) {
        const HidResult opened = m_backend->open(m_command.path);
        if (opened.ok())
            break;
        if (!m_voice.path.isEmpty()) {
            qxWarning("hid") << "cannot open" << m_command.path << ":" << describe(opened)
                             << "- closing the microphone through the voice interface";
            m_backend->open(m_voice.path);
            callSink(m_sinks.sendCloseMicData, "sendCloseMicData");
            return;
        }
        if (m_openHandleNum < kMaxOpenRetries) {
            ++m_openHandleNum;
            continue;
        }
        m_openHandleNum = 0;
        qxWarning("hid") << "giving up opening" << m_command.path << ":" << describe(opened);
        return;
    }

    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    state.mouseInfoItem().setDeviceType(1);
    setUpFamily(m_command.serialNumber);

    state.setUsbConnect(true);
    callSink(m_sinks.cancelPeripheralConnection, "cancelPeripheralConnection");
    postNotification(QString::fromLatin1(qx::notify::kUSBInsertNotification));
    registerHotKey();
    setPressType(0);
    m_seams.voice->hidCallbackType(0);
    // Every open asks for the device information once, a second later.
    QPointer<HIDDevice> self(this);
    TPRDelayInvocationTrailing(
        GroupKey::unique(),
        [self] {
            if (self)
                self->getHidInfo();
        },
        1.0);
}

void HIDDevice::setUpFamily(const QString &serialNumber)
{
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    QXMouseInfoItem &item = state.mouseInfoItem();
    const receivers::ReceiverRow *row =
        receivers::findReceiver(quint16(m_currentVid.load()), quint16(m_currentPid.load()));
    if (!row) {
        state.setChipPlan(1);
        storeIds(serialNumber);
        return;
    }
    const auto identify = [&] {
        if (row->logText)
            writeLog(QString::fromUtf8(row->logText));
        if (row->mouseSource != receivers::kUnchanged)
            item.setMouseSource(quint64(row->mouseSource));
        item.setDeviceType(quint64(row->deviceType));
        if (row->has(receivers::kLaserPen))
            m_seams.laserPen->changeLaserPenStatus(true);
    };

    switch (row->family) {
    case receivers::OpenFamily::Basic:
        identify();
        // A receiver whose voice interface is held speaks the voice receivers' layout
        // (plan 3), whichever of its interfaces the system reported first.
        if (m_voice.path.isEmpty())
            state.setChipPlan(row->chipPlan);
        storeIds(serialNumber);
        break;
    case receivers::OpenFamily::PlanGroup: {
        // The plan-6 pointer receivers announce themselves once their plan is set.
        const bool pointerLate = row->chipPlan == 6 && row->has(receivers::kLaserPen);
        if (!pointerLate)
            identify();
        state.setChipPlan(row->chipPlan);
        if (row->has(receivers::kMouseConnected))
            state.setMouseIsConnect(true);
        if (pointerLate) {
            item.setDeviceType(quint64(row->deviceType));
            m_seams.laserPen->changeLaserPenStatus(true);
            writeLog(QString::fromUtf8(row->logText));
        }
        item.setMouseSource(0);
        if (row->keySetting != receivers::kUnchanged)
            state.setIsSupportKeySetting(row->keySetting == 1);
        if (row->has(receivers::kStartTimer))
            callSink(m_sinks.startTimer, "startTimer");
        if (row->has(receivers::kStoreIds))
            storeIds(serialNumber);
        break;
    }
    case receivers::OpenFamily::Telink:
        identify();
        item.setMouseSource(0);
        state.setIsSupportKeySetting(true);
        callSink(m_sinks.startTimer, "startTimer");
        callSink(m_sinks.setIsFromMicData, "setIsFromMicData", true);
        postNotification(QString::fromLatin1(qx::notify::kUSBInsertNotification));
        postNotification(QString::fromLatin1(qx::notify::HadUSBInfoNotification));
        break;
    case receivers::OpenFamily::PlanSeven:
        state.setChipPlan(row->chipPlan);
        state.setIsSupportKeySetting(true);
        identify();
        break;
    }
}

void HIDDevice::storeIds(const QString &serialNumber)
{
    QXMouseInfoItem &item = QXUserInfoData::sharedInstance().mouseInfoItem();
    item.setVid(quint16(m_currentVid.load() & 0xFFFF));
    item.setPid(quint16(m_currentPid.load() & 0xFFFF));
    item.setSn(serialNumber);
}

void HIDDevice::closeHIDDevice()
{
    if (!m_command.path.isEmpty()) {
        if (m_backend) {
            if (m_watching)
                m_backend->stopWatching();
            m_backend->close(m_command.path);
        }
        m_watching = false;
        cancelTimer(Scheduler::instance(), m_announceTimer);
        m_command = {};
    }
    if (!m_voice.path.isEmpty()) {
        if (m_backend)
            m_backend->close(m_voice.path);
        m_voice = {};
    }
    // Commands still waiting were built for the device that went away; the next receiver
    // may speak another frame layout.
    m_commandArr.clear();
    cancelTimer(Scheduler::instance(), m_paceTimer);
    m_isSendingData = false;
    callSink(m_sinks.invalidateTimer, "invalidateTimer");
}

void HIDDevice::getHidInfo()
{
    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    callSink(m_sinks.sendGetMouseInfoData, "sendGetMouseInfoData");
    if (state.mouseInfoItem().deviceType() == 1)
        callSink(m_sinks.sendClosePopUpWebSiteData, "sendClosePopUpWebSiteData");
    if (state.isLaser())
        callSink(m_sinks.sendTelinkLaserPenOnlineData, "sendTelinkLaserPenOnlineData");
}

void HIDDevice::resetHIDDevice()
{
    if (m_command.path.isEmpty())
        return;
    const HidDeviceInfo device = m_command;
    setDeviceRef(device, true);
}

void HIDDevice::registerHotKey()
{
    callSink(m_sinks.registerHotKey, "registerHotKey");
}

// --- output ------------------------------------------------------------------------------------

quint32 HIDDevice::statusOf(const HidResult &result)
{
    switch (result.error) {
    case HidError::None:
        return kIOReturnSuccess;
    case HidError::NoDevice:
        return kIOReturnNoDevice;
    case HidError::AccessDenied:
        return kIOReturnNotPermitted;
    case HidError::NotOpen:
        return kIOReturnNotOpen;
    case HidError::Io:
        break;
    }
    return kIOReturnError;
}

quint32 HIDDevice::sendData(const QByteArray &command)
{
    return send(command, false);
}

quint32 HIDDevice::send(const QByteArray &command, bool queued)
{
    if (m_command.path.isEmpty() || !m_backend)
        return kIOReturnNoDevice;
    if (command.isEmpty()) {
        qxWarning("hid") << "an empty command is not sent";
        return kIOReturnBadArgument;
    }
    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    const int length = qx::hid::outputReportLength(state.chipPlan(), state.mouseInfoItem().deviceType(), m_isLength33);
    const HidResult opened = m_backend->open(m_command.path);
    if (!opened.ok())
        return statusOf(opened);

    QByteArray report = command.left(length);
    // Command buffers are zero-filled frames: a short one is completed with zeros. A queued
    // one goes out in the length of the moment but never longer than it was stored, since
    // the family may have changed while it waited.
    if (!queued && report.size() < length)
        report.append(QByteArray(length - report.size(), '\0'));
    if (m_isSendingData) {
        m_commandArr.append(report);
        return kIOReturnSuccess;
    }
    m_isSendingData = true;
    const QByteArray wire = qx::hid::isShortCommand(report) ? report.left(qx::hid::kShortCommandLength) : report;
    const quint32 status = statusOf(m_backend->writeReport(m_command.path, wire));
    m_paceTimer = Scheduler::instance().singleShot(
        kPacingMs, [this] { paceStep(); }, this);
    return status;
}

void HIDDevice::paceStep()
{
    m_paceTimer = Scheduler::kNoTimer;
    m_isSendingData = false;
    if (m_commandArr.isEmpty())
        return;
    const QByteArray first = m_commandArr.first();
    send(first, true);
    // Identical commands that waited together go out once.
    m_commandArr.removeAll(first);
}

quint32 HIDDevice::hidRequestSendCommand(const QByteArray &command, const SendCallback &callback)
{
    const quint32 status = sendData(command);
    if (status == kIOReturnSuccess) {
        if (callback)
            callback(true, QString());
        setPressType(0);
    } else if (callback) {
        callback(false, QString());
    }
    return status;
}

void HIDDevice::hidRequestSendCommand(const HidCommandBuffer &buffer)
{
    hidRequestSendCommand(QByteArray(reinterpret_cast<const char *>(buffer.data()), qsizetype(buffer.size())));
}

// --- input ---------------------------------------------------------------------------------------

void HIDDevice::hidInputReport(const QString &path, const QByteArray &report)
{
    if (path.isEmpty())
        return;
    if (report.isEmpty() || report.size() > kMaxInputReport) {
        qxLogOnce(QStringLiteral("hid-input-size"),
                  QStringLiteral("input report of %1 bytes dropped (empty or over %2 bytes)")
                      .arg(report.size())
                      .arg(kMaxInputReport));
        return;
    }
    if (path == m_voice.path)
        callSink(m_sinks.handleVoiceData, "handleVoiceData", report);
    else if (path == m_command.path)
        usbhidDidRecvData(report);
}

void HIDDevice::usbhidDidRecvData(const QByteArray &report)
{
    if (qx::hid::isCommandInterfaceReport(report))
        getDeivceInfoWithBuf(report);
}

void HIDDevice::getDeivceInfoWithBuf(const QByteArray &report)
{
    if (QXUserInfoData::sharedInstance().isSupportKeySetting()) {
        if (!report.isEmpty())
            handleMouseCustomDataWithBuf(report);
        return;
    }
    callSink(m_sinks.readDeviceInfo, "readDeviceInfo", report);
}

void HIDDevice::handleMouseCustomDataWithBuf(const QByteArray &report)
{
    QPointer<HIDDevice> self(this);
    callSink(m_sinks.eventTypeConvertDataToHexStr, "eventTypeConvertDataToHexStr", report, [self](int code) {
        if (!self)
            return;
        if (code == 0x5A)
            self->m_isStartVoice = true;
        else if (code == 0)
            self->m_isStartVoice = false;
    });
}
