#include "SimulatedReceiver.h"

#include "Scheduler.h"
#include "SimulatedHidBus.h"

namespace {

int g_nextNode = 0; // hidraw node numbers, unique in the process
int g_nextUsb = 0;

} // namespace

SimulatedReceiver::SimulatedReceiver(SimulatedHidBus &bus, quint16 vendorId, quint16 productId, const Options &options)
    : m_bus(bus), m_vendorId(vendorId), m_productId(productId), m_options(options),
      m_usbDevice(QStringLiteral("/sys/devices/sim/usb1/1-%1").arg(++g_nextUsb))
{
    m_bus.attach(this);
}

SimulatedReceiver::SimulatedReceiver(SimulatedHidBus &bus, const qx::receivers::ReceiverRow &row,
                                     const Options &options)
    : SimulatedReceiver(bus, row.vendorId, row.productId, options)
{
    using qx::receivers::InterfaceRule;
    // The boot mouse interface is a decoy, except for families that take it (or every
    // interface) as their command interface.
    const bool mouseIsCommand =
        row.rule == InterfaceRule::EveryInterface
        || (row.rule == InterfaceRule::Fixed && row.command.page == 0x0001 && row.command.usage == 2);
    if (options.withMouse && !mouseIsCommand)
        addInterface(Role::Mouse, 0x0001, 2);
    switch (row.rule) {
    case InterfaceRule::Fixed:
    case InterfaceRule::AnyUsage:
        addInterface(Role::Command, row.command.page, row.command.usage);
        break;
    case InterfaceRule::ByVersion:
        // Version 3.00 firmware answers on 0xFF91; the others on 0xFFEF.
        addInterface(Role::Command, options.versionNumber == 0x0300 ? 0xFF91 : 0xFFEF, 0);
        break;
    case InterfaceRule::EveryInterface:
        addInterface(Role::Command, qx::receivers::kDefaultCommandInterface.page,
                     qx::receivers::kDefaultCommandInterface.usage);
        break;
    }
    if (options.withVoice)
        addInterface(Role::Voice, 0xFF0C, 1);
}

SimulatedReceiver::~SimulatedReceiver()
{
    m_bus.detach(this);
}

const SimulatedReceiver::Interface &SimulatedReceiver::addInterface(Role role, quint32 page, quint32 usage)
{
    m_interfaces.append({role, page, usage, QStringLiteral("/dev/hidraw-sim%1").arg(++g_nextNode)});
    if (m_plugged)
        m_bus.fake().addDevice(info(m_interfaces.last()));
    return m_interfaces.last();
}

QString SimulatedReceiver::path(Role role) const
{
    for (const Interface &i : m_interfaces)
        if (i.role == role)
            return i.path;
    return {};
}

platform::HidDeviceInfo SimulatedReceiver::info(const Interface &i) const
{
    platform::HidDeviceInfo d;
    d.path = i.path;
    d.vendorId = m_vendorId;
    d.productId = m_productId;
    d.versionNumber = m_options.versionNumber;
    d.product = m_options.product;
    d.serialNumber = m_options.serialNumber;
    d.primaryUsagePage = i.page;
    d.primaryUsage = i.usage;
    d.usbDevice = m_usbDevice;
    return d;
}

void SimulatedReceiver::plugIn()
{
    if (m_plugged)
        return;
    m_plugged = true;
    for (const Interface &i : std::as_const(m_interfaces))
        m_bus.fake().addDevice(info(i));
}

void SimulatedReceiver::unplug()
{
    if (!m_plugged)
        return;
    m_plugged = false;
    for (const Interface &i : std::as_const(m_interfaces))
        m_bus.fake().removeDevice(i.path);
}

bool SimulatedReceiver::sendInput(Role role, const QByteArray &report)
{
    const QString p = path(role);
    return !p.isEmpty() && m_bus.fake().pushInput(p, report);
}

void SimulatedReceiver::reply(Role role, const QByteArray &report, int delayMs)
{
    const QString p = path(role);
    if (p.isEmpty())
        return;
    SimulatedHidBus *bus = &m_bus;
    // An interface unplugged by then is no longer open, so the answer is dropped.
    Scheduler::instance().singleShot(delayMs, [bus, p, report] { bus->fake().pushInput(p, report); });
}

QList<QByteArray> SimulatedReceiver::writtenTo(Role role) const
{
    QList<QByteArray> out;
    for (const Written &w : m_written)
        if (w.role == role)
            out.append(w.report);
    return out;
}

bool SimulatedReceiver::owns(const QString &path) const
{
    for (const Interface &i : m_interfaces)
        if (i.path == path)
            return true;
    return false;
}

void SimulatedReceiver::received(const QString &path, const QByteArray &report)
{
    for (const Interface &i : std::as_const(m_interfaces)) {
        if (i.path != path)
            continue;
        m_written.append({i.role, report, Scheduler::instance().clock().monotonicMs()});
        if (m_responder) {
            const Responder responder = m_responder;
            responder(*this, i, report);
        }
        return;
    }
}
