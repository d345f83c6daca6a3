#include "QXHidapiManager.h"

#include "HidInfoFields.h"
#include "HidInfoReader.h"
#include "LaserPenRequests.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXUserInfoData.h"
#include "ReceiverTable.h"
#include "platform/KeyCodeTable.h"
#include "services/VoiceKeyState.h"

#include <algorithm>

using hidapicmd::Command;

namespace {
using namespace platform::keys;
using qx::receivers::receiverHas;

QXUserInfoData &state()
{
    return QXUserInfoData::sharedInstance();
}

QXMouseInfoItem &item()
{
    return state().mouseInfoItem();
}

quint8 byteAt(const QByteArray &buf, int i)
{
    return quint8(buf.at(i));
}
} // namespace

QXHidapiManager::QXHidapiManager(platform::HidapiShim *shim, const DeviceSeams &seams)
    : m_shim(shim), m_seams(seams.resolved()), m_converter(PressTypeConverter::Options{m_seams})
{
}

QXHidapiManager::~QXHidapiManager()
{
    hidRequestClose();
}

void QXHidapiManager::setShim(platform::HidapiShim *shim)
{
    m_shim = shim;
}

void QXHidapiManager::setHotKeyBinder(HotKeyBinder binder)
{
    m_hotKeyBinder = std::move(binder);
}

void QXHidapiManager::setCustomDataHandler(CustomDataHandler handler)
{
    m_customDataHandler = std::move(handler);
}

bool QXHidapiManager::isPlan2() const
{
    return state().chipPlan() == 2;
}

// --- open and close --------------------------------------------------------------------

void QXHidapiManager::hidRequestReadMouseInfoVid(quint16 vid, quint16 pid, ReadCallback callback)
{
    if (m_handle)
        return;
    for (;;) {
        const OpenResult result = openOnce(vid, pid);
        if (result == OpenResult::Opened)
            break;
        if (result == OpenResult::OpenFailed && m_openHandleNum < kMaxOpenRetries) {
            ++m_openHandleNum;
            continue;
        }
        m_openHandleNum = 0;
        if (callback)
            callback(false, 0);
        return;
    }

    m_openHandleNum = 0;
    m_seams.keys->setReaderPressType(0);
    m_handle->setNonblocking(true);
    m_callbackBlock = std::move(callback);
    getHidInfo();
    state().setUsbConnect(true);
    registerHotKey();
}

QXHidapiManager::OpenResult QXHidapiManager::openOnce(quint16 vid, quint16 pid)
{
    if (!m_shim || m_shim->init() != 0) {
        qxWarning("hidapi") << "the hidapi library cannot be initialised:"
                            << (m_shim ? m_shim->lastError() : QStringLiteral("no library"));
        return OpenResult::NoLibrary;
    }
    const bool plan2 = isPlan2();
    const std::vector<platform::HidapiDeviceInfo> devices = m_shim->enumerate(vid, pid);
    auto chosen = std::find_if(devices.begin(), devices.end(), [&](const platform::HidapiDeviceInfo &d) {
        if (plan2 && (d.vendorId != vid || d.productId != pid))
            return false;
        return d.usagePage == kCommandUsagePage && d.usage == kCommandUsage;
    });
    if (chosen == devices.end()) {
        qxWarning("hidapi") << "no command interface for" << QString::asprintf("%04x:%04x", vid, pid);
        return OpenResult::NoInterface;
    }
    item().setVid(chosen->vendorId);
    item().setPid(chosen->productId);
    item().setSn(chosen->serialNumber);
    std::unique_ptr<platform::HidapiDevice> device = m_shim->openPath(chosen->path);
    if (!device) {
        qxWarning("hidapi") << "unable to open device" << chosen->path << m_shim->lastError();
        return OpenResult::OpenFailed;
    }
    m_handle = std::make_unique<HidapiConnection>(std::move(device));
    return OpenResult::Opened;
}

void QXHidapiManager::hidRequestClose()
{
    m_callbackBlock = nullptr;
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_pollTimer);
    cancelTimer(s, m_infoRetryTimer);
    m_converter.invalidateTimer();
    if (m_releaseTimer != Scheduler::kNoTimer) {
        // A key pressed on the device must not stay down: release it now.
        cancelTimer(s, m_releaseTimer);
        hidRequestWriteCmdReleaseCallback(std::exchange(m_pendingRelease, nullptr));
    }
    m_reading = false;
    if (m_handle) {
        m_handle->close();
        m_handle.reset();
        if (m_shim)
            m_shim->exit();
    }
}

// --- first information and poll --------------------------------------------------------

void QXHidapiManager::getHidInfo()
{
    if (!m_handle)
        return;
    m_reading = true;
    m_handle->requestFeatureReport(kInfoReportId, kInfoReportLength, [this](int res, const QByteArray &report) {
        m_reading = false;
        hidInfoArrived(res, report);
    });
}

void QXHidapiManager::hidInfoArrived(int res, const QByteArray &report)
{
    if (isPlan2()) {
        startTime();
        if (item().deviceType() == 1)
            hidRequestGetMouseInfoCmdCallback(nullptr);
        return;
    }
    if (res < kMinInfoLength) {
        m_infoRetryTimer = Scheduler::instance().singleShot(
            kInfoRetryMs,
            [this] {
                m_infoRetryTimer = Scheduler::kNoTimer;
                getHidInfo();
            },
            this);
        return;
    }
    readOtherPlanFields(report, std::min<int>(res, int(report.size())));
    if (!state().isNeedMouseInfo()) {
        state().setIsNeedMouseInfo(true);
        postNotification(qx::notify::HadUSBInfoNotification);
        sendConfigurationRequest();
    }
    startTime();
}

void QXHidapiManager::startTime()
{
    // Paced: a back-to-back poll would keep the device and the main thread busy for
    // as long as the device is open.
    if (!m_handle || m_pollTimer != Scheduler::kNoTimer || m_reading)
        return;
    m_pollTimer = Scheduler::instance().singleShot(
        kPollIntervalMs,
        [this] {
            m_pollTimer = Scheduler::kNoTimer;
            timerRun();
        },
        this);
}

void QXHidapiManager::timerRun()
{
    if (!m_handle)
        return;
    m_reading = true;
    m_handle->requestFeatureReport(kInfoReportId, kPollReportLength, [this](int res, const QByteArray &report) {
        m_reading = false;
        pollArrived(res, report);
    });
}

void QXHidapiManager::pollArrived(int res, const QByteArray &report)
{
    const int length = std::min<int>(res, int(report.size()));
    if (isPlan2()) {
        getDeivceInfoWithBuf(report, length);
    } else if (length >= kMinInfoLength) {
        takeKey(convertPressTypeWithNum(byteAt(report, 7)));
        if (length > 8 && m_handle && (byteAt(report, 8) == 2 || byteAt(report, 8) == 4))
            m_seams.laserPen->clearDraw();
    }
    startTime(); // nothing once the listener closed the device
}

// --- device information ------------------------------------------------------------------

void QXHidapiManager::getDeivceInfoWithBuf(const QByteArray &buf, int res)
{
    const int length = std::min<int>(res, int(buf.size()));
    if (length <= 0)
        return;
    if (!isPlan2()) {
        readOtherPlanFields(buf, length);
        return;
    }
    readPlan2Report(buf, length);
    if (m_handle)
        handleMouseCustomDataWithBuf(buf);
}

void QXHidapiManager::readOtherPlanFields(const QByteArray &buf, int length)
{
    for (int i = 1; i < length && i <= 6; ++i)
        HidInfoReader::readPlanOtherField(i, byteAt(buf, i));
}

void QXHidapiManager::readPlan2Report(const QByteArray &buf, int length)
{
    QXMouseInfoItem &info = item();
    if (receiverHas(info.vid(), info.pid(), qx::receivers::kPointerReports)) {
        info.setDeviceType(2);
        if (length > 2) {
            const quint8 b = byteAt(buf, 2);
            if (b == hidinfo::kPointerEffectKeyByte)
                m_seams.laserPen->clearDraw();
            takeKey(convertPressTypeWithNum(hidinfo::pointerReceiverKeyCode(b)));
        }
        return;
    }
    for (int i = 2; i < length && i <= 7 && m_handle; ++i) {
        if (i != 2)
            HidInfoReader::readPlanTwoField(i, buf);
        else if (!takeKey(convertPressTypeWithNum(byteAt(buf, i))))
            return;
    }
}

void QXHidapiManager::handleMouseCustomDataWithBuf(const QByteArray &buf)
{
    if (!m_customDataHandler) {
        qxLogOnce(QStringLiteral("hidapi.customData"), QStringLiteral("hidapi: no command parser installed"));
        return;
    }
    m_customDataHandler(buf.left(kPollReportLength));
}

int QXHidapiManager::convertPressTypeWithNum(qint64 num)
{
    return m_converter.convertPressTypeWithNum(num, pressType());
}

bool QXHidapiManager::takeKey(int converted)
{
    switch (hidinfo::keyRule(converted, pressType())) {
    case hidinfo::KeyRule::Ignore:
        return true;
    case hidinfo::KeyRule::StopReport:
        return false;
    case hidinfo::KeyRule::Take:
        break;
    }
    m_seams.keys->setReaderPressType(converted);
    if (ReadCallback listener = m_callbackBlock) // a copy: the listener may close the device
        listener(true, converted);
    return m_handle != nullptr;
}

// --- configuration and hot keys ------------------------------------------------------------

void QXHidapiManager::sendConfigurationRequest()
{
    const quint64 type = item().deviceType();
    if (m_seams.keys->isResetKey()) {
        m_seams.keys->setIsResetKey(false);
        if (type == 1) {
            hidRequestResetKeyCmdCallback(nullptr);
        } else if (type == 2) {
            m_seams.laserPen->dismissEffect();
            hidRequestLaserPenResetKeyStatusCallback(nullptr);
        }
    }
    if (type == 2) {
        hidRequestLaserPenDPI(30, nullptr);
        hidRequestLaserPenMotor(3, nullptr);
    }
}

void QXHidapiManager::registerHotKey()
{
    const quint16 vid = item().vid(), pid = item().pid();
    if (!receiverHas(vid, pid, qx::receivers::kHidapiHotKeys))
        return;
    const bool wordReceiver = receiverHas(vid, pid, qx::receivers::kF2SwitchesMode);
    item().setDeviceType(3);
    if (!m_hotKeyBinder) {
        qxLogOnce(QStringLiteral("hidapi.hotkeys"), QStringLiteral("hidapi: global shortcuts not available"));
        return;
    }
    auto hadStart = [keys = m_seams.keys] { return keys->hadStart(); };
    auto bind = [this](const char *key, int macKeyCode, std::function<void()> action) {
        m_hotKeyBinder(HotKey{QString::fromLatin1(key), macKeyCode, 0, true, std::move(action)});
    };
    bind("WordShortcutKey", kMacKeyF1, [this, hadStart] { hotKeyPressed(hadStart() ? 52 : 51); });
    if (wordReceiver) {
        bind("ChangeModeShortcutKey", kMacKeyF2, [this] { hotKeyPressed(64); });
    } else {
        bind("TranslateShortcutKey", kMacKeyF2, [this, hadStart] { hotKeyPressed(hadStart() ? 54 : 53); });
        bind("SearchShortcutKey", kMacKeyF3, [this, hadStart] { hotKeyPressed(hadStart() ? 50 : 49); });
    }
}

void QXHidapiManager::hotKeyPressed(int keyNum)
{
    m_seams.keys->setReaderPressType(convertPressTypeWithNum(keyNum));
    if (ReadCallback listener = m_callbackBlock)
        listener(true, pressType());
}

// --- commands ------------------------------------------------------------------------------

void QXHidapiManager::hidRequestSendCommand(const QByteArray &buffer, CommandCallback callback)
{
    if (!m_handle) {
        qxWarning("hidapi") << "unable to open device";
        if (callback)
            callback(false, QString());
        return;
    }
    QString error;
    const int written = m_handle->write(buffer, isPlan2() ? 17 : 16, &error);
    if (written < 0) {
        qxWarning("hidapi") << "Unable to write()" << error;
        if (callback)
            callback(false, QString());
        return;
    }
    if (callback)
        callback(true, QString());
}

void QXHidapiManager::sendCommand(Command command, int value, CommandCallback callback)
{
    hidRequestSendCommand(hidapicmd::build(command, isPlan2(), value), std::move(callback));
}

void QXHidapiManager::hidRequestWriteLedOpen(bool open, CommandCallback callback)
{
    sendCommand(Command::Led, open, std::move(callback));
}

void QXHidapiManager::hidRequestWriteDpiNum(int dpi, CommandCallback callback)
{
    sendCommand(Command::Dpi, dpi, std::move(callback));
}

void QXHidapiManager::hidRequestWriteCmd(int cmd, CommandCallback callback)
{
    if (!isPlan2()) {
        sendCommand(Command::KeyCommand, cmd, std::move(callback));
        return;
    }
    if (m_releaseTimer != Scheduler::kNoTimer) {
        // The previous key goes up before the next one goes down.
        cancelTimer(Scheduler::instance(), m_releaseTimer);
        hidRequestWriteCmdReleaseCallback(std::exchange(m_pendingRelease, nullptr));
    }
    bool pressed = false;
    sendCommand(Command::KeyCommand, cmd, [&](bool ok, const QString &) { pressed = ok; });
    if (!pressed) {
        if (callback)
            callback(false, QString());
        return;
    }
    m_pendingRelease = std::move(callback);
    m_releaseTimer = Scheduler::instance().singleShot(
        kKeyReleaseDelayMs,
        [this] {
            m_releaseTimer = Scheduler::kNoTimer;
            hidRequestWriteCmdReleaseCallback(std::exchange(m_pendingRelease, nullptr));
        },
        this);
}

void QXHidapiManager::hidRequestWriteCmdReleaseCallback(CommandCallback callback)
{
    sendCommand(Command::KeyCommandRelease, 0, std::move(callback));
}

void QXHidapiManager::hidRequestResetKeyCmdCallback(CommandCallback callback)
{
    sendCommand(Command::ResetKey, 0, [this, callback = std::move(callback)](bool ok, const QString &message) {
        m_seams.keys->setReaderPressType(0);
        if (callback)
            callback(ok, message);
    });
}

void QXHidapiManager::hidRequestOpenWebsiteCmd(bool open, CommandCallback callback)
{
    sendCommand(Command::OpenWebsite, open, std::move(callback));
}

void QXHidapiManager::hidRequestOpenMic(bool open, CommandCallback callback)
{
    sendCommand(Command::OpenMic, open, std::move(callback));
}

void QXHidapiManager::hidRequestGetMouseInfoCmdCallback(CommandCallback callback)
{
    sendCommand(Command::GetMouseInfo, 0, std::move(callback));
}

void QXHidapiManager::hidRequestLaserPenMode(int mode, CommandCallback callback)
{
    sendCommand(Command::LaserPenMode, mode, std::move(callback));
}

void QXHidapiManager::hidRequestLaserPenDPI(int dpi, CommandCallback callback)
{
    sendCommand(Command::LaserPenDpi, dpi, std::move(callback));
}

void QXHidapiManager::hidRequestLaserPenOpenWebsiteCmd(bool open, CommandCallback callback)
{
    sendCommand(Command::LaserPenOpenWebsite, open, std::move(callback));
}

void QXHidapiManager::hidRequestLaserPenOpenMic(bool open, CommandCallback callback)
{
    sendCommand(Command::LaserPenOpenMic, open, std::move(callback));
}

void QXHidapiManager::hidRequestLaserPenOpenLED(bool open, CommandCallback callback)
{
    sendCommand(Command::LaserPenOpenLed, open, std::move(callback));
}

void QXHidapiManager::hidRequestLaserPenMotor(int value, CommandCallback callback)
{
    sendCommand(Command::LaserPenMotor, value, std::move(callback));
}

void QXHidapiManager::hidRequestLaserPenResetKeyStatusCallback(CommandCallback callback)
{
    sendCommand(Command::LaserPenResetKeyStatus, 0,
                [this, callback = std::move(callback)](bool ok, const QString &message) {
                    m_seams.keys->setReaderPressType(0);
                    if (callback)
                        callback(ok, message);
                });
}

void QXHidapiManager::hidRequestLaserPenMotorShakeDuration(double seconds, CommandCallback callback)
{
    sendCommand(Command::LaserPenShakeDuration, laserpen::shakeTenths(seconds), std::move(callback));
}

void QXHidapiManager::hidRequestLaserPenSendKeyCommand(int value, CommandCallback callback)
{
    sendCommand(Command::LaserPenSendKeyCommand, value, std::move(callback));
}
