#pragma once

#include <QString>

namespace proto {

// Orders two version texts the way the update check compares them: characters
// case-insensitively, runs of digits as numbers ("1.10" after "1.9", "01" equal to
// "1"), and a text that is a prefix of the other first. White space is compared like
// any other character, so "1.9\n" orders after "1.9". Returns -1, 0 or 1.
int naturalCompareCi(const QString &a, const QString &b);

// The number the upgrade check sends for a mouse firmware version: upper-cased with
// every "V" removed ("v1.V2" -> "1.2").
QString otaNumberForFirmwareVersion(const QString &firmwareVersion);

} // namespace proto
