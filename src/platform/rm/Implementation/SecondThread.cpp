#include "platform/rm/Implementation/SecondThread.h"

#include <utility>

namespace rm {

SecondThread::~SecondThread() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_posted.notify_one();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SecondThread::Post(std::function<void()> job) {
    if (!m_thread.joinable()) {
        m_thread = std::thread([this] { Work(); });
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_posted.notify_one();
}

void SecondThread::Work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_posted.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return; // stopping, and nothing left to run
        }
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

} // namespace rm
