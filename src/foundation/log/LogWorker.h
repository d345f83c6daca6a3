#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The one thread the logs are written on: jobs run in the order they were posted. The
// thread starts with the first job and ends after a short idle time, so an idle
// process keeps no thread for its logs and nothing wakes it.
class LogWorker {
public:
    static constexpr std::chrono::seconds kIdleEnd{2};

    // The process's worker, made on first use and never destroyed: lines may be logged
    // from any thread up to the very end.
    static LogWorker &shared();

    LogWorker() = default;
    ~LogWorker(); // runs what is queued, then stops
    LogWorker(const LogWorker &) = delete;
    LogWorker &operator=(const LogWorker &) = delete;

    void post(std::function<void()> job);
    // Returns once every job posted before the call has run (at once on the worker itself).
    void drain();

private:
    std::thread wakeLocked();
    void run();

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_queue;
    bool m_stopping = false;
    bool m_running = false; // a thread runs (or is about to)
    std::thread m_thread;   // the last one started
    std::atomic<std::thread::id> m_workerId;
};
