#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>

#include <initializer_list>
#include <optional>

// The text members of a key-setting model, by their JSON name. A member that was
// never given is absent (nil), which is not the same as "": the models and their
// readers tell the two apart.
//
// Decoding is lenient the way the server's profiles need it: a JSON number in a text
// member becomes its decimal text ("id": 7 -> "7"), true/false become "1"/"0", and a
// member of any other type (object, array, null) is ignored.
class KeyModelFields {
public:
    std::optional<QString> text(const char *jsonKey) const;
    void setText(const char *jsonKey, const std::optional<QString> &value);

    // Reads the listed members of object; the others are left alone.
    void decode(const QJsonObject &object, std::initializer_list<const char *> jsonKeys);
    // Writes every held member.
    void encode(QJsonObject &object) const;
    // A model's display name in the interface language: names[code], else the "name"
    // member, else "".
    QString displayName(const QMap<QString, QString> &names) const;

    bool operator==(const KeyModelFields &) const = default;

    // A JSON value as text under the rules above; nullopt for the ignored types.
    static std::optional<QString> jsonText(const QJsonValue &value);
    // A JSON object of language code -> display name, text values only.
    static QMap<QString, QString> decodeNames(const QJsonValue &value);
    static QJsonObject encodeNames(const QMap<QString, QString> &names);

private:
    QMap<QString, QString> m_values;
};

// Accessor pair of one text member, for the model classes.
#define QX_KEY_MODEL_TEXT(getter, setter, jsonKey)                                                                     \
    std::optional<QString> getter() const                                                                              \
    {                                                                                                                  \
        return m_fields.text(jsonKey);                                                                                 \
    }                                                                                                                  \
    void setter(const std::optional<QString> &value)                                                                   \
    {                                                                                                                  \
        m_fields.setText(jsonKey, value);                                                                              \
    }
