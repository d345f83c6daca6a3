#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (the session ending) into a clean quit of the
// event loop (exit code 0), and SIGUSR1 into a request to log the process's counters
// (for measurements).
// The handler only writes a byte to a pipe; the event loop does the rest.
class UnixSignals : public QObject {
    Q_OBJECT
public:
    explicit UnixSignals(QObject *parent = nullptr);
    ~UnixSignals() override;

    // True once a terminating signal arrived (also before the event loop ran).
    bool terminateWasRequested() const { return m_requested; }

signals:
    void terminateRequested(int signal);
    void statusRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
    bool m_requested = false;
};
