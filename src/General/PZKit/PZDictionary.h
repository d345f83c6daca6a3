#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

// Safe reads of server answers, device profiles and key tables, whose values may be
// numbers, texts of numbers, JSON null or missing.
//
// Each typed getter, for key in dict (or for a single value such as an array element,
// arr.at(i), through the value form):
//   - null key, missing value or JSON null            -> the default;
//   - a number (true/false count as 1/0)               -> read into the type;
//   - a text, through numberFromText()                 -> read into the type
//     ("nil"/"null" give 0, NOT the default);
//   - an array or object                               -> the default.
// Reading into a type: a floating value is cut towards zero (saturating at the
// 64-bit range), an integer into a narrower type keeps its low bits (300 as
// unsigned 8-bit is 44), bool is "not zero" (0.5 is true).
namespace pz {

// A number as the getters see it: an integer, a floating value or a boolean.
struct PZNumber {
    enum class Kind { Bool, Integer, Double };
    Kind kind = Kind::Integer;
    qint64 integer = 0; // Bool and Integer
    double real = 0.0;  // Double

    static PZNumber fromBool(bool b) { return {Kind::Bool, b ? 1 : 0, 0.0}; }
    static PZNumber fromInteger(qint64 i) { return {Kind::Integer, i, 0.0}; }
    static PZNumber fromDouble(double d) { return {Kind::Double, 0, d}; }
    bool operator==(const PZNumber &) const = default;
};

// The number conversion of a text (exact comparisons after lower-casing):
//   "true"/"yes" -> true, "false"/"no" -> false, "nil"/"null" -> nothing;
//   text holding "." -> its double value, else its 64-bit integer value.
// Numbers are read from the longest numeric prefix after leading white space
// ("12abc" -> 12, "1e3" -> 1, "0x1F" -> 0, "abc" -> 0); integers saturate.
std::optional<PZNumber> numberFromText(const QString &text);
// The same for any JSON value: numbers as they are, texts as above, anything else nothing.
std::optional<PZNumber> numberFromValue(const QJsonValue &value);

// The platform's text readings, exposed for callers that read numbers out of text.
qint64 longLongValueOfText(const QString &text); // [ws][+-]digits, saturating
double doubleValueOfText(const QString &text);   // [ws][+-](d+[.d*]|.d+)[(e|E)[+-]d+]

// --- value forms ------------------------------------------------------------------
bool boolValue(const QJsonValue &value, bool def);
qint8 charValue(const QJsonValue &value, qint8 def);
quint8 unsignedCharValue(const QJsonValue &value, quint8 def);
qint16 shortValue(const QJsonValue &value, qint16 def);
quint16 unsignedShortValue(const QJsonValue &value, quint16 def);
qint32 intValue(const QJsonValue &value, qint32 def);
quint32 unsignedIntValue(const QJsonValue &value, quint32 def);
qint64 longLongValue(const QJsonValue &value, qint64 def);
quint64 unsignedLongLongValue(const QJsonValue &value, quint64 def);
float floatValue(const QJsonValue &value, float def);
double doubleValue(const QJsonValue &value, double def);
// A text unchanged (the empty text too); a number's description ("7", "1.5", true ->
// "1"); anything else the default.
QString stringValue(const QJsonValue &value, const QString &def);

// --- keyed forms (a null key gives the default) ----------------------------------
bool boolValueForKey(const QJsonObject &dict, const QString &key, bool def);
qint8 charValueForKey(const QJsonObject &dict, const QString &key, qint8 def);
quint8 unsignedCharValueForKey(const QJsonObject &dict, const QString &key, quint8 def);
qint16 shortValueForKey(const QJsonObject &dict, const QString &key, qint16 def);
quint16 unsignedShortValueForKey(const QJsonObject &dict, const QString &key, quint16 def);
qint32 intValueForKey(const QJsonObject &dict, const QString &key, qint32 def);
quint32 unsignedIntValueForKey(const QJsonObject &dict, const QString &key, quint32 def);
qint64 longValueForKey(const QJsonObject &dict, const QString &key, qint64 def);
quint64 unsignedLongValueForKey(const QJsonObject &dict, const QString &key, quint64 def);
qint64 longLongValueForKey(const QJsonObject &dict, const QString &key, qint64 def);
quint64 unsignedLongLongValueForKey(const QJsonObject &dict, const QString &key, quint64 def);
float floatValueForKey(const QJsonObject &dict, const QString &key, float def);
double doubleValueForKey(const QJsonObject &dict, const QString &key, double def);
qint64 integerValueForKey(const QJsonObject &dict, const QString &key, qint64 def);
quint64 unsignedIntegerValueForKey(const QJsonObject &dict, const QString &key, quint64 def);
QString stringValueForKey(const QJsonObject &dict, const QString &key, const QString &def);

// Compact JSON text of the object (a QJsonObject always holds valid JSON).
QString jsonStringEncoded(const QJsonObject &dict);

} // namespace pz
