#include "BluezConnectedDevices.h"

#include "PZLog.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>

#include <optional>

namespace platform::linuxbackend {

namespace {
constexpr int kBluezTimeoutMs = 1000;
constexpr char kDeviceInterface[] = "org.bluez.Device1";

QStringList stringList(const QVariant &v)
{
    // UUIDs come as a string array; a hand-built map may hold a QDBusArgument instead.
    if (v.canConvert<QDBusArgument>()) {
        QStringList out;
        v.value<QDBusArgument>() >> out;
        return out;
    }
    return v.toStringList();
}
} // namespace

QList<BlePeripheralInfo> connectedPeripheralsIn(const BluezObjects &objects, const QStringList &serviceUuids)
{
    QStringList wanted;
    for (const QString &s : serviceUuids)
        wanted << normalizedBleUuid(s);
    QList<BlePeripheralInfo> out;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const auto dev = it.value().constFind(QLatin1String(kDeviceInterface));
        if (dev == it.value().cend())
            continue;
        const QVariantMap &p = dev.value();
        if (!p.value(QStringLiteral("Connected")).toBool())
            continue;
        const QString address = p.value(QStringLiteral("Address")).toString();
        if (address.isEmpty())
            continue;
        bool offers = false;
        for (const QString &uuid : stringList(p.value(QStringLiteral("UUIDs"))))
            offers = offers || wanted.contains(normalizedBleUuid(uuid));
        if (!offers)
            continue;
        QString name = p.value(QStringLiteral("Name")).toString();
        if (name.isEmpty())
            name = p.value(QStringLiteral("Alias")).toString();
        out << BlePeripheralInfo{address.toUpper(), name, {}, false, 0};
    }
    return out;
}

namespace {

// BlueZ's object tree on the system bus (bounded wait). Nothing without a system bus;
// nothing, with `error` set, when BlueZ does not answer.
std::optional<BluezObjects> managedObjects(std::optional<QString> *error)
{
    static const bool registered = [] {
        qDBusRegisterMetaType<BluezInterfaces>();
        qDBusRegisterMetaType<BluezObjects>();
        return true;
    }();
    Q_UNUSED(registered);

    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.bluez"), QStringLiteral("/"),
                                                       QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                                       QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, kBluezTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        *error = reply.errorMessage();
        return std::nullopt;
    }
    return qdbus_cast<BluezObjects>(reply.arguments().constFirst());
}

} // namespace

QList<BlePeripheralInfo> queryConnectedPeripherals(const QStringList &serviceUuids)
{
    std::optional<QString> error;
    const std::optional<BluezObjects> objects = managedObjects(&error);
    if (!objects) {
        if (error)
            qxLogOnce(QStringLiteral("ble.bluez.objects"),
                      QStringLiteral("[ble] BlueZ does not list its devices: %1").arg(*error));
        return {};
    }
    return connectedPeripheralsIn(*objects, serviceUuids);
}

bool hasAdapterIn(const BluezObjects &objects)
{
    for (const BluezInterfaces &interfaces : objects)
        if (interfaces.contains(QStringLiteral("org.bluez.Adapter1")))
            return true;
    return false;
}

bool bluezHasAdapter()
{
    std::optional<QString> error;
    const std::optional<BluezObjects> objects = managedObjects(&error);
    return objects && hasAdapterIn(*objects);
}

} // namespace platform::linuxbackend
