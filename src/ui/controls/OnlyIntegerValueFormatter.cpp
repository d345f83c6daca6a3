#include "OnlyIntegerValueFormatter.h"

#include <QApplication>

OnlyIntegerValueFormatter::OnlyIntegerValueFormatter(QObject *parent)
    : QValidator(parent), m_beep([] { QApplication::beep(); })
{
}

bool OnlyIntegerValueFormatter::isPartialStringValid(const QString &text)
{
    if (text.isEmpty())
        return true;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < n && text.at(i) >= u'0' && text.at(i) <= u'9')
        ++i;
    if (i == digitsStart)
        return false;
    while (i < n && text.at(i).isSpace())
        ++i;
    if (i != n)
        return false;
    // A number past 64 bits would be read as 0: refused like any other text.
    bool fits = false;
    text.trimmed().toLongLong(&fits);
    return fits;
}

QValidator::State OnlyIntegerValueFormatter::validate(QString &input, int &) const
{
    if (isPartialStringValid(input))
        return Acceptable;
    if (m_beep)
        m_beep();
    return Invalid;
}
