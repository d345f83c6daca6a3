#include "Scheduler.h"

#include "MainThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QTimer>

#include <atomic>

qint64 SystemClock::monotonicMs() const
{
    static QElapsedTimer origin = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return origin.elapsed();
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

struct QtScheduler::Impl {
    mutable QMutex mutex;
    QHash<TimerId, QTimer *> timers; // main thread only
    QSet<TimerId> live;              // guarded by mutex: ids not yet finished or cancelled
    std::atomic<TimerId> nextId{1};
    std::atomic<quint64> fired{0};
};

QtScheduler::QtScheduler() : d(std::make_unique<Impl>()) {}

QtScheduler::~QtScheduler()
{
    for (QTimer *t : std::as_const(d->timers))
        delete t;
}

Scheduler::TimerId QtScheduler::singleShot(int delayMs, std::function<void()> fn, QObject *context)
{
    return start(delayMs, false, std::move(fn), context);
}

Scheduler::TimerId QtScheduler::repeating(int intervalMs, std::function<void()> fn, QObject *context)
{
    return start(intervalMs, true, std::move(fn), context);
}

Scheduler::TimerId QtScheduler::start(int ms, bool repeat, std::function<void()> fn, QObject *context)
{
    const TimerId id = d->nextId++;
    {
        QMutexLocker lock(&d->mutex);
        d->live.insert(id);
    }
    QPointer<QObject> guard(context);
    const bool hasContext = context != nullptr;
    runOnMainThread([this, id, ms, repeat, fn = std::move(fn), guard, hasContext]() mutable {
        {
            QMutexLocker lock(&d->mutex);
            if (!d->live.contains(id))
                return; // cancelled before it reached the main thread
        }
        if (hasContext && !guard)
            return;
        auto *timer = new QTimer;
        timer->setSingleShot(!repeat);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(qMax(0, ms));
        if (hasContext)
            QObject::connect(guard.data(), &QObject::destroyed, timer, [this, id] { cancel(id); });
        QObject::connect(timer, &QTimer::timeout, timer, [this, id, repeat, fn, guard, hasContext] {
            if (hasContext && !guard) {
                cancel(id);
                return;
            }
            ++d->fired;
            if (!repeat)
                cancel(id); // finished before running, so fn may schedule again freely
            fn();
        });
        d->timers.insert(id, timer);
        timer->start();
    });
    return id;
}

void QtScheduler::cancel(TimerId id)
{
    {
        QMutexLocker lock(&d->mutex);
        if (!d->live.remove(id))
            return;
    }
    runOnMainThread([this, id] {
        if (QTimer *t = d->timers.take(id)) {
            t->stop();
            t->deleteLater();
        }
    });
}

bool QtScheduler::isActive(TimerId id) const
{
    QMutexLocker lock(&d->mutex);
    return d->live.contains(id);
}

quint64 QtScheduler::firedCount() const
{
    return d->fired.load();
}

namespace {
Scheduler *g_override = nullptr;
}

Scheduler &Scheduler::instance()
{
    if (g_override)
        return *g_override;
    static QtScheduler s;
    return s;
}

void Scheduler::setInstance(Scheduler *scheduler)
{
    g_override = scheduler;
}
