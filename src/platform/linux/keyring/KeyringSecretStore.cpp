#include "KeyringSecretStore.h"

#include "PZLog.h"
#include "Scheduler.h"
#include "platform/linux/KeychainSecretStore.h"

#include <qt6keychain/keychain.h>

#include <memory>

namespace platform::linuxbackend {
namespace {

// Starts a job whose answer goes to `answer` exactly once: when it finishes, or as
// `silent` when the keyring has not answered in time (a job that finishes after that
// is ignored). The job deletes itself once it finished.
template <typename Answer, typename Result>
void startJob(const ModuleHost &host, QKeychain::Job *job, Answer answer, Result silent,
              std::function<Result(QKeychain::Job *)> read)
{
    auto pending = std::make_shared<Answer>(std::move(answer));
    job->setAutoDelete(true);
    QObject::connect(job, &QKeychain::Job::finished, job, [pending, job, read] {
        if (Answer done = std::exchange(*pending, nullptr))
            done(read(job));
    });
    host.scheduler->singleShot(
        KeychainSecretStore::kKeyringTimeoutMs,
        [pending, silent, logOnce = host.logOnce] {
            if (Answer done = std::exchange(*pending, nullptr)) {
                logOnce(QStringLiteral("keyring-timeout"),
                        QStringLiteral("the desktop keyring did not answer in time; carrying on without it"));
                done(silent);
            }
        },
        job);
    job->start();
}

} // namespace

KeyringSecretStore::KeyringSecretStore(QString service, const ModuleHost &host)
    : m_service(std::move(service)), m_host(host)
{
}

void KeyringSecretStore::readSecret(const QString &key, ReadCompletion completion)
{
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(key);
    startJob<ReadCompletion, ReadResult>(m_host, job, std::move(completion), ReadResult{}, [](QKeychain::Job *j) {
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

void KeyringSecretStore::writeSecret(const QString &key, const QString &value, WriteCompletion completion)
{
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(key);
    job->setTextData(value);
    startJob<WriteCompletion, bool>(m_host, job, std::move(completion), false, [](QKeychain::Job *j) {
        const bool ok = j->error() == QKeychain::NoError;
        if (!ok)
            qxInfo("secrets") << "keyring write failed:" << j->errorString();
        return ok;
    });
}

} // namespace platform::linuxbackend
