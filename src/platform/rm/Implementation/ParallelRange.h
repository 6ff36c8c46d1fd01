#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/NonCopyable.h"

namespace rm {

/// Splits a range of work over the calling thread and helper threads kept between calls,
/// so a large loop run every frame (the skin's deformation) pays no thread start each
/// time. The helpers start at the first call that splits and stop with the object.
class ParallelRange : private platform::NonCopyable {
public:
    /// At most `threads` pieces at once, the caller's included (0: the machine's cores).
    explicit ParallelRange(unsigned threads = 0);
    ~ParallelRange();

    /// Calls body(first, last) on disjoint pieces that together cover [0, count), each of
    /// at least `grain` items (a smaller count stays one piece, on the caller's thread), and
    /// returns when every piece is done. The caller takes the first piece itself.
    void For(std::size_t count, std::size_t grain,
             const std::function<void(std::size_t, std::size_t)>& body);

    /// How many pieces a call may run at once.
    unsigned Threads() const { return m_threads; }

private:
    void Work(unsigned piece);

    unsigned m_threads;
    std::vector<std::thread> m_helpers;
    std::mutex m_mutex;
    std::condition_variable m_start;
    std::condition_variable m_done;
    // The task of the present call: pieces of m_count items, m_pieces of them.
    const std::function<void(std::size_t, std::size_t)>* m_body = nullptr;
    std::size_t m_count = 0;
    unsigned m_pieces = 0;
    unsigned m_pending = 0;     // helpers' pieces not finished yet
    unsigned long m_serial = 0; // counts calls, so each helper runs each call once
    bool m_stopping = false;
};

} // namespace rm
