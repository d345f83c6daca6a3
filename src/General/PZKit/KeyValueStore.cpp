#include "KeyValueStore.h"

#include "PZLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSettings>
#include <QUrl>

QVariant KeyValueStore::value(const QString &key, const QVariant &def) const
{
    if (containsStored(key))
        return storedValue(key);
    auto it = m_defaults.constFind(key);
    return it != m_defaults.cend() ? *it : def;
}

void KeyValueStore::setValue(const QString &key, const QVariant &value)
{
    if (!value.isValid()) { // writing nothing removes the key, as the defaults do
        remove(key);
        return;
    }
    write(key, value);
    sync();
}

void KeyValueStore::remove(const QString &key)
{
    erase(key);
    sync();
}

void KeyValueStore::registerDefaults(const QVariantMap &defaults)
{
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        m_defaults.insert(it.key(), it.value());
}

void KeyValueStore::setJson(const QString &key, const QJsonArray &array)
{
    setValue(key, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
}

void KeyValueStore::setJson(const QString &key, const QJsonObject &object)
{
    setValue(key, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

QJsonArray KeyValueStore::jsonArray(const QString &key) const
{
    const QJsonDocument doc = QJsonDocument::fromJson(value(key).toString().toUtf8());
    return doc.isArray() ? doc.array() : QJsonArray();
}

QJsonObject KeyValueStore::jsonObject(const QString &key) const
{
    const QJsonDocument doc = QJsonDocument::fromJson(value(key).toString().toUtf8());
    return doc.isObject() ? doc.object() : QJsonObject();
}

// --- INI backend -------------------------------------------------------------

namespace {
// QSettings reads '/' and '\\' as group separators; percent-encode them (and '%').
QString encodeKey(const QString &key)
{
    QString out;
    out.reserve(key.size());
    for (QChar c : key) {
        if (c == u'%' || c == u'/' || c == u'\\')
            out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString decodeKey(const QString &key)
{
    return QUrl::fromPercentEncoding(key.toUtf8());
}
} // namespace

struct IniKeyValueStore::Impl {
    std::unique_ptr<QSettings> settings;
    MemoryKeyValueStore fallback; // used once the file turned out unwritable
    bool reportedFailure = false;
    bool permissionsSet = false;
};

IniKeyValueStore::IniKeyValueStore(const QString &filePath) : d(std::make_unique<Impl>())
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    d->settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
}

IniKeyValueStore::~IniKeyValueStore() = default;

QString IniKeyValueStore::filePath() const
{
    return d->settings->fileName();
}

bool IniKeyValueStore::containsStored(const QString &key) const
{
    if (!m_writable && d->fallback.contains(key))
        return true;
    return d->settings->contains(encodeKey(key));
}

QVariant IniKeyValueStore::storedValue(const QString &key) const
{
    if (!m_writable && d->fallback.contains(key))
        return d->fallback.value(key);
    return d->settings->value(encodeKey(key));
}

void IniKeyValueStore::write(const QString &key, const QVariant &value)
{
    d->settings->setValue(encodeKey(key), value);
    if (!m_writable)
        d->fallback.setValue(key, value);
}

void IniKeyValueStore::erase(const QString &key)
{
    d->settings->remove(encodeKey(key));
    if (!m_writable)
        d->fallback.remove(key);
}

QStringList IniKeyValueStore::keys() const
{
    QStringList out;
    for (const QString &k : d->settings->allKeys())
        out << decodeKey(k);
    return out;
}

void IniKeyValueStore::sync()
{
    d->settings->sync();
    if (d->settings->status() != QSettings::NoError) {
        if (!d->reportedFailure) {
            d->reportedFailure = true;
            qxWarning("store") << "cannot write the preference file" << d->settings->fileName()
                               << "- preferences are kept in memory until exit";
        }
        m_writable = false;
        return;
    }
    if (!d->permissionsSet && QFile::exists(d->settings->fileName())) {
        QFile::setPermissions(d->settings->fileName(), QFile::ReadOwner | QFile::WriteOwner);
        d->permissionsSet = true;
    }
}

// --- the application's store ---------------------------------------------------

namespace {
KeyValueStore *g_store = nullptr;
}

KeyValueStore &defaultStore()
{
    if (g_store)
        return *g_store;
    static MemoryKeyValueStore memory;
    return memory;
}

void setDefaultStore(KeyValueStore *store)
{
    g_store = store;
}
