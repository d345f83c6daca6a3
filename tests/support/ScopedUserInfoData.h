#pragma once

#include "KeyValueStore.h"
#include "QXUserInfoData.h"
#include "TempDataRoot.h"

#include <memory>

// A fresh application state over its own in-memory store and a temporary data root,
// installed as the shared instance for the object's lifetime (the previous one comes
// back afterwards).
class ScopedUserInfoData {
public:
    ScopedUserInfoData() : m_state(std::make_unique<QXUserInfoData>(m_store))
    {
        m_previous = QXUserInfoData::setSharedInstance(m_state.get());
    }
    ~ScopedUserInfoData()
    {
        QXUserInfoData::setSharedInstance(m_previous);
    }
    ScopedUserInfoData(const ScopedUserInfoData &) = delete;
    ScopedUserInfoData &operator=(const ScopedUserInfoData &) = delete;

    QXUserInfoData &state() { return *m_state; }
    QXUserInfoData *operator->() { return m_state.get(); }
    MemoryKeyValueStore &store() { return m_store; }

private:
    TempDataRoot m_root; // the state makes its screenshots folder there
    MemoryKeyValueStore m_store;
    std::unique_ptr<QXUserInfoData> m_state;
    QXUserInfoData *m_previous = nullptr;
};
