#include "ManualScheduler.h"

#include <QTimeZone>

#include <limits>

ManualScheduler::ManualScheduler(QDateTime start) : m_start(std::move(start))
{
    m_previous = &Scheduler::instance();
    Scheduler::setInstance(this);
}

ManualScheduler::~ManualScheduler()
{
    if (&Scheduler::instance() == this)
        Scheduler::setInstance(m_previous == this ? nullptr : m_previous);
}

Scheduler::TimerId ManualScheduler::singleShot(int delayMs, std::function<void()> fn, QObject *context)
{
    const TimerId id = m_nextId++;
    m_timers.emplace(
        id, Timer{m_now + qMax(0, delayMs), m_seq++, delayMs, false, std::move(fn), context, context != nullptr});
    return id;
}

Scheduler::TimerId ManualScheduler::repeating(int intervalMs, std::function<void()> fn, QObject *context)
{
    const TimerId id = m_nextId++;
    const int step = qMax(1, intervalMs);
    m_timers.emplace(id, Timer{m_now + step, m_seq++, step, true, std::move(fn), context, context != nullptr});
    return id;
}

void ManualScheduler::cancel(TimerId id)
{
    m_timers.erase(id);
}

bool ManualScheduler::isActive(TimerId id) const
{
    return m_timers.count(id) != 0;
}

qint64 ManualScheduler::nextDueIn() const
{
    qint64 best = -1;
    for (const auto &[id, t] : m_timers)
        if (best < 0 || t.due - m_now < best)
            best = t.due - m_now;
    return best;
}

void ManualScheduler::advance(qint64 ms)
{
    const qint64 target = m_now + qMax<qint64>(0, ms);
    for (;;) {
        TimerId nextId = 0;
        qint64 due = std::numeric_limits<qint64>::max();
        quint64 seq = std::numeric_limits<quint64>::max();
        for (const auto &[id, t] : m_timers) {
            if (t.due < due || (t.due == due && t.seq < seq)) {
                nextId = id;
                due = t.due;
                seq = t.seq;
            }
        }
        if (nextId == 0 || due > target)
            break;
        m_now = qMax(m_now, due);
        Timer &t = m_timers.at(nextId);
        if (t.hadContext && !t.context) {
            m_timers.erase(nextId);
            continue;
        }
        std::function<void()> fn = t.fn;
        if (t.repeat) {
            t.due = m_busy ? qMax(t.due + t.interval, target) : t.due + t.interval;
            t.seq = m_seq++;
        } else {
            m_timers.erase(nextId);
        }
        ++m_fired;
        fn();
    }
    m_now = target;
}
