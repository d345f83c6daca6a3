#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a clean quit of the event loop (exit code 0).
// The handler only writes a byte to a pipe; the event loop does the rest.
class UnixSignals : public QObject {
    Q_OBJECT
public:
    explicit UnixSignals(QObject *parent = nullptr);
    ~UnixSignals() override;

signals:
    void terminateRequested(int signal);

private:
    QSocketNotifier *m_notifier = nullptr;
};
