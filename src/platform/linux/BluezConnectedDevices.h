#pragma once

#include "platform/IBleCentral.h"

#include <QDBusObjectPath>
#include <QMap>
#include <QVariantMap>

// BlueZ's object tree (org.freedesktop.DBus.ObjectManager.GetManagedObjects) and the
// peripherals in it that are connected and offer one of the given services: the
// peripherals "the system already has connected", which never advertise.
namespace platform::linuxbackend {

using BluezInterfaces = QMap<QString, QVariantMap>;
using BluezObjects = QMap<QDBusObjectPath, BluezInterfaces>;

QList<BlePeripheralInfo> connectedPeripheralsIn(const BluezObjects &objects, const QStringList &serviceUuids);

// Asks BlueZ on the system bus (bounded wait). Empty when BlueZ does not answer.
QList<BlePeripheralInfo> queryConnectedPeripherals(const QStringList &serviceUuids);

// Whether the tree holds an adapter, powered or not.
bool hasAdapterIn(const BluezObjects &objects);
// Asks BlueZ likewise; false, and nothing logged, when it does not answer.
bool bluezHasAdapter();

} // namespace platform::linuxbackend

Q_DECLARE_METATYPE(platform::linuxbackend::BluezInterfaces)
Q_DECLARE_METATYPE(platform::linuxbackend::BluezObjects)
