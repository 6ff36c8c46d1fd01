// The key-time list of a large animation set: 200 parts, each with rotation, scale and
// position keys at the same 1,024 times. The peer is the repeated minimum search the list
// was first specified with (count x distinct-times comparisons), run on the same keys.

#include <cfloat>
#include <vector>

#include <benchmark/benchmark.h>

#include "KeyedAnimationSet.h"

namespace {

// Parts are keyed at shifted times so the lists interleave.
constexpr auto kShiftedTimes = [](int p, int t) { return float((t * 7 + p) % kTimes); };

struct Fixture : KeyedAnimationSet<decltype(kShiftedTimes)> {
    Fixture() : KeyedAnimationSet(kShiftedTimes) {}
};

void BM_UpdateTotalKeyTimeBuffer(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.data.UpdateTotalKeyTimeBuffer();
        benchmark::DoNotOptimize(f.data.KeyTimeCount());
    }
    state.counters["keys"] = double(kParts) * kTimes * 3;
    state.counters["times"] = f.data.KeyTimeCount();
}
BENCHMARK(BM_UpdateTotalKeyTimeBuffer)->Unit(benchmark::kMillisecond);

// The selection loop: fetch every animation's keys, then repeatedly find the smallest
// time above the last one taken.
void BM_MinimumSearchPeer(benchmark::State& state) {
    Fixture f;
    std::vector<std::vector<rm::AnimationKey>> buffers;
    float list[1024];
    unsigned count = 0;
    for (auto _ : state) {
        buffers.clear();
        for (const auto& animation : f.data.m_set->Animations()) {
            std::uint32_t n = 0;
            animation->GetKeys(0, FLT_MAX, &n, nullptr);
            buffers.emplace_back(n);
            animation->GetKeys(0, FLT_MAX, &n, buffers.back().data());
        }
        count = 0;
        float last = -1.0f;
        for (;;) {
            float best = FLT_MAX;
            bool found = false;
            for (const auto& keys : buffers) {
                for (const auto& key : keys) {
                    if (key.dvTime > last && key.dvTime < best) {
                        best = key.dvTime;
                        found = true;
                    }
                }
            }
            if (!found || count == 1024) {
                break;
            }
            list[count++] = best;
            last = best;
        }
        benchmark::DoNotOptimize(list);
    }
    state.counters["times"] = count;
}
BENCHMARK(BM_MinimumSearchPeer)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
