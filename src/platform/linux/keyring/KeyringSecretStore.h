#pragma once

#include "platform/ISecretStore.h"
#include "platform/linux/ModuleHost.h"

namespace platform::linuxbackend {

// The Secret Service through QtKeychain (see KeychainSecretStore.h, which loads it).
class KeyringSecretStore final : public platform::ISecretStore {
public:
    KeyringSecretStore(QString service, const ModuleHost &host);
    void readSecret(const QString &key, ReadCompletion completion) override;
    void writeSecret(const QString &key, const QString &value, WriteCompletion completion) override;

private:
    QString m_service;
    ModuleHost m_host;
};

} // namespace platform::linuxbackend
