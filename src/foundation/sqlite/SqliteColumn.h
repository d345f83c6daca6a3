#pragma once

#include <QString>

#include <limits>
#include <optional>

// One column of a stored row type: its name, how a row's value is written (nullopt
// leaves the column out of the statement, as an unset property is left out), and how
// a stored value is read back (nullopt stands for SQL NULL). A column whose reader is
// null is written but ignored when rows are read.
template <typename Row> struct SqliteColumn {
    const char *name;
    std::optional<QString> (*value)(const Row &row);
    void (*assign)(Row &row, const std::optional<QString> &stored);
};

// Integers are stored as their decimal text. Reading one back takes the leading number
// of the text (blanks, an optional sign and digits; anything else ends it), clamped to
// the 64-bit range, so "12abc" gives 12 and "abc", "" or NULL give 0.
inline qint64 sqliteIntegerFromText(const std::optional<QString> &text)
{
    if (!text)
        return 0;
    const QString &s = *text;
    qsizetype i = 0;
    while (i < s.size() && s.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < s.size() && (s.at(i) == u'-' || s.at(i) == u'+')) {
        negative = s.at(i) == u'-';
        ++i;
    }
    constexpr quint64 kMax = quint64(std::numeric_limits<qint64>::max());
    const quint64 limit = negative ? kMax + 1 : kMax;
    quint64 magnitude = 0;
    for (; i < s.size() && s.at(i) >= u'0' && s.at(i) <= u'9'; ++i) {
        const quint64 digit = quint64(s.at(i).unicode() - u'0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (negative)
        return magnitude == kMax + 1 ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
    return qint64(magnitude);
}
