#include "OTAVersionText.h"

namespace proto {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Compares the digit runs starting at a[i] and b[j] by value and moves past them.
int compareNumbers(const QString &a, qsizetype &i, const QString &b, qsizetype &j)
{
    auto run = [](const QString &s, qsizetype &k) {
        while (k < s.size() && s[k] == QLatin1Char('0') && k + 1 < s.size() && isDigit(s[k + 1]))
            ++k; // leading zeros carry no value
        const qsizetype start = k;
        while (k < s.size() && isDigit(s[k]))
            ++k;
        return QStringView(s).mid(start, k - start);
    };
    const QStringView x = run(a, i);
    const QStringView y = run(b, j);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    const int c = x.compare(y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace

int naturalCompareCi(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (const int c = compareNumbers(a, i, b, j))
                return c;
            continue;
        }
        const char16_t x = a[i].toCaseFolded().unicode();
        const char16_t y = b[j].toCaseFolded().unicode();
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

QString otaNumberForFirmwareVersion(const QString &firmwareVersion)
{
    return firmwareVersion.toUpper().remove(QLatin1Char('V'));
}

} // namespace proto
