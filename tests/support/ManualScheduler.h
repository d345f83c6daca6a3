#pragma once

#include "Scheduler.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QTimeZone>

#include <map>

// Virtual time for tests. Nothing fires until advance() moves the clock; due timers
// then fire in time order (ties in the order they were scheduled), each seeing the
// clock at its own due time. Installs itself as the process scheduler while alive.
class ManualScheduler final : public Scheduler, public Clock {
public:
    explicit ManualScheduler(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(12, 0), QTimeZone::utc()));
    ~ManualScheduler() override;

    TimerId singleShot(int delayMs, std::function<void()> fn, QObject *context = nullptr) override;
    TimerId repeating(int intervalMs, std::function<void()> fn, QObject *context = nullptr) override;
    void cancel(TimerId id) override;
    bool isActive(TimerId id) const override;
    const Clock &clock() const override { return *this; }
    quint64 firedCount() const override { return m_fired; }

    qint64 monotonicMs() const override { return m_now; }
    QDateTime now() const override { return m_start.addMSecs(m_now + m_wallShift); }
    // The user or the network sets the wall clock; elapsed time goes on unchanged.
    void shiftWallClock(qint64 ms) { m_wallShift += ms; }
    // A busy event loop: a repeating timer that fell behind fires once when the loop
    // gets to it and does not catch up on the ticks it missed (as QTimer does).
    void setBusy(bool busy) { m_busy = busy; }

    // Moves virtual time forward, firing every timer that falls due on the way.
    void advance(qint64 ms);
    // Fires whatever is due now (zero-delay timers).
    void runDue() { advance(0); }
    int pendingCount() const { return int(m_timers.size()); }
    // Milliseconds until the next timer, or -1.
    qint64 nextDueIn() const;

private:
    struct Timer {
        qint64 due;
        quint64 seq;
        int interval;
        bool repeat;
        std::function<void()> fn;
        QPointer<QObject> context;
        bool hadContext;
    };
    qint64 m_now = 0;
    qint64 m_wallShift = 0;
    bool m_busy = false;
    quint64 m_seq = 0;
    TimerId m_nextId = 1;
    quint64 m_fired = 0;
    QDateTime m_start;
    std::map<TimerId, Timer> m_timers;
    Scheduler *m_previous = nullptr;
};

// A clock that stands still at a given time (for time stamps in expected output).
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime t) : m_t(std::move(t)) {}
    qint64 monotonicMs() const override { return 0; }
    QDateTime now() const override { return m_t; }
    void set(QDateTime t) { m_t = std::move(t); }

private:
    QDateTime m_t;
};
