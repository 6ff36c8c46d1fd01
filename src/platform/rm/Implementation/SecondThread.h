#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/NonCopyable.h"

namespace rm {

/// One thread kept for work handed over while the caller goes on: jobs run there one
/// after another, in the order they were posted. The thread starts with the first job and
/// stops with the object, once every posted job has run.
class SecondThread : private platform::NonCopyable {
public:
    SecondThread() = default;
    ~SecondThread();

    /// Queues `job` to run on the thread. Throws std::system_error when no thread can be
    /// started (the job is then not queued).
    void Post(std::function<void()> job);

private:
    void Work();

    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace rm
