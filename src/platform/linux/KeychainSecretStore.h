#pragma once

#include "Scheduler.h"
#include "platform/ISecretStore.h"

#include <memory>

namespace platform::linuxbackend {

// The Secret Service through QtKeychain, which lives in a module of its own
// (libqx_keyring.so, found where libqx_multimedia.so is) loaded at the first call. Each
// call starts a job and answers when the job finishes, or as "not answered" when the
// keyring stays silent for 5 s; without a keyring the jobs fail at once. Without the
// module (or built without QtKeychain) no keyring ever answers, logged once.
class KeychainSecretStore final : public platform::ISecretStore {
public:
    static constexpr int kKeyringTimeoutMs = 5000;

    explicit KeychainSecretStore(QString service, Scheduler &scheduler = Scheduler::instance());
    ~KeychainSecretStore() override;
    void readSecret(const QString &key, ReadCompletion completion) override;
    void writeSecret(const QString &key, const QString &value, WriteCompletion completion) override;

private:
    ISecretStore *real();

    QString m_service;
    Scheduler &m_scheduler;
    std::unique_ptr<ISecretStore> m_real;
};

} // namespace platform::linuxbackend
