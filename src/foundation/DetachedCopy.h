#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Copies that share no data with the original. The state objects hand these to
// readers on other threads: an implicitly shared Qt value is thread-safe, but its
// reference count lives inside the Qt library, where ThreadSanitizer cannot see it,
// so sharing one across threads makes every such check report races that are not
// there and hides the ones that are.
namespace qx {

inline QString detachedCopy(const QString &text)
{
    return text.isNull() ? QString() : QString(text.constData(), text.size());
}

inline std::optional<QString> detachedCopy(const std::optional<QString> &text)
{
    return text ? std::optional<QString>(detachedCopy(*text)) : std::nullopt;
}

inline QStringList detachedCopy(const QStringList &list)
{
    QStringList out;
    out.reserve(list.size());
    for (const QString &text : list)
        out.append(detachedCopy(text));
    return out;
}

inline QByteArray detachedCopy(const QByteArray &bytes)
{
    return bytes.isNull() ? QByteArray() : QByteArray(bytes.constData(), bytes.size());
}

} // namespace qx
