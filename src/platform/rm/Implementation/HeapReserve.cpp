#include "platform/rm/Implementation/HeapReserve.h"

#include <mutex>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace rm {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    static std::once_flag once;
    std::call_once(once, [] {
        constexpr int kMiB = 1024 * 1024;
        // Blocks up to 32 MiB (the library's ceiling) come from the heap, where a freed one
        // is reused, rather than from a mapping of their own that is unmapped on free.
        mallopt(M_MMAP_THRESHOLD, 32 * kMiB);
        // The heap grows in steps of 32 MiB and gives memory back only when 64 MiB lie
        // free at its top: a frame's buffers are freed and taken again the next frame.
        mallopt(M_TOP_PAD, 32 * kMiB);
        mallopt(M_TRIM_THRESHOLD, 64 * kMiB);
    });
#endif
}

} // namespace rm
