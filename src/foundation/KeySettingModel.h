#pragma once

#include "KeySettingSubModel.h"

#include <QList>

// One press kind ("sk" single, "dk" double, "lk" long press) of a programmable key,
// with the action options offered for it.
class KeySettingModel {
public:
    static KeySettingModel fromJson(const QJsonObject &object);
    QJsonObject toJson() const;

    QX_KEY_MODEL_TEXT(edit, setEdit, "edit")
    QX_KEY_MODEL_TEXT(keyName, setKeyName, "keyName")
    QX_KEY_MODEL_TEXT(opId, setOpId, "opId")
    QX_KEY_MODEL_TEXT(idStr, setIdStr, "id")
    QX_KEY_MODEL_TEXT(keyId, setKeyId, "keyId")
    QX_KEY_MODEL_TEXT(sort, setSort, "sort")
    QX_KEY_MODEL_TEXT(parentId, setParentId, "parentId")
    QX_KEY_MODEL_TEXT(cmdId, setCmdId, "cmdId")
    QX_KEY_MODEL_TEXT(opName, setOpName, "opName")
    QX_KEY_MODEL_TEXT(operation, setOperation, "operation")
    QX_KEY_MODEL_TEXT(productModelId, setProductModelId, "productModelId")
    QX_KEY_MODEL_TEXT(first, setFirst, "first")

    QString name() const; // as KeySettingSubModel::name()
    std::optional<QString> nameField() const { return m_fields.text("name"); }
    void setName(const std::optional<QString> &name) { m_fields.setText("name", name); }
    const QMap<QString, QString> &names() const { return m_names; }
    void setNames(const QMap<QString, QString> &names) { m_names = names; }

    // 1 single, 2 double, 3 long press, 0 for anything else; from `operation` on every read.
    quint64 keyPressType() const;

    // The chosen option. While no key is chosen, each read first looks through the
    // options: the last one whose `first` is "1" gives the key (its idStr), the value
    // (its name) and the index. Once a key is chosen the options are not looked at again.
    std::optional<QString> selectKey() const;
    std::optional<QString> selectValue() const;
    qint64 selectIndex() const;
    void setSelectKey(const std::optional<QString> &key) { m_selectKey = key; }
    void setSelectValue(const std::optional<QString> &value) { m_selectValue = value; }
    void setSelectIndex(qint64 index) { m_selectIndex = index; }

    const QList<KeySettingSubModel> &childs() const { return m_childs; }
    QList<KeySettingSubModel> &childs() { return m_childs; }
    void setChilds(const QList<KeySettingSubModel> &childs) { m_childs = childs; }

    bool operator==(const KeySettingModel &) const = default;

private:
    void resolveSelection() const;

    KeyModelFields m_fields;
    QMap<QString, QString> m_names;
    QList<KeySettingSubModel> m_childs;
    // The selection is worked out lazily on read, hence mutable.
    mutable std::optional<QString> m_selectKey;
    mutable std::optional<QString> m_selectValue;
    mutable qint64 m_selectIndex = 0;
};
