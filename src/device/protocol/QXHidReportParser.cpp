#include "QXHidReportParser.h"

#include "HookStates.h"

#include "HIDDevice.h"
#include "HidDeviceInfoHandler.h"
#include "InstalledInstance.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXBLEManager.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "TPRDelayInvocation.h"

#include <QPointer>

using proto::HidReplyRoute;
using proto::HidReport;
using proto::HidReportFamily;
using proto::HidReportKind;

namespace {

void post(const char *name)
{
    postNotification(QString::fromLatin1(name));
}

QString familyName(HidReportFamily f)
{
    switch (f) {
    case HidReportFamily::Framed:
        return QStringLiteral("framed");
    case HidReportFamily::Plan7:
        return QStringLiteral("plan 7");
    case HidReportFamily::Plan6:
        return QStringLiteral("plan 6");
    case HidReportFamily::Plan4:
        return QStringLiteral("plan 4");
    case HidReportFamily::Plan3:
        return QStringLiteral("plan 3");
    case HidReportFamily::None:
        break;
    }
    return QStringLiteral("none");
}

} // namespace

QXHidReportParser::QXHidReportParser(QXHidCommandManager &hid, QXMouseCommandManager *facade)
    : m_hid(hid), m_facade(facade), m_info(std::make_unique<HidDeviceInfoHandler>(*this))
{
}

QXHidReportParser::~QXHidReportParser() = default;

QXHidReportParser &QXHidReportParser::sharedInstance()
{
    return InstalledInstance<QXHidReportParser>::get("QXHidReportParser");
}

QXHidReportParser *QXHidReportParser::setSharedInstance(QXHidReportParser *instance)
{
    return InstalledInstance<QXHidReportParser>::install(instance);
}

QXMouseCommandManager &QXHidReportParser::facade() const
{
    return m_facade ? *m_facade : QXMouseCommandManager::sharedInstance();
}

void QXHidReportParser::listHooks(HookStates &out) const
{
    static_assert(sizeof(Deps) == 3 * sizeof(std::function<void()>), "a new service is listed here too");
    out.in(QStringLiteral("QXHidReportParser"))
        .add("facade", m_facade)
        .add("deps.cancelPeripheralConnection", m_deps.cancelPeripheralConnection)
        .add("deps.startScan", m_deps.startScan)
        .add("deps.currentIds", m_deps.currentIds)
        .add("keyEventHandler", m_keys)
        .add("lightingReplyHandler", m_lighting)
        .add("otaAckHandler", m_ota);
}

void QXHidReportParser::addSinks(HidDeviceSinks &sinks)
{
    sinks.eventTypeConvertDataToHexStr = [this](const QByteArray &report, std::function<void(int)> complete) {
        eventTypeConvertDataToHexStr(report, [complete](int command, int) {
            if (complete)
                complete(command);
        });
    };
    sinks.handleVoiceData = [this](const QByteArray &report) { handleVoiceData(report); };
}

void QXHidReportParser::attachTo(HIDDevice &device)
{
    addSinks(device.sinks());
    HIDDevice *d = &device;
    if (!m_deps.currentIds)
        m_deps.currentIds = [d] {
            return std::pair<quint16, quint16>(quint16(d->currentVid()), quint16(d->currentPid()));
        };
}

void QXHidReportParser::cancelPeripheralConnection()
{
    if (m_deps.cancelPeripheralConnection)
        m_deps.cancelPeripheralConnection();
    else
        QXBLEManager::sharedInstance().cancelPeripheralConnection();
}

void QXHidReportParser::startScan()
{
    if (m_deps.startScan)
        m_deps.startScan();
    else
        QXBLEManager::sharedInstance().startScan();
}

proto::HidReportContext QXHidReportParser::context() const
{
    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    proto::HidReportContext ctx;
    const qint64 plan = state.chipPlan();
    ctx.chipPlan = plan >= 0 && plan <= 7 ? int(plan) : -1;
    ctx.deviceType = int(std::min<quint64>(state.mouseInfoItem().deviceType(), 0xff));
    const auto ids = m_deps.currentIds ? m_deps.currentIds()
                                       : std::pair<quint16, quint16>(quint16(HIDDevice::sharedInstance().currentVid()),
                                                                     quint16(HIDDevice::sharedInstance().currentPid()));
    ctx.vendorId = ids.first;
    ctx.productId = ids.second;
    ctx.productCode113 = state.productCode() == QLatin1String("113");
    return ctx;
}

proto::HidVoiceContext QXHidReportParser::voiceContext() const
{
    const proto::HidReportContext ctx = context();
    proto::HidVoiceContext v;
    v.chipPlan = ctx.chipPlan;
    v.vendorId = ctx.vendorId;
    v.productId = ctx.productId;
    v.firmwareVersion = QXUserInfoData::sharedInstance().mouseInfoItem().firmwareVersion().toInt();
    v.isStartVoice = m_hid.isStartVoice();
    return v;
}

// --- presence ---------------------------------------------------------------------------------

void QXHidReportParser::presentAction(PresentVia via, const QString &site)
{
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    if (state.mouseIsConnect())
        return;
    state.setMouseIsConnect(true);
    state.setIsSupportKeySetting(true);
    cancelPeripheralConnection();
    m_hid.invalidateTimer();
    m_hid.startTimer();
    post(qx::notify::kUSBInsertNotification);
    if (via == PresentVia::Facade) {
        QXMouseCommandManager *f = &facade();
        TPRDelayInvocationTrailing(
            GroupKey::shared(QStringLiteral("hid.present.") + site),
            [f, alive = QPointer<QObject>(f->lifetime())] {
                if (alive)
                    f->sendGetMouseInfoData();
            },
            kPresentInfoDelaySeconds);
    } else {
        QXHidCommandManager *h = &m_hid;
        TPRDelayInvocationTrailing(
            GroupKey::unique(),
            [h, alive = QPointer<QObject>(h->lifetime())] {
                if (alive)
                    h->sendGetMouseInfoData();
            },
            kPresentInfoDelaySeconds);
    }
}

void QXHidReportParser::goneAction(bool withScan)
{
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    if (!state.mouseIsConnect())
        return;
    state.setMouseIsConnect(false);
    if (withScan)
        startScan();
    post(qx::notify::kUSBRemoveNotification);
}

void QXHidReportParser::unpluggedAction()
{
    QXUserInfoData::sharedInstance().setMouseIsConnect(false);
    startScan();
    post(qx::notify::kUSBRemoveNotification);
}

// --- recognition and dispatch ------------------------------------------------------------------

void QXHidReportParser::eventTypeConvertDataToHexStr(const QByteArray &report, const Complete &complete)
{
    const HidReport r = proto::classifyHidReport(report, context());
    if (r.kind == HidReportKind::TooShort) {
        qxLogOnce(QStringLiteral("hid-report-short:%1").arg(familyName(r.family)),
                  QStringLiteral("%1 report of %2 bytes dropped (command %3 needs %4)")
                      .arg(familyName(r.family))
                      .arg(r.size())
                      .arg(r.command)
                      .arg(r.requiredLength));
        // The plan-4 presence rule looks at nothing but the prefix.
        if (r.family == HidReportFamily::Plan4)
            dispatchPlan4(r);
        return;
    }
    switch (r.family) {
    case HidReportFamily::Framed:
        if (r.kind == HidReportKind::Voice)
            dispatchVoice(r);
        else
            dispatchFramed(r, complete);
        break;
    case HidReportFamily::Plan7:
        dispatchPlan7(r);
        break;
    case HidReportFamily::Plan6:
        dispatchPlan6(r);
        break;
    case HidReportFamily::Plan4:
        dispatchPlan4(r);
        break;
    case HidReportFamily::Plan3:
        m_info->plan3Status(r);
        if (m_keys)
            m_keys->handlePlan3Key(r);
        break;
    case HidReportFamily::None:
        break;
    }
}

void QXHidReportParser::handleVoiceData(const QByteArray &report)
{
    m_hid.voiceStream().handleVoiceData(voiceContext(), report);
}

void QXHidReportParser::dispatchVoice(const HidReport &r)
{
    if (m_hid.isStartVoice()) {
        // The voice stream undoes the plan-4 re-framing itself: its layout needs byte 1.
        QByteArray asArrived = r.bytes;
        if (r.reframed)
            asArrived.insert(1, char(r.byte1));
        m_hid.voiceStream().handleVoiceReport(voiceContext(), asArrived);
        return;
    }
    if (m_keys && (r.family == HidReportFamily::Plan6 || r.family == HidReportFamily::Plan4))
        m_keys->handleVoiceOutsideSession(r);
}

void QXHidReportParser::dispatchFramed(const HidReport &r, const Complete &complete)
{
    switch (r.kind) {
    case HidReportKind::ReceiverFirmware:
        if (m_ota)
            m_ota->handleReceiverFirmwareReply(r);
        return;
    case HidReportKind::RemoteFirmware:
        if (m_ota)
            m_ota->handleRemoteFirmwareReply(r);
        return;
    case HidReportKind::ReceiverConnection:
        m_info->receiverConnection(r);
        return;
    case HidReportKind::Reply:
        break;
    default:
        return;
    }
    if (r.acknowledge)
        m_hid.sendGetReceiveData();
    const bool finish = dispatchRoute(r);
    if (finish && complete)
        complete(r.command, r.status);
}

bool QXHidReportParser::dispatchRoute(const HidReport &r)
{
    switch (r.route) {
    case HidReplyRoute::InfoRequest:
        m_hid.sendGetMouseInfoData();
        break;
    case HidReplyRoute::DeviceInfo:
        m_info->deviceInfo(r);
        break;
    case HidReplyRoute::ConnectionStatus:
        m_info->connectionStatus(r);
        break;
    case HidReplyRoute::Unplugged:
        unpluggedAction();
        break;
    case HidReplyRoute::Gone:
        if (!m_hid.isStartVoice())
            goneAction(true);
        break;
    case HidReplyRoute::PopUpPresent:
        m_hid.sendClosePopUpWebSiteData();
        presentAction(PresentVia::Facade, QStringLiteral("popup"));
        break;
    case HidReplyRoute::Key:
        return m_keys ? m_keys->handleKeyReply(r) : true;
    case HidReplyRoute::Lighting:
        if (m_lighting)
            m_lighting->handleLightingReply(r);
        break;
    case HidReplyRoute::Firmware:
        if (m_ota)
            m_ota->handleFirmwareReply(r);
        break;
    case HidReplyRoute::PresentOnly:
    case HidReplyRoute::None:
        break;
    }
    return true;
}

void QXHidReportParser::dispatchPlan7(const HidReport &r)
{
    // Every report with a command is acknowledged before its prefix is looked at.
    if (r.acknowledge)
        m_hid.sendGetReceiveData();
    if (r.kind == HidReportKind::Reply)
        dispatchRoute(r);
    else if (r.kind == HidReportKind::Voice)
        dispatchVoice(r);
}

void QXHidReportParser::dispatchPlan6(const HidReport &r)
{
    switch (r.kind) {
    case HidReportKind::Reply:
        if (r.acknowledge)
            m_hid.sendGetReceiveData();
        dispatchRoute(r);
        // Any reply but the gone event and the connection status (which has its own
        // rule) shows the device is there.
        if (r.command != 0 && r.command != 0x69)
            presentAction(PresentVia::Facade, QStringLiteral("plan6"));
        break;
    case HidReportKind::Voice:
        dispatchVoice(r);
        break;
    case HidReportKind::VoiceChip:
        if (m_keys)
            m_keys->handleVoiceChip(r);
        break;
    default:
        break;
    }
}

void QXHidReportParser::dispatchPlan4(const HidReport &r)
{
    switch (r.kind) {
    case HidReportKind::Plan4Key:
        m_hid.sendGetReceiveData();
        if (m_keys)
            m_keys->handlePlan4Key(r);
        break;
    case HidReportKind::Plan4Info:
        m_info->plan4Info(r);
        break;
    case HidReportKind::Plan4InfoRequest:
        m_hid.sendGetMouseInfoData();
        break;
    case HidReportKind::Plan4Serial:
        m_info->plan4Serial(r);
        break;
    case HidReportKind::Plan4SerialWritten:
        m_hid.sendGetMouseSN();
        break;
    case HidReportKind::Plan4Firmware:
        m_info->plan4Firmware(r);
        break;
    case HidReportKind::Voice:
        dispatchVoice(r);
        break;
    default:
        break;
    }
    // Whatever the report was, it tells whether the mouse is there.
    if (r.bytes.startsWith(QByteArray::fromRawData("\x0c\x00", 2)))
        goneAction(false);
    else
        presentAction(PresentVia::HidManager, QStringLiteral("plan4"));
}
