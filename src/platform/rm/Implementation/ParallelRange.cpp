#include "platform/rm/Implementation/ParallelRange.h"

#include <algorithm>

namespace rm {

namespace {

// Piece p of n pieces over count items: [Begin(p), Begin(p + 1)).
std::size_t Begin(std::size_t count, unsigned pieces, unsigned p) {
    return count / pieces * p + std::min<std::size_t>(p, count % pieces);
}

} // namespace

ParallelRange::ParallelRange(unsigned threads)
    : m_threads(std::max(1u, threads ? threads : std::thread::hardware_concurrency())) {}

ParallelRange::~ParallelRange() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_start.notify_all();
    for (std::thread& helper : m_helpers) {
        helper.join();
    }
}

void ParallelRange::For(std::size_t count, std::size_t grain,
                        const std::function<void(std::size_t, std::size_t)>& body) {
    const std::size_t most = grain ? count / grain : count;
    const auto pieces = unsigned(std::clamp<std::size_t>(most, 1, m_threads));
    if (pieces == 1) {
        body(0, count);
        return;
    }
    while (m_helpers.size() + 1 < m_threads) {
        m_helpers.emplace_back([this, piece = unsigned(m_helpers.size() + 1)] { Work(piece); });
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_body = &body;
        m_count = count;
        m_pieces = pieces;
        m_pending = pieces - 1;
        ++m_serial;
    }
    m_start.notify_all();
    body(0, Begin(count, pieces, 1));
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return m_pending == 0; });
    m_body = nullptr;
}

void ParallelRange::Work(unsigned piece) {
    unsigned long seen = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_start.wait(lock, [&] { return m_stopping || m_serial != seen; });
        if (m_stopping) {
            return;
        }
        seen = m_serial;
        if (piece >= m_pieces) {
            continue;
        }
        const auto* body = m_body;
        const std::size_t first = Begin(m_count, m_pieces, piece);
        const std::size_t last = Begin(m_count, m_pieces, piece + 1);
        lock.unlock();
        (*body)(first, last);
        lock.lock();
        if (--m_pending == 0) {
            m_done.notify_one();
        }
    }
}

} // namespace rm
