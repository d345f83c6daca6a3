#include "KeyModelFields.h"

#include "services/LanguageHooks.h"

#include <QLocale>
#include <QVariant>

#include <cmath>

std::optional<QString> KeyModelFields::text(const char *jsonKey) const
{
    const auto it = m_values.constFind(QLatin1String(jsonKey));
    if (it == m_values.cend())
        return std::nullopt;
    return *it;
}

void KeyModelFields::setText(const char *jsonKey, const std::optional<QString> &value)
{
    const QString key = QLatin1String(jsonKey);
    if (value)
        m_values.insert(key, value->isNull() ? QStringLiteral("") : *value);
    else
        m_values.remove(key);
}

void KeyModelFields::decode(const QJsonObject &object, std::initializer_list<const char *> jsonKeys)
{
    for (const char *key : jsonKeys) {
        const auto it = object.constFind(QLatin1String(key));
        if (it == object.constEnd())
            continue;
        if (const std::optional<QString> value = jsonText(*it))
            setText(key, value);
    }
}

void KeyModelFields::encode(QJsonObject &object) const
{
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        object.insert(it.key(), it.value());
}

QString KeyModelFields::displayName(const QMap<QString, QString> &names) const
{
    const auto it = names.constFind(currentUILanguageCode());
    if (it != names.cend())
        return *it;
    return text("name").value_or(QString());
}

std::optional<QString> KeyModelFields::jsonText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QJsonValue::Double: {
        // Integers keep every digit (Qt holds them as 64-bit integers when they fit).
        const QVariant v = value.toVariant();
        if (v.typeId() == QMetaType::LongLong)
            return QString::number(v.toLongLong());
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15)
            return QString::number(qint64(d));
        return QString::number(d, 'g', QLocale::FloatingPointShortest);
    }
    default:
        return std::nullopt;
    }
}

QMap<QString, QString> KeyModelFields::decodeNames(const QJsonValue &value)
{
    QMap<QString, QString> names;
    const QJsonObject object = value.toObject(); // not an object: no names
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (const std::optional<QString> name = jsonText(it.value()))
            names.insert(it.key(), *name);
    }
    return names;
}

QJsonObject KeyModelFields::encodeNames(const QMap<QString, QString> &names)
{
    QJsonObject object;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}
