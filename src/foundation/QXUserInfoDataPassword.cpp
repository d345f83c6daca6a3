// QXUserInfoData: the remembered password, kept in the keyring where one answers and
// in the preference file otherwise.
#include "QXUserInfoDataValues.h"

#include "KeyValueStore.h"
#include "PZLog.h"
#include "platform/ISecretStore.h"

using namespace userinfo;

QString QXUserInfoData::password() const
{
    const_cast<QXUserInfoData *>(this)->ensurePasswordLoaded();
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(v->password);
}

void QXUserInfoData::fetchPassword(std::function<void(const QString &password)> completion)
{
    ensurePasswordLoaded();
    if (m_passwordReading) {
        m_passwordWaiters.push_back(std::move(completion));
        return;
    }
    if (completion)
        completion(password());
}

void QXUserInfoData::setPassword(const std::optional<QString> &password)
{
    const QString text = textOrEmpty(password);
    ensurePasswordLoaded();
    {
        std::lock_guard lock(m_mutex);
        // While the keyring is still being read the password held is not the kept one:
        // write whatever is set.
        if (!m_passwordReading && text == v->password)
            return;
        v->password = text;
    }
    if (m_passwordReading)
        m_passwordSetWhileReading = true;
    keepPassword(text);
}

void QXUserInfoData::loadPassword()
{
    // Asking the keyring loads libsecret and starts its GLib thread and session-bus
    // connection, which then stay for the process's life. So the keyring is asked when
    // the password is first wanted, not at start-up; only a password still in the file
    // moves there at once, so it does not wait on disk in the clear.
    if (m_secrets && !m_store.contains(key(kPasswordKey))) {
        m_passwordPending = true;
        return;
    }
    readPassword();
}

void QXUserInfoData::ensurePasswordLoaded()
{
    if (!m_passwordPending)
        return;
    m_passwordPending = false;
    readPassword();
}

void QXUserInfoData::readPassword()
{
    const std::optional<QString> inFile = m_store.contains(key(kPasswordKey))
                                              ? std::optional<QString>(m_store.stringValue(key(kPasswordKey)))
                                              : std::nullopt;
    // Until the keyring answers, the file's password (if any) is the one known.
    {
        std::lock_guard lock(m_mutex);
        v->password = textOrEmpty(inFile);
    }
    if (!m_secrets)
        return;
    m_passwordReading = true;
    m_secrets->readSecret(key(kPasswordKey), [this, life = std::weak_ptr<int>(m_life),
                                              inFile](const platform::ISecretStore::ReadResult &r) {
        if (life.lock())
            passwordRead(r, inFile);
    });
}

void QXUserInfoData::passwordRead(const platform::ISecretStore::ReadResult &vault, const std::optional<QString> &inFile)
{
    m_passwordReading = false;
    if (vault.ok && !m_passwordSetWhileReading) {
        // A password in the file is newer than the keyring's: it was written while
        // no keyring answered. Move it over.
        if (inFile) {
            keepPassword(textOrEmpty(inFile));
        } else {
            std::lock_guard lock(m_mutex);
            v->password = textOrEmpty(vault.value);
        }
    }
    m_passwordSetWhileReading = false;
    const QString known = password();
    for (auto &waiter : std::exchange(m_passwordWaiters, {}))
        if (waiter)
            waiter(known);
}

void QXUserInfoData::keepPassword(const QString &password)
{
    if (!m_secrets) {
        storeValue(kPasswordKey, password);
        return;
    }
    const quint64 write = ++m_passwordWrites;
    m_secrets->writeSecret(
        key(kPasswordKey), password, [this, life = std::weak_ptr<int>(m_life), write, password](bool ok) {
            // A later password was set meanwhile: its own write decides where it is kept.
            if (!life.lock() || write != m_passwordWrites)
                return;
            if (ok) {
                if (m_store.contains(key(kPasswordKey)))
                    m_store.remove(key(kPasswordKey));
                return;
            }
            qxLogOnce(QStringLiteral("state:password-in-file"),
                      QStringLiteral("no keyring answers; the remembered password is kept in the preference file"));
            storeValue(kPasswordKey, password);
        });
}
