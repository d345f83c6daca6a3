#include "PZDictionary.h"

#include <QJsonDocument>
#include <QVariant>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <type_traits>

namespace pz {

namespace {

bool isCSpace(char16_t u)
{
    return u == ' ' || (u >= '\t' && u <= '\r');
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// A floating value read as an integer: cut towards zero, saturating instead of the
// undefined behaviour of an out-of-range cast.
qint64 truncateToInt64(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= 9223372036854775808.0)
        return std::numeric_limits<qint64>::max();
    if (d <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(d);
}

template <typename T> T readAs(const PZNumber &n)
{
    if constexpr (std::is_same_v<T, bool>) {
        return n.kind == PZNumber::Kind::Double ? n.real != 0.0 : n.integer != 0;
    } else if constexpr (std::is_floating_point_v<T>) {
        return n.kind == PZNumber::Kind::Double ? static_cast<T>(n.real) : static_cast<T>(n.integer);
    } else {
        if (n.kind != PZNumber::Kind::Double)
            return static_cast<T>(n.integer); // low bits, as C++20 defines it
        if constexpr (std::is_same_v<T, quint64>) {
            if (n.real >= 9223372036854775808.0) {
                return n.real >= 18446744073709551616.0 ? std::numeric_limits<quint64>::max()
                                                        : static_cast<quint64>(n.real);
            }
        }
        return static_cast<T>(truncateToInt64(n.real));
    }
}

template <typename T> T typedValue(const QJsonValue &value, T def)
{
    if (value.isUndefined() || value.isNull() || value.isArray() || value.isObject())
        return def;
    const std::optional<PZNumber> n = numberFromValue(value);
    // Only the texts "nil" and "null" get here without a number: they read as zero.
    return n ? readAs<T>(*n) : T{};
}

template <typename T> T typedValueForKey(const QJsonObject &dict, const QString &key, T def)
{
    if (key.isNull())
        return def;
    return typedValue<T>(dict.value(key), def);
}

locale_t cLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

qint64 longLongValueOfText(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isCSpace(text.at(i).unicode()))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        negative = text.at(i++) == u'-';
    // Accumulate towards the sign so that the minimum is reachable; saturate on overflow.
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    qint64 value = 0;
    for (; i < text.size() && isDigit(text.at(i)); ++i) {
        const int d = text.at(i).unicode() - '0';
        if (negative) {
            if (value < (kMin + d) / 10)
                return kMin;
            value = value * 10 - d;
        } else {
            if (value > (kMax - d) / 10)
                return kMax;
            value = value * 10 + d;
        }
    }
    return value;
}

double doubleValueOfText(const QString &text)
{
    // Find the numeric prefix by hand: strtod alone would also take hex floats,
    // "inf" and "nan", which these texts never mean.
    qsizetype i = 0;
    while (i < text.size() && isCSpace(text.at(i).unicode()))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && isDigit(text.at(i))) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text.at(i) == u'.') {
        ++i;
        while (i < text.size() && isDigit(text.at(i))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        if (j < text.size() && (text.at(j) == u'-' || text.at(j) == u'+'))
            ++j;
        if (j < text.size() && isDigit(text.at(j))) {
            while (j < text.size() && isDigit(text.at(j)))
                ++j;
            i = j;
        }
    }
    const QByteArray prefix = text.mid(start, i - start).toLatin1();
    return strtod_l(prefix.constData(), nullptr, cLocale());
}

std::optional<PZNumber> numberFromText(const QString &text)
{
    const QString lower = text.toLower();
    if (lower == QLatin1String("true") || lower == QLatin1String("yes"))
        return PZNumber::fromBool(true);
    if (lower == QLatin1String("false") || lower == QLatin1String("no"))
        return PZNumber::fromBool(false);
    if (lower == QLatin1String("nil") || lower == QLatin1String("null"))
        return std::nullopt;
    if (text.contains(u'.'))
        return PZNumber::fromDouble(doubleValueOfText(text));
    return PZNumber::fromInteger(longLongValueOfText(text));
}

std::optional<PZNumber> numberFromValue(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return PZNumber::fromBool(value.toBool());
    case QJsonValue::Double:
        // Qt keeps integers that fit 64 bits as integers; tell them from doubles.
        if (value.toVariant().typeId() == QMetaType::LongLong)
            return PZNumber::fromInteger(value.toInteger());
        return PZNumber::fromDouble(value.toDouble());
    case QJsonValue::String:
        return numberFromText(value.toString());
    default:
        return std::nullopt;
    }
}

// clang-format off
bool boolValue(const QJsonValue &v, bool def) { return typedValue<bool>(v, def); }
qint8 charValue(const QJsonValue &v, qint8 def) { return typedValue<qint8>(v, def); }
quint8 unsignedCharValue(const QJsonValue &v, quint8 def) { return typedValue<quint8>(v, def); }
qint16 shortValue(const QJsonValue &v, qint16 def) { return typedValue<qint16>(v, def); }
quint16 unsignedShortValue(const QJsonValue &v, quint16 def) { return typedValue<quint16>(v, def); }
qint32 intValue(const QJsonValue &v, qint32 def) { return typedValue<qint32>(v, def); }
quint32 unsignedIntValue(const QJsonValue &v, quint32 def) { return typedValue<quint32>(v, def); }
qint64 longLongValue(const QJsonValue &v, qint64 def) { return typedValue<qint64>(v, def); }
quint64 unsignedLongLongValue(const QJsonValue &v, quint64 def) { return typedValue<quint64>(v, def); }
float floatValue(const QJsonValue &v, float def) { return typedValue<float>(v, def); }
double doubleValue(const QJsonValue &v, double def) { return typedValue<double>(v, def); }
// clang-format on

QString stringValue(const QJsonValue &value, const QString &def)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QJsonValue::Double: {
        const std::optional<PZNumber> n = numberFromValue(value);
        if (n && n->kind == PZNumber::Kind::Integer)
            return QString::number(n->integer);
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    }
    default:
        return def;
    }
}

#define PZ_KEYED(name, type)                                                                                           \
    type name##ValueForKey(const QJsonObject &dict, const QString &key, type def)                                      \
    {                                                                                                                  \
        return typedValueForKey<type>(dict, key, def);                                                                 \
    }
PZ_KEYED(bool, bool)
PZ_KEYED(char, qint8)
PZ_KEYED(unsignedChar, quint8)
PZ_KEYED(short, qint16)
PZ_KEYED(unsignedShort, quint16)
PZ_KEYED(int, qint32)
PZ_KEYED(unsignedInt, quint32)
PZ_KEYED(long, qint64)
PZ_KEYED(unsignedLong, quint64)
PZ_KEYED(longLong, qint64)
PZ_KEYED(unsignedLongLong, quint64)
PZ_KEYED(float, float)
PZ_KEYED(double, double)
PZ_KEYED(integer, qint64)
PZ_KEYED(unsignedInteger, quint64)
#undef PZ_KEYED

QString stringValueForKey(const QJsonObject &dict, const QString &key, const QString &def)
{
    if (key.isNull())
        return def;
    return stringValue(dict.value(key), def);
}

QString jsonStringEncoded(const QJsonObject &dict)
{
    return QString::fromUtf8(QJsonDocument(dict).toJson(QJsonDocument::Compact));
}

} // namespace pz
