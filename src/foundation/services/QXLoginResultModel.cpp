#include "QXLoginResultModel.h"

#include <QJsonObject>
#include <QLocale>
#include <QVariant>

#include <cmath>

std::optional<QString> QXLoginResultModel::expiredTime() const
{
    if (m_expiredTime && m_expiredTime->size() >= 13)
        return m_expiredTime->left(10);
    return m_expiredTime;
}

std::optional<QString> QXLoginResultModel::fieldText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QJsonValue::Double: {
        // Integers that fit 64 bits keep every digit; anything else is the shortest
        // text that reads back as the same double, written out without an exponent.
        const QVariant v = value.toVariant();
        if (v.typeId() == QMetaType::LongLong)
            return QString::number(v.toLongLong());
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return std::nullopt;
        return QString::number(d, 'f', QLocale::FloatingPointShortest);
    }
    default:
        return std::nullopt;
    }
}

std::optional<QXLoginResultModel> QXLoginResultModel::fromJson(const QJsonValue &data)
{
    if (!data.isObject())
        return std::nullopt;
    const QJsonObject object = data.toObject();
    QXLoginResultModel m;
    const auto read = [&object](const char *key) { return fieldText(object.value(QLatin1String(key))); };
    m.idStr = read("id");
    m.version = read("version");
    m.mac = read("mac");
    m.lastUpdatedBy = read("lastUpdatedBy");
    m.lastUpdatedDate = read("lastUpdatedDate");
    m.createdDate = read("createdDate");
    m.m_expiredTime = read("expiredTime");
    m.type = read("type");
    m.lastLoginDate = read("lastLoginDate");
    m.password = read("password");
    m.createdBy = read("createdBy");
    m.token = read("token");
    m.account = read("account");
    m.lastLoginIp = read("lastLoginIp");
    m.status = read("status");
    return m;
}
