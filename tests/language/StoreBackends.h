#pragma once

#include "KeyValueStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// The two preference backends. A "relaunch" is a new store object over the same
// storage for the INI file; the memory store keeps its object (it is the storage).
enum class StoreKind { Memory, Ini };

inline void PrintTo(StoreKind kind, std::ostream *os)
{
    *os << (kind == StoreKind::Memory ? "Memory" : "Ini");
}

class StoreBackendTest : public ::testing::TestWithParam<StoreKind> {
protected:
    QTemporaryDir dir;
    QString fileName = QStringLiteral("preferences.ini"); // under dir, for the INI backend
    std::unique_ptr<KeyValueStore> store = open();

    std::unique_ptr<KeyValueStore> open()
    {
        if (GetParam() == StoreKind::Memory)
            return std::make_unique<MemoryKeyValueStore>();
        return std::make_unique<IniKeyValueStore>(dir.filePath(fileName));
    }
    // Whatever object holds the store must be rebuilt by the caller after this.
    void relaunchStore()
    {
        if (GetParam() == StoreKind::Ini)
            store = open();
    }
};

#define QX_INSTANTIATE_OVER_STORES(Suite)                                                                              \
    INSTANTIATE_TEST_SUITE_P(Stores, Suite, ::testing::Values(StoreKind::Memory, StoreKind::Ini),                      \
                             [](const auto &info) { return info.param == StoreKind::Memory ? "Memory" : "Ini"; })
