#include "LogWorker.h"

#include <future>

LogWorker &LogWorker::shared()
{
    static LogWorker *worker = new LogWorker;
    return *worker;
}

LogWorker::~LogWorker()
{
    std::thread last;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        last = std::move(m_thread);
    }
    m_cv.notify_one();
    if (last.joinable())
        last.join();
}

// The caller holds m_mutex. A worker that went idle detached itself under it, so what
// is handed back to join (outside the lock) is only ever a thread never started.
std::thread LogWorker::wakeLocked()
{
    if (m_running)
        return {};
    m_running = true;
    std::thread ended = std::move(m_thread);
    m_thread = std::thread([this] { run(); });
    m_workerId.store(m_thread.get_id());
    return ended;
}

void LogWorker::post(std::function<void()> job)
{
    std::thread ended;
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(job));
        ended = wakeLocked();
    }
    m_cv.notify_one();
    if (ended.joinable())
        ended.join();
}

void LogWorker::drain()
{
    if (std::this_thread::get_id() == m_workerId.load())
        return; // a job cannot wait for itself
    {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty() && !m_running)
            return;
    }
    std::promise<void> done;
    std::future<void> ran = done.get_future();
    post([&done] { done.set_value(); });
    ran.wait();
}

void LogWorker::run()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            const bool work = m_cv.wait_for(lock, kIdleEnd, [this] { return m_stopping || !m_queue.empty(); });
            if (!work || m_queue.empty()) {
                m_running = false; // idle, or stopping with everything run
                // Ended on its own, it is nobody's to join: the process may end before
                // another job starts the next worker.
                if (!m_stopping && m_thread.get_id() == std::this_thread::get_id())
                    m_thread.detach();
                return;
            }
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        // A failing disk loses the entry, never the worker.
        try {
            job();
        } catch (...) {
        }
    }
}
