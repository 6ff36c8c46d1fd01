// The key-time list of a large animation set: 200 parts, each with rotation, scale and
// position keys at the same 1,024 times. The peer is the repeated minimum search the list
// was first specified with (count x distinct-times comparisons), run on the same keys.

#include <cfloat>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "scene/CAnimationData.h"
#include "scene/SceneContext.h"

namespace {

constexpr int kParts = 200;
constexpr int kTimes = 1024;

struct Fixture {
    Fixture() {
        rm::Direct3DRMCreate(&d3drm);
        g_d3drm = d3drm.Get();
        data.CreateEmptySet();
        for (int p = 0; p < kParts; ++p) {
            rm::Ref<rm::Animation> animation;
            d3drm->CreateAnimation(&animation);
            for (int t = 0; t < kTimes; ++t) {
                // Parts are keyed at shifted times so the lists interleave.
                const float time = float((t * 7 + p) % kTimes);
                animation->AddRotateKey(time, rm::QuaternionFromRotation({0, 1, 0}, 0.01f * t));
                animation->AddScaleKey(time, 1, 1, 1);
                animation->AddPositionKey(time, float(t), 0, 0);
            }
            data.m_set->AddAnimation(animation.Get());
        }
    }
    ~Fixture() { g_d3drm = nullptr; }

    rm::Ref<rm::Context> d3drm;
    CAnimationData data;
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
