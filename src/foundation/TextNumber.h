#pragma once

#include <QStringView>

namespace qx {

// The integer a text starts with, read the way the stored product codes and the
// profile's report-rate texts have always been read: leading blanks skipped, an
// optional sign, then decimal digits up to the first other character. No digits
// gives 0 ("abc" -> 0, "125Hz" -> 125); values beyond the 64-bit range saturate.
qint64 leadingInteger(QStringView text);

} // namespace qx
