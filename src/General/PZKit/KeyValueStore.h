#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>

// The preference store (the user defaults of the app). A value written is kept and
// synchronised at once, or at the end of the batch it is written in; writing the
// value a key already holds changes nothing and writes nothing. Registered defaults
// are a read-only layer under the stored values: value() falls back to them,
// contains() does not see them.
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    // While one lives (they nest), changes are synchronised once, when the outermost ends.
    class Batch {
    public:
        explicit Batch(KeyValueStore &store) : m_store(store) { ++m_store.m_batchDepth; }
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        KeyValueStore &m_store;
    };

    bool contains(const QString &key) const { return containsStored(key); }
    // The stored value, else the registered default, else def.
    QVariant value(const QString &key, const QVariant &def = {}) const;
    void setValue(const QString &key, const QVariant &value);
    void remove(const QString &key);
    // Writes out what changed: at once, or at the end of the batch it is called in.
    void sync();
    virtual QStringList keys() const = 0;

    void registerDefaults(const QVariantMap &defaults);
    QVariantMap registeredDefaults() const { return m_defaults; }

    // Typed reads with the platform's defaults for absent keys.
    bool boolValue(const QString &key) const { return value(key).toBool(); }
    qint64 intValue(const QString &key) const { return value(key).toLongLong(); }
    double doubleValue(const QString &key) const { return value(key).toDouble(); }
    QString stringValue(const QString &key) const { return value(key).toString(); }

    // Arrays and dictionaries are kept as compact JSON text.
    void setJson(const QString &key, const QJsonArray &array);
    void setJson(const QString &key, const QJsonObject &object);
    QJsonArray jsonArray(const QString &key) const;   // empty when absent or not an array
    QJsonObject jsonObject(const QString &key) const; // empty when absent or not an object

protected:
    virtual void syncNow() = 0;
    virtual bool containsStored(const QString &key) const = 0;
    virtual QVariant storedValue(const QString &key) const = 0;
    virtual void write(const QString &key, const QVariant &value) = 0;
    virtual void erase(const QString &key) = 0;

private:
    void changed();

    QVariantMap m_defaults;
    int m_batchDepth = 0;
    bool m_unsynced = false;
};

// Kept in memory only: tests, and the fallback when no file can be written.
class MemoryKeyValueStore final : public KeyValueStore {
public:
    QStringList keys() const override { return m_values.keys(); }

protected:
    void syncNow() override {}
    bool containsStored(const QString &key) const override { return m_values.contains(key); }
    QVariant storedValue(const QString &key) const override { return m_values.value(key); }
    void write(const QString &key, const QVariant &value) override { m_values.insert(key, value); }
    void erase(const QString &key) override { m_values.remove(key); }

private:
    QVariantMap m_values;
};

// An INI file through QSettings, synchronised after every write and readable by its
// owner only (it holds account tokens). Keys are percent-encoded, so "/" in a key is
// not taken as a group separator. If the file cannot be written, this is logged
// once and the values live on in memory. A read-only file (the user's choice) is read
// and never written, its mode left alone. A file that is not INI text is kept as
// "<file>.unreadable-<time>" and the store starts empty.
class IniKeyValueStore final : public KeyValueStore {
public:
    explicit IniKeyValueStore(const QString &filePath);
    ~IniKeyValueStore() override;
    QStringList keys() const override;
    QString filePath() const;
    bool isWritable() const { return m_writable; }

protected:
    void syncNow() override;
    bool containsStored(const QString &key) const override;
    QVariant storedValue(const QString &key) const override;
    void write(const QString &key, const QVariant &value) override;
    void erase(const QString &key) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    bool m_writable = true;
};

// The application's store (set up by the app; an in-memory store until then).
KeyValueStore &defaultStore();
void setDefaultStore(KeyValueStore *store);
