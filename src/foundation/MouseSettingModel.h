#pragma once

#include "KeySettingModel.h"

#include <QJsonArray>

class QXUserInfoData;

// The defaults key under which the device page keeps the profile's keys as JSON text.
inline constexpr char kMouseSettingArrKey[] = "kMouseSettingArrKey";

// One programmable key (or setting item) of the mouse, with its press kinds.
class MouseSettingModel {
public:
    static MouseSettingModel fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
    // A JSON array of keys; elements that are not objects are skipped.
    static QList<MouseSettingModel> listFromJson(const QJsonArray &array);
    static QJsonArray listToJson(const QList<MouseSettingModel> &list);

    QX_KEY_MODEL_TEXT(edit, setEdit, "edit")
    QX_KEY_MODEL_TEXT(keyName, setKeyName, "keyName")
    QX_KEY_MODEL_TEXT(opId, setOpId, "opId")
    QX_KEY_MODEL_TEXT(keyId, setKeyId, "keyId")
    QX_KEY_MODEL_TEXT(keyUp, setKeyUp, "keyUp")
    QX_KEY_MODEL_TEXT(sort, setSort, "sort")
    QX_KEY_MODEL_TEXT(parentId, setParentId, "parentId")
    QX_KEY_MODEL_TEXT(cmdId, setCmdId, "cmdId")
    QX_KEY_MODEL_TEXT(idStr, setIdStr, "id")
    QX_KEY_MODEL_TEXT(keyDown, setKeyDown, "keyDown")
    QX_KEY_MODEL_TEXT(productModelId, setProductModelId, "productModelId")
    QX_KEY_MODEL_TEXT(first, setFirst, "first")
    QX_KEY_MODEL_TEXT(key, setKey, "key")

    QString name() const; // as KeySettingSubModel::name()
    std::optional<QString> nameField() const { return m_fields.text("name"); }
    void setName(const std::optional<QString> &name) { m_fields.setText("name", name); }
    const QMap<QString, QString> &names() const { return m_names; }
    void setNames(const QMap<QString, QString> &names) { m_names = names; }

    // The key kind of `key` (0 for any other key), on every read.
    quint64 keyType() const { return keyTypeForKey(key().value_or(QString())); }
    static quint64 keyTypeForKey(const QString &key);

    const QList<KeySettingModel> &childs() const { return m_childs; }
    QList<KeySettingModel> &childs() { return m_childs; }
    void setChilds(const QList<KeySettingModel> &childs) { m_childs = childs; }

    // The device page's auxiliary-settings item: localised "辅助设置", key "Auxiliary_set".
    static MouseSettingModel createMouseAuxiliarySetModel();
    // A DPI item: localised "DPI", key "dpi_set", one press kind named "".
    static MouseSettingModel createMouseDPIModel();
    // Refill the first press kind's options from the DPI list ("Action_IT", the
    // device's current step marked "1") or from the profile's report rates
    // ("Action_ReportRate", the current rate marked "1"). No press kind: nothing.
    void updateDPIItems(const QXUserInfoData &state);
    void updateAuxiliarySetItems(const QXUserInfoData &state);

    bool operator==(const MouseSettingModel &) const = default;

private:
    KeyModelFields m_fields;
    QMap<QString, QString> m_names;
    QList<KeySettingModel> m_childs;
};
