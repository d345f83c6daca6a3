#include "ShortcutBinder.h"

#include "InstalledInstance.h"
#include "KeyCodeTable.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "PlatformServices.h"

#include <QJsonDocument>
#include <QVariantMap>

namespace platform {

namespace {

// Integers only: a fraction or a number past 2^53 is not a key code we wrote.
std::optional<qint64> wholeNumber(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (d < 0 || d > 9007199254740992.0 || d != double(qint64(d)))
        return std::nullopt;
    return qint64(d);
}

// The stored form of a key the user cleared: an empty object, not a missing value
// (that brings the registered default back).
bool isClearedValue(const QVariant &raw)
{
    const QJsonDocument doc = QJsonDocument::fromJson(raw.toString().toUtf8());
    return doc.isObject() && doc.object().isEmpty();
}
} // namespace

QJsonObject Shortcut::toJson() const
{
    return QJsonObject{{"keyCode", keyCode}, {"modifierFlags", double(modifierFlags)}};
}

std::optional<Shortcut> Shortcut::fromJson(const QJsonObject &json)
{
    const auto code = wholeNumber(json.value("keyCode"));
    if (!code || *code > 0xFFFF)
        return std::nullopt;
    Shortcut s;
    s.keyCode = int(*code);
    if (json.contains("modifierFlags")) {
        const auto flags = wholeNumber(json.value("modifierFlags"));
        if (!flags)
            return std::nullopt;
        s.modifierFlags = quint64(*flags);
    }
    return s;
}

ShortcutBinder::ShortcutBinder(KeyValueStore &store, IGlobalShortcuts *shortcuts)
    : m_store(store), m_shortcuts(shortcuts)
{
}

ShortcutBinder::~ShortcutBinder()
{
    for (const Binding &b : std::as_const(m_bindings))
        if (b.token != IGlobalShortcuts::kNoToken)
            backend().release(b.token);
}

ShortcutBinder &ShortcutBinder::sharedBinder()
{
    return InstalledInstance<ShortcutBinder>::get("ShortcutBinder");
}

ShortcutBinder *ShortcutBinder::setSharedBinder(ShortcutBinder *binder)
{
    return InstalledInstance<ShortcutBinder>::install(binder);
}

IGlobalShortcuts &ShortcutBinder::backend() const
{
    return m_shortcuts ? *m_shortcuts : *services().shortcuts;
}

void ShortcutBinder::registerDefaults(const std::vector<std::pair<QString, Shortcut>> &defaults)
{
    QVariantMap map;
    for (const auto &[key, shortcut] : defaults)
        map.insert(key, QString::fromUtf8(QJsonDocument(shortcut.toJson()).toJson(QJsonDocument::Compact)));
    m_store.registerDefaults(map);
}

std::optional<Shortcut> ShortcutBinder::shortcutForKey(const QString &defaultsKey) const
{
    const auto usable = [](const QVariant &raw) -> std::optional<Shortcut> {
        const QJsonDocument doc = QJsonDocument::fromJson(raw.toString().toUtf8());
        auto shortcut = doc.isObject() ? Shortcut::fromJson(doc.object()) : std::nullopt;
        if (shortcut && !keys::keysymForMacKeyCode(shortcut->keyCode))
            return std::nullopt;
        return shortcut;
    };
    const QVariant fallback = m_store.registeredDefaults().value(defaultsKey);
    if (!m_store.contains(defaultsKey))
        return usable(fallback);
    if (isClearedValue(m_store.value(defaultsKey)))
        return std::nullopt;
    if (auto stored = usable(m_store.value(defaultsKey)))
        return stored;
    // Hand-edited, or written for a key this keyboard table lacks: the default
    // keeps the shortcut working.
    auto shortcut = usable(fallback);
    qxLogOnce("shortcut:" + defaultsKey, "the stored shortcut of " + defaultsKey + " cannot be used; "
                                             + (shortcut ? "the default applies" : "it is not bound"));
    return shortcut;
}

void ShortcutBinder::setShortcut(const QString &defaultsKey, const std::optional<Shortcut> &shortcut)
{
    if (shortcut)
        m_store.setJson(defaultsKey, shortcut->toJson());
    else
        m_store.remove(defaultsKey);
    auto it = m_bindings.find(defaultsKey);
    if (it != m_bindings.end())
        grab(defaultsKey, *it);
}

void ShortcutBinder::clearShortcut(const QString &defaultsKey)
{
    m_store.setJson(defaultsKey, QJsonObject{});
    auto it = m_bindings.find(defaultsKey);
    if (it != m_bindings.end())
        grab(defaultsKey, *it);
}

void ShortcutBinder::bindShortcutWithDefaultsKey(const QString &defaultsKey, IGlobalShortcuts::Action action)
{
    Binding &binding = m_bindings[defaultsKey];
    binding.action = std::move(action);
    grab(defaultsKey, binding);
}

void ShortcutBinder::breakBindingWithDefaultsKey(const QString &defaultsKey)
{
    auto it = m_bindings.find(defaultsKey);
    if (it == m_bindings.end())
        return;
    const IGlobalShortcuts::Token token = it->token;
    m_bindings.erase(it);
    if (token != IGlobalShortcuts::kNoToken)
        backend().release(token);
}

void ShortcutBinder::grab(const QString &defaultsKey, Binding &binding)
{
    if (binding.token != IGlobalShortcuts::kNoToken) {
        backend().release(binding.token);
        binding.token = IGlobalShortcuts::kNoToken;
    }
    const auto shortcut = shortcutForKey(defaultsKey);
    if (!shortcut)
        return;
    // The action is looked up at press time: a binding replaced or broken in the
    // meantime must not run its old action.
    binding.token = backend().grab(shortcut->keyCode, shortcut->modifierFlags, [this, defaultsKey] {
        auto it = m_bindings.constFind(defaultsKey);
        if (it == m_bindings.constEnd() || !it->action)
            return;
        const IGlobalShortcuts::Action action = it->action; // the action may rebind its own key
        action();
    });
}

} // namespace platform
