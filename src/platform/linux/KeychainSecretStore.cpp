#include "KeychainSecretStore.h"

#include "PZLog.h"

#ifdef QX_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>
#endif

#include <QEventLoop>
#include <QTimer>

#include <memory>

KeychainSecretStore::KeychainSecretStore(QString service) : m_service(std::move(service)) {}

#ifdef QX_HAVE_KEYCHAIN

namespace {

// A keyring that never answers must not hang the caller (this runs at start-up).
constexpr int kKeyringTimeoutMs = 5000;

// Runs a job until it finishes or the time-out passes; the job deletes itself
// afterwards. Its finished handlers must not capture the caller's stack: after a
// time-out the job may still finish later.
void runJob(QKeychain::Job *job)
{
    job->setAutoDelete(true);
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kKeyringTimeoutMs, &loop, [&loop] {
        qxLogOnce("keyring-timeout", "the desktop keyring did not answer in time; carrying on without it");
        loop.quit();
    });
    job->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

platform::ISecretStore::ReadResult KeychainSecretStore::readSecret(const QString &key)
{
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(key);
    auto result = std::make_shared<ReadResult>();
    QObject::connect(job, &QKeychain::Job::finished, [result, job] {
        if (job->error() == QKeychain::NoError) {
            result->ok = true;
            result->value = job->textData();
        } else if (job->error() == QKeychain::EntryNotFound) {
            result->ok = true;
        } else {
            qxInfo("secrets") << "keyring read failed:" << job->errorString();
        }
    });
    runJob(job);
    return *result;
}

bool KeychainSecretStore::writeSecret(const QString &key, const QString &value)
{
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(key);
    job->setTextData(value);
    auto ok = std::make_shared<bool>(false);
    QObject::connect(job, &QKeychain::Job::finished, [ok, job] {
        *ok = job->error() == QKeychain::NoError;
        if (!*ok)
            qxInfo("secrets") << "keyring write failed:" << job->errorString();
    });
    runJob(job);
    return *ok;
}

#else

platform::ISecretStore::ReadResult KeychainSecretStore::readSecret(const QString &)
{
    return {};
}

bool KeychainSecretStore::writeSecret(const QString &, const QString &)
{
    return false;
}

#endif
