#pragma once

#include <QString>

// The name a user reads wherever the application names itself (the launcher, the
// tray, the permissions window, the autostart entry). The maker's servers know the
// application by another word, which stays in the addresses and configuration names
// they read.
inline QString qxAppDisplayName()
{
    return QStringLiteral("Quorvex Companion");
}
