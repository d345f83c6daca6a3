#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

// Time for the whole application. Every timer goes through a Scheduler so tests can
// run on virtual time (see ManualScheduler in tests/support).
class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic milliseconds since an arbitrary origin.
    virtual qint64 monotonicMs() const = 0;
    // Wall-clock time (local time zone of the process).
    virtual QDateTime now() const = 0;
    qint64 secondsSinceEpoch() const { return now().toSecsSinceEpoch(); }
};

class Scheduler {
public:
    using TimerId = quint64;
    static constexpr TimerId kNoTimer = 0;

    virtual ~Scheduler() = default;

    // Runs fn once after delayMs on the main thread. A destroyed context cancels it.
    virtual TimerId singleShot(int delayMs, std::function<void()> fn, QObject *context = nullptr) = 0;
    // Runs fn every intervalMs until cancelled (or the context dies).
    virtual TimerId repeating(int intervalMs, std::function<void()> fn, QObject *context = nullptr) = 0;
    virtual void cancel(TimerId id) = 0;
    virtual bool isActive(TimerId id) const = 0;
    virtual const Clock &clock() const = 0;

    // How many timer callbacks have fired so far: a cheap wake-up counter for idle checks.
    virtual quint64 firedCount() const = 0;

    // The process-wide scheduler. Defaults to the QTimer-backed one; tests install their own.
    static Scheduler &instance();
    static void setInstance(Scheduler *scheduler); // nullptr restores the default
};

// Convenience: cancel a timer id held in a member and reset it.
inline void cancelTimer(Scheduler &s, Scheduler::TimerId &id)
{
    if (id != Scheduler::kNoTimer) {
        s.cancel(id);
        id = Scheduler::kNoTimer;
    }
}

class SystemClock final : public Clock {
public:
    qint64 monotonicMs() const override;
    QDateTime now() const override;
};

// QTimer-backed scheduler. Timers live on the main thread; calls from other threads
// are handed to it.
class QtScheduler final : public Scheduler {
public:
    QtScheduler();
    ~QtScheduler() override;
    TimerId singleShot(int delayMs, std::function<void()> fn, QObject *context = nullptr) override;
    TimerId repeating(int intervalMs, std::function<void()> fn, QObject *context = nullptr) override;
    void cancel(TimerId id) override;
    bool isActive(TimerId id) const override;
    const Clock &clock() const override { return m_clock; }
    quint64 firedCount() const override;

private:
    struct Impl;
    TimerId start(int ms, bool repeat, std::function<void()> fn, QObject *context);
    std::unique_ptr<Impl> d;
    SystemClock m_clock;
};
