#pragma once

#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "TempDataRoot.h"

#include <memory>

// A fresh application state and language manager over their own in-memory store and
// a temporary data root, installed as the shared instances for the object's lifetime
// (the previous ones come back afterwards).
class ScopedUserInfoData {
public:
    // With a secret store the remembered password lives there (FakeSecretStore).
    explicit ScopedUserInfoData(platform::ISecretStore *secrets = nullptr)
        : m_state(std::make_unique<QXUserInfoData>(m_store, secrets)), m_installed(m_state.get()), m_languages(m_store),
          m_installedLanguages(&m_languages)
    {
    }
    ScopedUserInfoData(const ScopedUserInfoData &) = delete;
    ScopedUserInfoData &operator=(const ScopedUserInfoData &) = delete;

    QXUserInfoData &state() { return *m_state; }
    QXUserInfoData *operator->() { return m_state.get(); }
    MemoryKeyValueStore &store() { return m_store; }
    QXLanguageManager &languages() { return m_languages; }

private:
    TempDataRoot m_root; // the state makes its screenshots folder there
    MemoryKeyValueStore m_store;
    std::unique_ptr<QXUserInfoData> m_state;
    ScopedInstall<QXUserInfoData> m_installed;
    QXLanguageManager m_languages;
    ScopedInstall<QXLanguageManager> m_installedLanguages;
};
