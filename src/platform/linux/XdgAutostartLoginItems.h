#pragma once

#include "platform/ILoginItems.h"

#include <QStringList>

namespace platform::linuxbackend {

// Login items as XDG autostart entries: <id>.desktop in $XDG_CONFIG_HOME/autostart
// (default ~/.config/autostart), which shadows an entry of the same name in the
// system folders ($XDG_CONFIG_DIRS/autostart, default /etc/xdg/autostart). The
// folders are read from the environment at each call.
class XdgAutostartLoginItems final : public ILoginItems {
public:
    // The name the entries carry in the session's start-up list.
    explicit XdgAutostartLoginItems(QString displayName);

    bool isEnabled(const QString &id, const QString &program) override;
    bool setEnabled(const QString &id, const QString &program, bool on) override;

    static QString userFolder();
    static QStringList systemFolders();

private:
    QString entryText(const QString &program, bool hidden) const;
    bool write(const QString &path, const QString &program, bool hidden);

    QString m_displayName;
};

} // namespace platform::linuxbackend
