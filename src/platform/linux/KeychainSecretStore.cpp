#include "KeychainSecretStore.h"

#include "MainThread.h"
#include "PZLog.h"
#include "Scheduler.h"

#ifdef QX_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>
#endif

#include <memory>

namespace platform::linuxbackend {

KeychainSecretStore::KeychainSecretStore(QString service) : m_service(std::move(service)) {}

#ifdef QX_HAVE_KEYCHAIN

namespace {

// Starts a job whose answer goes to `answer` exactly once: when it finishes, or as
// `silent` when the keyring has not answered in time (a job that finishes after that
// is ignored). The job deletes itself once it finished.
template <typename Answer, typename Result>
void startJob(QKeychain::Job *job, Answer answer, Result silent, std::function<Result(QKeychain::Job *)> read)
{
    auto pending = std::make_shared<Answer>(std::move(answer));
    job->setAutoDelete(true);
    QObject::connect(job, &QKeychain::Job::finished, job, [pending, job, read] {
        if (Answer done = std::exchange(*pending, nullptr))
            done(read(job));
    });
    Scheduler::instance().singleShot(
        KeychainSecretStore::kKeyringTimeoutMs,
        [pending, silent] {
            if (Answer done = std::exchange(*pending, nullptr)) {
                qxLogOnce("keyring-timeout", "the desktop keyring did not answer in time; carrying on without it");
                done(silent);
            }
        },
        job);
    job->start();
}

} // namespace

void KeychainSecretStore::readSecret(const QString &key, ReadCompletion completion)
{
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(key);
    startJob<ReadCompletion, ReadResult>(job, std::move(completion), ReadResult{}, [](QKeychain::Job *j) {
        ReadResult result;
        if (j->error() == QKeychain::NoError) {
            result.ok = true;
            result.value = static_cast<QKeychain::ReadPasswordJob *>(j)->textData();
        } else if (j->error() == QKeychain::EntryNotFound) {
            result.ok = true;
        } else {
            qxInfo("secrets") << "keyring read failed:" << j->errorString();
        }
        return result;
    });
}

void KeychainSecretStore::writeSecret(const QString &key, const QString &value, WriteCompletion completion)
{
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(key);
    job->setTextData(value);
    startJob<WriteCompletion, bool>(job, std::move(completion), false, [](QKeychain::Job *j) {
        const bool ok = j->error() == QKeychain::NoError;
        if (!ok)
            qxInfo("secrets") << "keyring write failed:" << j->errorString();
        return ok;
    });
}

#else

// Built without QtKeychain: no keyring ever answers. Answered on the event loop, as
// a real keyring would.
void KeychainSecretStore::readSecret(const QString &, ReadCompletion completion)
{
    postToMainThread([completion = std::move(completion)] {
        if (completion)
            completion(ReadResult{});
    });
}

void KeychainSecretStore::writeSecret(const QString &, const QString &, WriteCompletion completion)
{
    postToMainThread([completion = std::move(completion)] {
        if (completion)
            completion(false);
    });
}

#endif

} // namespace platform::linuxbackend
