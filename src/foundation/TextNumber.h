#pragma once

#include <QStringView>

namespace qx {

// The integer a text starts with: leading blanks skipped, an optional sign, then ASCII
// decimal digits up to the first other character. No digits gives 0 ("abc" -> 0,
// "125Hz" -> 125, "V1.2" -> 0); values beyond the 64-bit range saturate. The one
// reading of product codes, report-rate texts and firmware and receiver versions,
// which decide firmware gates and voice layouts; digits of other scripts are not
// digits here, as the devices only send ASCII.
qint64 leadingInteger(QStringView text);

} // namespace qx
