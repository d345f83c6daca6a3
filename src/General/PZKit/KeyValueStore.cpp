#include "KeyValueStore.h"

#include "DataPaths.h"
#include "PZLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QSettings>
#include <QUrl>

#include <optional>
#include <utility>

QVariant KeyValueStore::value(const QString &key, const QVariant &def) const
{
    if (containsStored(key))
        return storedValue(key);
    auto it = m_defaults.constFind(key);
    return it != m_defaults.cend() ? *it : def;
}

namespace {
// A value read back from a file is text: it is the same when it is the text the file
// would hold for the value written. Anything else compares as itself.
bool sameValue(const QVariant &stored, const QVariant &value)
{
    if (stored.metaType() == value.metaType())
        return stored == value;
    if (stored.typeId() != QMetaType::QString)
        return false;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return stored.toString() == value.toString();
    default:
        return false;
    }
}
} // namespace

void KeyValueStore::setValue(const QString &key, const QVariant &value)
{
    if (!value.isValid()) { // writing nothing removes the key, as the defaults do
        remove(key);
        return;
    }
    if (containsStored(key) && sameValue(storedValue(key), value))
        return;
    write(key, value);
    changed();
}

void KeyValueStore::remove(const QString &key)
{
    if (!containsStored(key))
        return;
    erase(key);
    changed();
}

void KeyValueStore::changed()
{
    if (m_batchDepth > 0)
        m_unsynced = true;
    else
        syncNow();
}

void KeyValueStore::sync()
{
    changed();
}

KeyValueStore::Batch::~Batch()
{
    if (--m_store.m_batchDepth == 0 && std::exchange(m_store.m_unsynced, false))
        m_store.syncNow();
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
    // Changes the file cannot take: a value, or nullopt for a removed key. Used once the
    // store is not writable, over what the file held.
    QHash<QString, std::optional<QVariant>> overlay;
    bool fileIgnored = false; // what the file holds is not read
    bool reportedFailure = false;
    bool permissionsSet = false;
};

IniKeyValueStore::IniKeyValueStore(const QString &filePath) : d(std::make_unique<Impl>())
{
    DataPaths::ensureDir(QFileInfo(filePath).absolutePath()); // it holds account tokens
    const QFileInfo info(filePath);
    // A file the user made read-only stays so: read, never rewritten, its mode untouched.
    const bool readOnly = info.isFile() && (!(info.permissions() & QFile::WriteOwner) || !info.isWritable());
    d->settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
    d->settings->allKeys(); // QSettings reads on first use: its verdict on the file is needed now
    if (!readOnly && d->settings->status() == QSettings::FormatError) {
        // Writing over it would lose whatever it still holds: it is kept beside the new one.
        d->settings.reset();
        const QString kept = filePath + QStringLiteral(".unreadable-")
                             + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (QFile::rename(filePath, kept)) {
            qxWarning("store") << "the preference file" << filePath << "is not a readable INI file; it was kept as"
                               << kept << "and the preferences start from their defaults";
            d->settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
            return;
        }
        qxWarning("store") << "the preference file" << filePath
                           << "is not a readable INI file and cannot be moved aside; it is left as it is, and the"
                              " preferences start from their defaults and are not saved";
        d->settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat); // never written
        d->fileIgnored = true;
        d->reportedFailure = true;
        m_writable = false;
        return;
    }
    if (readOnly || d->settings->status() == QSettings::AccessError) {
        qxWarning("store") << "the preference file" << filePath << (readOnly ? "is read-only" : "cannot be read")
                           << "- changes to the preferences are kept until the app quits and are not saved";
        d->reportedFailure = true;
        m_writable = false;
    }
}

IniKeyValueStore::~IniKeyValueStore() = default;

QString IniKeyValueStore::filePath() const
{
    return d->settings->fileName();
}

bool IniKeyValueStore::containsStored(const QString &key) const
{
    if (auto it = d->overlay.constFind(key); it != d->overlay.cend())
        return it->has_value();
    return !d->fileIgnored && d->settings->contains(encodeKey(key));
}

QVariant IniKeyValueStore::storedValue(const QString &key) const
{
    if (auto it = d->overlay.constFind(key); it != d->overlay.cend())
        return it->value_or(QVariant());
    return d->fileIgnored ? QVariant() : d->settings->value(encodeKey(key));
}

void IniKeyValueStore::write(const QString &key, const QVariant &value)
{
    if (m_writable)
        d->settings->setValue(encodeKey(key), value);
    else
        d->overlay.insert(key, value);
}

void IniKeyValueStore::erase(const QString &key)
{
    if (m_writable)
        d->settings->remove(encodeKey(key));
    else
        d->overlay.insert(key, std::nullopt);
}

QStringList IniKeyValueStore::keys() const
{
    QStringList out;
    for (const QString &k : d->fileIgnored ? QStringList() : d->settings->allKeys()) {
        const QString key = decodeKey(k);
        if (!d->overlay.contains(key))
            out << key;
    }
    for (auto it = d->overlay.cbegin(); it != d->overlay.cend(); ++it)
        if (it->has_value())
            out << it.key();
    return out;
}

void IniKeyValueStore::syncNow()
{
    if (!m_writable)
        return;
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
