#include "TextNumber.h"

#include <limits>

namespace qx {

qint64 leadingInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate as a negative number so that the minimum value fits.
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i].unicode() - u'0';
        if (value < (kMin + digit) / 10)
            return negative ? kMin : std::numeric_limits<qint64>::max();
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    return value == kMin ? std::numeric_limits<qint64>::max() : -value;
}

} // namespace qx
