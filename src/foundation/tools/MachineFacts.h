#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

// Facts about this computer for the daily log header and the server's customer key.
namespace MachineFacts {

// "<interface>_<12 lower-case hex digits>" of an Ethernet-type interface under a
// /sys/class/net style folder. Physical interfaces (with a "device" link) are preferred
// over virtual ones; of several, the last by name wins. Empty when there is none.
QString macAddressFromSysfs(const QString &classNetDir);

// Key/value pairs of an os-release file (quotes and escapes removed).
QVariantMap parseOsRelease(const QByteArray &text);

// The distribution's pretty name and the kernel, e.g. "Debian GNU/Linux 12 (bookworm) (kernel 6.1.0-18-amd64)".
QString systemVersion();

// The machine's host name.
QString hostName();

} // namespace MachineFacts
