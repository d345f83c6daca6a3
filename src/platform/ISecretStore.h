#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace platform {

// The desktop's secret storage (the Secret Service keyring), for account secrets
// that must not sit in the preference file. A keyring may take its time (it can ask
// the user to unlock it), so every call answers through its completion, which runs
// exactly once on the main thread: at the answer, or as "not answered" once the
// store gives up waiting. A store that knows the answer at once may run it before
// the call returns. Main thread only.
class ISecretStore {
public:
    struct ReadResult {
        bool ok = false;              // false: no secret storage answered
        std::optional<QString> value; // nullopt: nothing stored under the key
    };
    using ReadCompletion = std::function<void(const ReadResult &result)>;
    // false when no secret storage answered; the caller keeps the value elsewhere.
    using WriteCompletion = std::function<void(bool ok)>;

    virtual ~ISecretStore() = default;
    virtual void readSecret(const QString &key, ReadCompletion completion) = 0;
    virtual void writeSecret(const QString &key, const QString &value, WriteCompletion completion) = 0;
};

} // namespace platform
