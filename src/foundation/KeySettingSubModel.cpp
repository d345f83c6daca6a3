#include "KeySettingSubModel.h"

namespace {

struct OperationRow {
    const char *cmd;
    quint64 type;
};

// Action codes of the server's key profiles, compared exactly (letter case counts).
constexpr OperationRow kOperations[] = {
    {"Action_IT", 1},           {"Action_VI", 2},          {"Action_VS", 3},
    {"Action_VT", 4},           {"Action_SK", 5},          {"Action_OW", 6},
    {"Action_OF", 7},           {"Action_OFJ", 8},         {"Action_ST", 9},
    {"Action_FT", 10},          {"GO_HOME", 11},           {"DEL_OPT", 12},
    {"Action_ENTER", 13},       {"Action_VI_VT", 14},      {"Action_VI_VT_CHANGE", 15},
    {"Action_W_TAB", 16},       {"Action_DPI", 17},        {"Action_GPT", 18},
    {"Action_copy", 19},        {"Action_paste", 20},      {"Action_forward", 21},
    {"Action_back", 22},        {"Action_LockScreen", 23}, {"Action_GetWord_Trans", 24},
    {"Action_ReportRate", 25},  {"Action_OM_AI", 26},      {"Action_OW_OFFICIAL", 27},
    {"Action_OPEN_WEBURL", 28},
};

constexpr std::initializer_list<const char *> kTextKeys = {
    "edit", "name",  "keyName",  "opId",           "id",    "keyId", "cmdName", "cmdId", "opName",
    "cmd",  "first", "parentId", "productModelId", "attr0", "attr1", "attr2"};

} // namespace

KeySettingSubModel KeySettingSubModel::fromJson(const QJsonObject &object)
{
    KeySettingSubModel model;
    model.m_fields.decode(object, kTextKeys);
    model.m_names = KeyModelFields::decodeNames(object.value(QLatin1String("names")));
    return model;
}

QJsonObject KeySettingSubModel::toJson() const
{
    QJsonObject object;
    m_fields.encode(object);
    if (!m_names.isEmpty())
        object.insert(QLatin1String("names"), KeyModelFields::encodeNames(m_names));
    return object;
}

QString KeySettingSubModel::name() const
{
    return m_fields.displayName(m_names);
}

quint64 KeySettingSubModel::operationTypeForCmd(const QString &cmd)
{
    for (const OperationRow &row : kOperations) {
        if (cmd == QLatin1String(row.cmd))
            return row.type;
    }
    return 0;
}
