#include "KeychainSecretStore.h"

#include "MainThread.h"
#include "ModuleLoader.h"
#include "PZLog.h"

namespace platform::linuxbackend {
namespace {

using CreateStore = ISecretStore *(*)(const QString *, const ModuleHost *);

CreateStore moduleEntry()
{
    static const CreateStore create = [] {
        QString error;
        const QList<QFunctionPointer> found =
            loadModule(QStringLiteral("libqx_keyring.so"), {"qxCreateSecretStore"}, &error);
        if (found.isEmpty())
            qxLogOnce(
                QStringLiteral("keyring:module"),
                QStringLiteral("the keyring module cannot be loaded (%1); the desktop keyring is not used").arg(error));
        return found.isEmpty() ? nullptr : reinterpret_cast<CreateStore>(found.first());
    }();
    return create;
}

} // namespace

KeychainSecretStore::KeychainSecretStore(QString service, Scheduler &scheduler)
    : m_service(std::move(service)), m_scheduler(scheduler)
{
}

KeychainSecretStore::~KeychainSecretStore() = default;

ISecretStore *KeychainSecretStore::real()
{
    if (!m_real) {
        if (const CreateStore create = moduleEntry()) {
            const ModuleHost host = moduleHost(m_scheduler);
            m_real.reset(create(&m_service, &host));
        }
    }
    return m_real.get();
}

// Without the module no keyring ever answers: answered on the event loop, as a real
// keyring would.
void KeychainSecretStore::readSecret(const QString &key, ReadCompletion completion)
{
    if (ISecretStore *store = real())
        return store->readSecret(key, std::move(completion));
    postToMainThread([completion = std::move(completion)] {
        if (completion)
            completion(ReadResult{});
    });
}

void KeychainSecretStore::writeSecret(const QString &key, const QString &value, WriteCompletion completion)
{
    if (ISecretStore *store = real())
        return store->writeSecret(key, value, std::move(completion));
    postToMainThread([completion = std::move(completion)] {
        if (completion)
            completion(false);
    });
}

} // namespace platform::linuxbackend
