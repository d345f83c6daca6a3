#include "MouseSettingModel.h"

#include "QXUserInfoData.h"
#include "TextNumber.h"
#include "services/LanguageHooks.h"

namespace {

struct KeyKindRow {
    const char *key;
    quint64 kind;
};

constexpr KeyKindRow kKeyKinds[] = {
    {"dpi_set", 1}, {"center_key", 2}, {"voice_key", 3}, {"search_key", 4}, {"translate_key", 5}, {"M_key", 6},
    {"AI_key", 7},  {"M_key1", 8},     {"M_key2", 9},    {"M_key3", 10},    {"M_key4", 11},
};

constexpr std::initializer_list<const char *> kTextKeys = {"edit",    "keyName",        "opId",  "keyId", "keyUp",
                                                           "sort",    "parentId",       "cmdId", "name",  "id",
                                                           "keyDown", "productModelId", "first", "key"};

} // namespace

MouseSettingModel MouseSettingModel::fromJson(const QJsonObject &object)
{
    MouseSettingModel model;
    model.m_fields.decode(object, kTextKeys);
    model.m_names = KeyModelFields::decodeNames(object.value(QLatin1String("names")));
    for (const QJsonValue &child : object.value(QLatin1String("childs")).toArray()) {
        if (child.isObject())
            model.m_childs.append(KeySettingModel::fromJson(child.toObject()));
    }
    return model;
}

QJsonObject MouseSettingModel::toJson() const
{
    QJsonObject object;
    m_fields.encode(object);
    if (!m_names.isEmpty())
        object.insert(QLatin1String("names"), KeyModelFields::encodeNames(m_names));
    QJsonArray childs;
    for (const KeySettingModel &child : m_childs)
        childs.append(child.toJson());
    object.insert(QLatin1String("childs"), childs);
    return object;
}

QList<MouseSettingModel> MouseSettingModel::listFromJson(const QJsonArray &array)
{
    QList<MouseSettingModel> list;
    for (const QJsonValue &item : array) {
        if (item.isObject())
            list.append(fromJson(item.toObject()));
    }
    return list;
}

QJsonArray MouseSettingModel::listToJson(const QList<MouseSettingModel> &list)
{
    QJsonArray array;
    for (const MouseSettingModel &model : list)
        array.append(model.toJson());
    return array;
}

QString MouseSettingModel::name() const
{
    const auto it = m_names.constFind(currentUILanguageCode());
    if (it != m_names.cend())
        return *it;
    return nameField().value_or(QString());
}

quint64 MouseSettingModel::keyTypeForKey(const QString &key)
{
    for (const KeyKindRow &row : kKeyKinds) {
        if (key == QLatin1String(row.key))
            return row.kind;
    }
    return 0;
}

MouseSettingModel MouseSettingModel::createMouseAuxiliarySetModel()
{
    MouseSettingModel model;
    model.setName(localizedText(QStringLiteral("辅助设置")));
    model.setKey(QStringLiteral("Auxiliary_set"));
    return model;
}

MouseSettingModel MouseSettingModel::createMouseDPIModel()
{
    MouseSettingModel model;
    model.setName(localizedText(QStringLiteral("DPI")));
    model.setKey(QStringLiteral("dpi_set"));
    KeySettingModel pressKind;
    pressKind.setName(QStringLiteral(""));
    model.m_childs.append(pressKind);
    return model;
}

void MouseSettingModel::updateDPIItems(const QXUserInfoData &state)
{
    if (m_childs.isEmpty())
        return;
    const QStringList steps = state.getMouseDpiArray();
    const qint64 current = state.mouseInfoItem().dpi();
    QList<KeySettingSubModel> &options = m_childs.first().childs();
    options.clear();
    for (qsizetype i = 0; i < steps.size(); ++i) {
        KeySettingSubModel option;
        option.setName(steps.at(i));
        option.setCmd(QStringLiteral("Action_IT"));
        option.setFirst(i == current ? QStringLiteral("1") : QStringLiteral("0"));
        options.append(option);
    }
}

void MouseSettingModel::updateAuxiliarySetItems(const QXUserInfoData &state)
{
    if (m_childs.isEmpty())
        return;
    const QStringList rates = state.reportRateArr();
    const qint64 current = state.reportRate();
    QList<KeySettingSubModel> &options = m_childs.first().childs();
    options.clear();
    for (const QString &rate : rates) {
        KeySettingSubModel option;
        option.setName(rate);
        option.setCmd(QStringLiteral("Action_ReportRate"));
        option.setFirst(qx::leadingInteger(rate) == current ? QStringLiteral("1") : QStringLiteral("0"));
        options.append(option);
    }
}
