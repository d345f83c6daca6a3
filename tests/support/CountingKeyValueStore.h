#pragma once

#include "KeyValueStore.h"

#include <QMap>
#include <QStringList>

// An in-memory preference store that records every write and removal by key, so
// tests can tell "written again" from "left alone".
class CountingKeyValueStore final : public KeyValueStore {
public:
    QStringList keys() const override { return m_values.keys(); }

    int writes(const QString &key) const { return m_writes.value(key); }
    int removals(const QString &key) const { return m_removals.value(key); }
    int totalWrites() const
    {
        int n = 0;
        for (int c : m_writes)
            n += c;
        return n;
    }
    void resetCounts()
    {
        m_writes.clear();
        m_removals.clear();
        syncs = 0;
    }
    int syncs = 0;

protected:
    void syncNow() override { ++syncs; }
    bool containsStored(const QString &key) const override { return m_values.contains(key); }
    QVariant storedValue(const QString &key) const override { return m_values.value(key); }
    void write(const QString &key, const QVariant &value) override
    {
        m_values.insert(key, value);
        ++m_writes[key];
    }
    void erase(const QString &key) override
    {
        m_values.remove(key);
        ++m_removals[key];
    }

private:
    QVariantMap m_values;
    QMap<QString, int> m_writes;
    QMap<QString, int> m_removals;
};
