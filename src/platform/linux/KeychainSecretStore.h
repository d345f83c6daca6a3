#pragma once

#include "platform/ISecretStore.h"

namespace platform::linuxbackend {

// The Secret Service through QtKeychain. Each call starts a job and answers when the
// job finishes, or as "not answered" when the keyring stays silent for 5 s; without a
// keyring the jobs fail at once.
class KeychainSecretStore final : public platform::ISecretStore {
public:
    static constexpr int kKeyringTimeoutMs = 5000;

    explicit KeychainSecretStore(QString service);
    void readSecret(const QString &key, ReadCompletion completion) override;
    void writeSecret(const QString &key, const QString &value, WriteCompletion completion) override;

private:
    QString m_service;
};

} // namespace platform::linuxbackend
