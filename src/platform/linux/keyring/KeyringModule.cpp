// The entry point of the keyring module (see KeychainSecretStore.h).
#include "KeyringSecretStore.h"

extern "C" Q_DECL_EXPORT platform::ISecretStore *qxCreateSecretStore(const QString *service,
                                                                     const platform::linuxbackend::ModuleHost *host)
{
    return new platform::linuxbackend::KeyringSecretStore(*service, *host);
}
