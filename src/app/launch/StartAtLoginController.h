#pragma once

#include "services/IStartAtLogin.h"

#include <QObject>
#include <QString>

namespace platform {
class ILoginItems;
}

// Starts the application at login as a login item with its own id. The cached state
// (enabled) is announced by hand around every change: aboutToChange and changed with
// the key "enabled", and a set also with "startAtLogin" around the whole operation.
class StartAtLoginController final : public QObject, public IStartAtLogin {
    Q_OBJECT
public:
    explicit StartAtLoginController(platform::ILoginItems &items, QObject *parent = nullptr);

    // The login item's id and the program it starts. Until both are set, a set does
    // nothing; until the id is set the state reads as off.
    void setBundle(const QString &identifier, const QString &url);
    QString identifier() const { return m_identifier; }
    QString url() const { return m_url; }

    bool startAtLogin() override;
    // On failure the cached state is read back from the desktop, not assumed.
    bool setStartAtLogin(bool flag) override;

    bool enabled() const { return m_enabled; }
    bool setEnabled(bool flag) { return setStartAtLogin(flag); }

signals:
    void aboutToChange(const QString &key);
    void changed(const QString &key);

private:
    bool readState();

    platform::ILoginItems &m_items;
    QString m_identifier;
    QString m_url;
    bool m_enabled = false;
};
