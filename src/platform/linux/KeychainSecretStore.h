#pragma once

#include "platform/ISecretStore.h"

// The Secret Service through QtKeychain. Each call waits for its job in a local event
// loop; without a keyring the jobs fail at once and the calls report "not answered".
class KeychainSecretStore final : public platform::ISecretStore {
public:
    explicit KeychainSecretStore(QString service);
    ReadResult readSecret(const QString &key) override;
    bool writeSecret(const QString &key, const QString &value) override;

private:
    QString m_service;
};
