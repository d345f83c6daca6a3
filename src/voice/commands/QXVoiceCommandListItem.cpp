#include "QXVoiceCommandListItem.h"

#include "PZDictionary.h"

namespace {

std::optional<QString> textField(const QJsonObject &object, const QString &key)
{
    const QString text = pz::stringValue(object.value(key), QString());
    if (text.isNull())
        return std::nullopt;
    return text;
}

} // namespace

QXVoiceCommandItem qxVoiceCommandFromJson(const QJsonObject &object)
{
    QXVoiceCommandItem item;
    item.cmdType = textField(object, QStringLiteral("cmdType"));
    item.customCmd = textField(object, QStringLiteral("customCmd"));
    item.customName = textField(object, QStringLiteral("customName"));
    item.cmdWord = textField(object, QStringLiteral("cmdWord"));
    item.cmdExecute = textField(object, QStringLiteral("cmdExecute"));
    return item;
}

QXVoiceCommandList qxVoiceCommandsFromJson(const QJsonArray &array)
{
    QXVoiceCommandList list;
    for (const QJsonValue &element : array) {
        if (element.isObject())
            list.append(std::make_shared<QXVoiceCommandItem>(qxVoiceCommandFromJson(element.toObject())));
    }
    return list;
}

std::optional<QXVoiceCommandListItem> QXVoiceCommandListItem::fromJson(const QJsonValue &answer)
{
    const QJsonObject object = answer.toObject();
    const QJsonValue data = object.value(QStringLiteral("data"));
    const QJsonValue cmds = object.value(QStringLiteral("cmds"));
    if (!data.isArray() && !cmds.isArray())
        return std::nullopt;
    QXVoiceCommandListItem item;
    item.data = qxVoiceCommandsFromJson(data.toArray());
    item.cmds = qxVoiceCommandsFromJson(cmds.toArray());
    return item;
}

QList<QXVoiceCommandItem> qxVoiceCommandValues(const QXVoiceCommandList &list)
{
    QList<QXVoiceCommandItem> values;
    values.reserve(list.size());
    for (const QXVoiceCommandPtr &item : list)
        values.append(item ? *item : QXVoiceCommandItem());
    return values;
}

QXVoiceCommandList qxVoiceCommandPointers(const QList<QXVoiceCommandItem> &items)
{
    QXVoiceCommandList list;
    list.reserve(items.size());
    for (const QXVoiceCommandItem &item : items)
        list.append(std::make_shared<QXVoiceCommandItem>(item));
    return list;
}
