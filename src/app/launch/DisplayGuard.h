#pragma once

#include <QString>
#include <QStringList>

// Watches the construction of the application object. Without a display Qt cannot load
// a platform plugin and aborts, which would leave a crash report and a backtrace for
// what is only a missing session. Here that ends the process with status 1 and one line
// naming what is missing; the toolkit's own messages of the attempt are dropped. When
// the construction succeeds, they are handed to the log as usual.
class DisplayGuard {
public:
    DisplayGuard(int argc, char **argv);
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard &) = delete;
    DisplayGuard &operator=(const DisplayGuard &) = delete;

    // The application object exists: the log takes the messages again.
    void release();

    // The line printed when no platform could be started, from the environment and the
    // "-platform" argument.
    static QString problemText(const QString &platformArgument, const QString &qpaPlatform, const QString &display,
                               const QString &waylandDisplay);
};
