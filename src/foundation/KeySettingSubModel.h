#pragma once

#include "KeyModelFields.h"

#include <QJsonObject>
#include <QMap>

// One action option of a press kind of a programmable key ("open a web page", "voice
// input", ...). `first` is "1" on the option currently chosen; attr0..attr2 are the
// action's parameters (the shortcut, web address, path or text, by operation type).
class KeySettingSubModel {
public:
    static KeySettingSubModel fromJson(const QJsonObject &object);
    QJsonObject toJson() const;

    QX_KEY_MODEL_TEXT(edit, setEdit, "edit")
    QX_KEY_MODEL_TEXT(keyName, setKeyName, "keyName")
    QX_KEY_MODEL_TEXT(opId, setOpId, "opId")
    QX_KEY_MODEL_TEXT(idStr, setIdStr, "id")
    QX_KEY_MODEL_TEXT(keyId, setKeyId, "keyId")
    QX_KEY_MODEL_TEXT(cmdName, setCmdName, "cmdName")
    QX_KEY_MODEL_TEXT(cmdId, setCmdId, "cmdId")
    QX_KEY_MODEL_TEXT(opName, setOpName, "opName")
    QX_KEY_MODEL_TEXT(cmd, setCmd, "cmd")
    QX_KEY_MODEL_TEXT(first, setFirst, "first")
    QX_KEY_MODEL_TEXT(parentId, setParentId, "parentId")
    QX_KEY_MODEL_TEXT(productModelId, setProductModelId, "productModelId")
    QX_KEY_MODEL_TEXT(attr0, setAttr0, "attr0")
    QX_KEY_MODEL_TEXT(attr1, setAttr1, "attr1")
    QX_KEY_MODEL_TEXT(attr2, setAttr2, "attr2")

    // Display name in the interface language: names[code], else the `name` member,
    // else "".
    QString name() const;
    std::optional<QString> nameField() const { return m_fields.text("name"); }
    void setName(const std::optional<QString> &name) { m_fields.setText("name", name); }
    const QMap<QString, QString> &names() const { return m_names; }
    void setNames(const QMap<QString, QString> &names) { m_names = names; }

    // The operation type of `cmd` (0 for an unknown or absent code), on every read.
    quint64 operationType() const { return operationTypeForCmd(cmd().value_or(QString())); }
    static quint64 operationTypeForCmd(const QString &cmd);

    bool operator==(const KeySettingSubModel &) const = default;

private:
    KeyModelFields m_fields;
    QMap<QString, QString> m_names;
};
