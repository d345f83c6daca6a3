#include "KeySettingModel.h"

#include <QJsonArray>

namespace {

constexpr std::initializer_list<const char *> kTextKeys = {"edit",      "name",           "keyName",  "opId",  "id",
                                                           "keyId",     "sort",           "parentId", "cmdId", "opName",
                                                           "operation", "productModelId", "first"};

} // namespace

KeySettingModel KeySettingModel::fromJson(const QJsonObject &object)
{
    KeySettingModel model;
    model.m_fields.decode(object, kTextKeys);
    model.m_names = KeyModelFields::decodeNames(object.value(QLatin1String("names")));
    model.m_selectKey = KeyModelFields::jsonText(object.value(QLatin1String("selectKey")));
    model.m_selectValue = KeyModelFields::jsonText(object.value(QLatin1String("selectValue")));
    const QJsonValue index = object.value(QLatin1String("selectIndex"));
    if (index.isDouble())
        model.m_selectIndex = index.toInteger();
    for (const QJsonValue &child : object.value(QLatin1String("childs")).toArray()) {
        if (child.isObject())
            model.m_childs.append(KeySettingSubModel::fromJson(child.toObject()));
    }
    return model;
}

QJsonObject KeySettingModel::toJson() const
{
    QJsonObject object;
    m_fields.encode(object);
    if (!m_names.isEmpty())
        object.insert(QLatin1String("names"), KeyModelFields::encodeNames(m_names));
    if (m_selectKey)
        object.insert(QLatin1String("selectKey"), *m_selectKey);
    if (m_selectValue)
        object.insert(QLatin1String("selectValue"), *m_selectValue);
    object.insert(QLatin1String("selectIndex"), m_selectIndex);
    QJsonArray childs;
    for (const KeySettingSubModel &child : m_childs)
        childs.append(child.toJson());
    object.insert(QLatin1String("childs"), childs);
    return object;
}

QString KeySettingModel::name() const
{
    return m_fields.displayName(m_names);
}

quint64 KeySettingModel::keyPressType() const
{
    const QString op = operation().value_or(QString());
    if (op == u"sk")
        return 1;
    if (op == u"dk")
        return 2;
    if (op == u"lk")
        return 3;
    return 0;
}

void KeySettingModel::resolveSelection() const
{
    if (m_selectKey)
        return;
    for (qsizetype i = 0; i < m_childs.size(); ++i) {
        const KeySettingSubModel &child = m_childs.at(i);
        if (child.first() == QStringLiteral("1")) {
            m_selectKey = child.idStr();
            m_selectValue = child.name();
            m_selectIndex = i;
        }
    }
}

std::optional<QString> KeySettingModel::selectKey() const
{
    resolveSelection();
    return m_selectKey;
}

std::optional<QString> KeySettingModel::selectValue() const
{
    resolveSelection();
    return m_selectValue;
}

qint64 KeySettingModel::selectIndex() const
{
    resolveSelection();
    return m_selectIndex;
}
