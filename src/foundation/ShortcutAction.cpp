#include "ShortcutAction.h"

#include "PZLog.h"
#include "platform/KeyCodeTable.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

using namespace platform::keys;

struct Modifier {
    char16_t symbol;
    quint64 flag;
};
// In the order the symbols are written.
constexpr Modifier kModifiers[] = {
    {u'\u2303', kFlagControl},   // ⌃
    {u'\u2325', kFlagAlternate}, // ⌥
    {u'\u21E7', kFlagShift},     // ⇧
    {u'\u2318', kFlagCommand},   // ⌘
};

// 2^53: the largest integer a JSON number carries exactly.
constexpr double kMaxExact = 9007199254740992.0;

std::optional<quint64> wholeNumber(const QJsonValue &value)
{
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (d < 0 || d > kMaxExact || d != double(quint64(d)))
            return std::nullopt;
        return quint64(d);
    }
    if (value.isString()) {
        const QString text = value.toString();
        if (text.isEmpty() || text.size() > 15)
            return std::nullopt;
        for (const QChar c : text)
            if (c < u'0' || c > u'9')
                return std::nullopt;
        return text.toULongLong();
    }
    return std::nullopt;
}

} // namespace

QString ShortcutAction::modifierSymbols(quint64 flags)
{
    QString symbols;
    for (const Modifier &m : kModifiers)
        if (flags & m.flag)
            symbols += QChar(m.symbol);
    return symbols;
}

quint64 ShortcutAction::modifierFlags(const QString &symbols)
{
    quint64 flags = 0;
    for (const QChar c : symbols)
        for (const Modifier &m : kModifiers)
            if (c == QChar(m.symbol))
                flags |= m.flag;
    return flags;
}

QString ShortcutAction::toJson(const platform::Shortcut &shortcut)
{
    const QJsonObject object{{"keyCode", shortcut.keyCode},
                             {"modifierFlagsString", modifierSymbols(shortcut.modifierFlags)},
                             {"modifierFlags", qint64(shortcut.modifierFlags)}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

std::optional<platform::Shortcut> ShortcutAction::parse(const QString &text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    const QJsonObject object = document.object();
    const std::optional<quint64> keyCode = wholeNumber(object.value("keyCode"));
    if (!document.isObject() || !keyCode || *keyCode > 0xFFFF) {
        qxInfo("shortcuts") << "not a shortcut action:" << text.left(200);
        return std::nullopt;
    }
    platform::Shortcut shortcut;
    shortcut.keyCode = int(*keyCode);
    if (object.contains("modifierFlags")) {
        const std::optional<quint64> flags = wholeNumber(object.value("modifierFlags"));
        if (!flags) {
            qxInfo("shortcuts") << "shortcut action with unreadable modifier flags:" << text.left(200);
            return std::nullopt;
        }
        shortcut.modifierFlags = *flags;
    } else {
        shortcut.modifierFlags = modifierFlags(object.value("modifierFlagsString").toString());
    }
    return shortcut;
}
