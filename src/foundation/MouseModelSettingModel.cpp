#include "MouseModelSettingModel.h"

MouseModelSettingModel MouseModelSettingModel::fromJson(const QJsonObject &object)
{
    MouseModelSettingModel model;
    model.m_fields.decode(object, {"id", "productId", "productModelId", "type", "name", "memberId", "sno", "first"});
    model.m_keyInfos = MouseSettingModel::listFromJson(object.value(QLatin1String("keyInfos")).toArray());
    return model;
}

QJsonObject MouseModelSettingModel::toJson() const
{
    QJsonObject object;
    m_fields.encode(object);
    object.insert(QLatin1String("keyInfos"), MouseSettingModel::listToJson(m_keyInfos));
    return object;
}
