#pragma once

#include <QProcess>

#include <csignal>

// Sends `sig` to a child process only while it runs. A QProcess that has ended reports
// process id 0, and kill(0, …) would signal the test runner's whole process group.
inline bool signalChild(const QProcess &child, int sig)
{
    const qint64 pid = child.processId();
    return child.state() == QProcess::Running && pid > 0 && ::kill(pid_t(pid), sig) == 0;
}
