#include "StartAtLoginController.h"

#include "PZLog.h"
#include "platform/ILoginItems.h"

namespace {
const QString kEnabled = QStringLiteral("enabled");
const QString kStartAtLogin = QStringLiteral("startAtLogin");
} // namespace

StartAtLoginController::StartAtLoginController(platform::ILoginItems &items, QObject *parent)
    : QObject(parent), m_items(items)
{
}

void StartAtLoginController::setBundle(const QString &identifier, const QString &url)
{
    m_identifier = identifier;
    m_url = url;
}

bool StartAtLoginController::readState()
{
    return !m_identifier.isEmpty() && m_items.isEnabled(m_identifier, m_url);
}

bool StartAtLoginController::startAtLogin()
{
    const bool state = readState();
    if (state != m_enabled) {
        emit aboutToChange(kEnabled);
        m_enabled = state;
        emit changed(kEnabled);
    }
    return state;
}

bool StartAtLoginController::setStartAtLogin(bool flag)
{
    if (m_identifier.isEmpty() || m_url.isEmpty())
        return false;
    emit aboutToChange(kStartAtLogin);
    const bool ok = m_items.setEnabled(m_identifier, m_url, flag);
    if (!ok)
        qxWarning("app") << "start at login could not be turned" << (flag ? "on" : "off");
    emit aboutToChange(kEnabled);
    m_enabled = ok ? flag : readState();
    emit changed(kEnabled);
    emit changed(kStartAtLogin);
    return ok;
}
