#pragma once

#include <QString>

namespace platform {

// The programs the desktop starts when the user logs in, each under an id.
class ILoginItems {
public:
    virtual ~ILoginItems() = default;
    // Whether the item starts program at login (any program when program is empty).
    virtual bool isEnabled(const QString &id, const QString &program) = 0;
    // Makes the item start program at login, or stops it. True when that is the state
    // afterwards; false when it could not be changed (the reason is logged).
    virtual bool setEnabled(const QString &id, const QString &program, bool on) = 0;
};

} // namespace platform
