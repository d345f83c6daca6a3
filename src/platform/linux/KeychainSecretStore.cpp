#include "KeychainSecretStore.h"

#include "PZLog.h"

#ifdef QX_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>
#endif

#include <QEventLoop>

KeychainSecretStore::KeychainSecretStore(QString service) : m_service(std::move(service)) {}

#ifdef QX_HAVE_KEYCHAIN

namespace {

// Runs a job to completion; the job deletes itself afterwards.
void runJob(QKeychain::Job *job)
{
    job->setAutoDelete(true);
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

platform::ISecretStore::ReadResult KeychainSecretStore::readSecret(const QString &key)
{
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(key);
    ReadResult result;
    QObject::connect(job, &QKeychain::Job::finished, [&result, job] {
        if (job->error() == QKeychain::NoError) {
            result.ok = true;
            result.value = job->textData();
        } else if (job->error() == QKeychain::EntryNotFound) {
            result.ok = true;
        } else {
            qxInfo("secrets") << "keyring read failed:" << job->errorString();
        }
    });
    runJob(job);
    return result;
}

bool KeychainSecretStore::writeSecret(const QString &key, const QString &value)
{
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(key);
    job->setTextData(value);
    bool ok = false;
    QObject::connect(job, &QKeychain::Job::finished, [&ok, job] {
        ok = job->error() == QKeychain::NoError;
        if (!ok)
            qxInfo("secrets") << "keyring write failed:" << job->errorString();
    });
    runJob(job);
    return ok;
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
