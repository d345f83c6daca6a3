#include "QXBLECommandManager.h"

#include "HookStates.h"
#include "InstalledInstance.h"
#include "PZLog.h"
#include "QXBLEManager.h"

namespace g = proto::gadget;

namespace {
// Events whose answer depends on the gadget reporting success.
constexpr int kEventHandshake = 0x01;
constexpr int kEventLeftPress = 0x13;
constexpr int kEventLeftRelease = 0x15;
constexpr int kEventRightPress = 0x17;
constexpr int kEventRightRelease = 0x19;
constexpr int kEventRecordStarted = 0x33;
constexpr int kEventPlay = 0x36;
} // namespace

QXBLECommandManager::QXBLECommandManager(BleWriter writer) : m_writer(std::move(writer)) {}

void QXBLECommandManager::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("QXBLECommandManager"))
        .add("writer", m_writer)
        .add("logBlock", m_logBlock)
        .add("delegate", m_delegate);
}

QXBLECommandManager::~QXBLECommandManager()
{
    cancelTimer(Scheduler::instance(), m_timer);
}

QXBLECommandManager &QXBLECommandManager::sharedInstance()
{
    return InstalledInstance<QXBLECommandManager>::get("QXBLECommandManager");
}

QXBLECommandManager *QXBLECommandManager::setSharedInstance(QXBLECommandManager *instance)
{
    return InstalledInstance<QXBLECommandManager>::install(instance);
}

void QXBLECommandManager::setIsConnect(bool connected)
{
    m_isConnect = connected;
    if (!connected)
        invalidateTimer();
}

std::optional<QByteArray> QXBLECommandManager::sendSynchronousDeviceFileData(const QString &text)
{
    std::optional<QByteArray> frame = g::sendSynchronousDeviceFileData(text);
    if (frame)
        m_synchronousData.clear();
    return frame;
}

QByteArray QXBLECommandManager::sendSetCurrentTimeData() const
{
    return g::sendSetCurrentTimeData(Scheduler::instance().clock().now());
}

void QXBLECommandManager::eventTypeConvertDataToHexStr(const QByteArray &data, const Complete &complete)
{
    if (data.size() < g::kMinValueBytes)
        return;
    QByteArrayList frames = g::splitGadgetFrames(data);
    if (frames.isEmpty())
        frames << data;
    for (const QByteArray &frame : std::as_const(frames)) {
        const g::GadgetNotification n = g::readGadgetNotification(frame);
        handle(n);
        if (complete)
            complete(n.result, n.text, n.status);
    }
}

void QXBLECommandManager::handle(const g::GadgetNotification &n)
{
    const bool ok = n.status == 0;
    switch (n.event) {
    case kEventHandshake:
        if (!ok)
            return;
        setIsConnect(true);
        write(g::sendHandshakeProtocolData());
        Scheduler::instance().singleShot(
            kDeviceInfoDelayMs,
            [this] {
                write(g::sendGetDeviceInfoData());
                Scheduler::instance().singleShot(
                    kMacAddressDelayMs, [this] { write(g::sendGetMACAddressInfoData()); }, &m_context);
            },
            &m_context);
        // The gadget expects the answer twice; the second one goes before the delayed requests.
        write(g::sendHandshakeProtocolData());
        return;
    case kEventLeftPress:
        if (ok) {
            write(g::sendReplyTranslationLeftLongPressData());
            m_isLeftVoice = false;
        }
        return;
    case kEventRightPress:
        if (ok) {
            write(g::sendReplyTranslationRightLongPressData());
            m_isLeftVoice = true;
        }
        return;
    case kEventLeftRelease:
    case kEventRightRelease:
        write(g::sendEndRecordData());
        return;
    case kEventRecordStarted:
        if (ok)
            write(g::sendReplyStartRecordData());
        return;
    case kEventPlay:
        write(g::sendEnterPlayModeData());
        return;
    default:
        return;
    }
}

void QXBLECommandManager::startTimer()
{
    m_sendCount = 0;
    invalidateTimer();
    m_timer = Scheduler::instance().repeating(
        kAuthIntervalMs, [this] { getAuthData(); }, &m_context);
}

void QXBLECommandManager::invalidateTimer()
{
    cancelTimer(Scheduler::instance(), m_timer);
}

void QXBLECommandManager::getAuthData()
{
    write(g::sendGetAuthData());
    ++m_sendCount;
    if (m_sendCount >= kAuthRequests)
        invalidateTimer();
}

void QXBLECommandManager::write(const QByteArray &frame)
{
    if (!m_writer || !m_writer(frame))
        qxInfo("gadget") << "no gadget connected; dropped" << frame.toHex(' ');
}
