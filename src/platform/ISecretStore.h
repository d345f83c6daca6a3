#pragma once

#include <QString>

#include <optional>

namespace platform {

// The desktop's secret storage (the Secret Service keyring), for account secrets
// that must not sit in the preference file. Every call answers on the spot.
class ISecretStore {
public:
    struct ReadResult {
        bool ok = false;              // false: no secret storage answered
        std::optional<QString> value; // nullopt: nothing stored under the key
    };

    virtual ~ISecretStore() = default;
    virtual ReadResult readSecret(const QString &key) = 0;
    // false when no secret storage answered; the caller keeps the value elsewhere.
    virtual bool writeSecret(const QString &key, const QString &value) = 0;
};

} // namespace platform
