#include "platform/rm/Implementation/ParallelRange.h"

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

using rm::ParallelRange;

TEST(ParallelRangeTest, PiecesCoverTheRangeOnceAndSmallRangesStayOnTheCaller) {
    struct Case {
        unsigned threads;
        std::size_t count, grain;
        unsigned mostPieces; // 1: everything on the calling thread
    };
    const Case cases[] = {
        {4, 1000, 100, 4}, {4, 250, 100, 2}, {3, 10, 0, 3}, {2, 99, 100, 1},
        {2, 0, 10, 1},     {1, 5000, 10, 1}, {4, 7, 1, 4},
    };
    ParallelRange shared(4); // one object through calls of every size, as the cache uses it
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.threads << " threads, " << c.count << " items");
        ParallelRange own(c.threads);
        for (ParallelRange* range : {&own, &shared}) {
            if (range == &shared && c.threads != 4) {
                continue;
            }
            for (int round = 0; round < 3; ++round) {
                std::vector<std::atomic<int>> seen(c.count);
                std::atomic<unsigned> pieces{0}, offCaller{0};
                const auto caller = std::this_thread::get_id();
                range->For(c.count, c.grain, [&](std::size_t first, std::size_t last) {
                    ++pieces;
                    if (std::this_thread::get_id() != caller) {
                        ++offCaller;
                    }
                    EXPECT_LE(first, last);
                    for (std::size_t i = first; i < last; ++i) {
                        ++seen[i];
                    }
                });
                for (std::size_t i = 0; i < c.count; ++i) {
                    ASSERT_EQ(seen[i].load(), 1) << "item " << i;
                }
                EXPECT_LE(pieces.load(), c.mostPieces);
                EXPECT_EQ(offCaller.load(), pieces.load() - 1);
                if (c.mostPieces == 1) {
                    EXPECT_EQ(pieces.load(), 1u);
                }
            }
        }
    }
}
