#pragma once

#include <QColor>
#include <QFont>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Percent-encodes the UTF-8 bytes of a text for a form: a space becomes "+", ASCII
// letters, digits and "-._~" stay, every other byte becomes "%XX" (upper case).
QString pz_urlencode(const QString &text);

// The components in order with the separator between them; nothing for no
// components.
std::optional<QString> pz_stringByCombineComponents(const QStringList &components, const QString &separator);

// A text with one font and colour over its whole length.
struct PZAttributedString {
    QString string;
    QFont font;
    QColor color;
};
// Nothing unless the text is non-empty and the colour is given.
std::optional<PZAttributedString> pz_attributedStringWithString(const QString &text, const QFont &font,
                                                                const QColor &color);

// Each value mapped to its key; nothing when two keys share a value.
template <typename K, typename V>
std::optional<QMap<V, K>> pz_reverseKeysAndObjectsDictionary(const QMap<K, V> &dictionary)
{
    QMap<V, K> reversed;
    for (auto it = dictionary.constBegin(); it != dictionary.constEnd(); ++it)
        reversed.insert(it.value(), it.key());
    if (reversed.size() != dictionary.size())
        return std::nullopt;
    return reversed;
}
