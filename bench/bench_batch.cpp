// The batch key operations on a large animation set — 200 parts, each with rotation, scale
// and position keys at the same 1,024 times — and the part key dialog filling its list for
// one part with 10,000 keys. The limits are 10 ms per key operation (20 ms for deleting
// every position key) and 50 ms for the list. The peer is the way the key operations were first
// written, one ModifyKey per key (each finds its key and moves it), run on the same keys.

#include <cfloat>
#include <memory>
#include <vector>

#include <QApplication>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "KeyedAnimationSet.h"
#include "dialogs/CPartKeyDialog.h"
#include "scene/CModelData.h"
#include "scene/CPartRecord.h"
#include "scene/SceneContext.h"
#include "session/EditContext.h"

namespace {

// Every part keyed at the same even times.
constexpr auto kEvenTimes = [](int, int t) { return float(t * 2); };

struct Fixture : KeyedAnimationSet<decltype(kEvenTimes)> {
    Fixture() : KeyedAnimationSet(kEvenTimes) { data.UpdateTotalKeyTimeBuffer(); }

    float Span() const { return data.KeyTime(int(data.KeyTimeCount()) - 1) - data.KeyTime(0); }
};

void Counters(benchmark::State& state, double limitMs) {
    state.counters["keys"] = double(kParts) * kTimes * 3;
    state.counters["limit_ms"] = limitMs;
}

void BM_ScaleToLength(benchmark::State& state) {
    Fixture f;
    const float span = f.Span();
    for (auto _ : state) {
        f.data.ScaleToLength(2 * span);
        state.PauseTiming();
        f.data.UpdateTotalKeyTimeBuffer();
        f.data.ScaleToLength(span); // back: every doubled time halves to a whole number
        f.data.UpdateTotalKeyTimeBuffer();
        state.ResumeTiming();
    }
    Counters(state, 10);
}
BENCHMARK(BM_ScaleToLength)->Unit(benchmark::kMillisecond);

// An operation that undoes itself every second run (forth, then back), so the keys stay
// where they started however many runs the benchmark makes.
void BM_ThereAndBack(benchmark::State& state, void (*apply)(CAnimationData&, bool forth)) {
    Fixture f;
    bool forth = true;
    for (auto _ : state) {
        apply(f.data, forth);
        forth = !forth;
    }
    Counters(state, 10);
}
BENCHMARK_CAPTURE(BM_ThereAndBack, ShiftKeyTimes, [](CAnimationData& data, bool forth) {
    data.ShiftKeyTimes(forth ? 5 : -5);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ThereAndBack, ScalePositionKeys, [](CAnimationData& data, bool forth) {
    const float factor = forth ? 2.0f : 0.5f;
    data.ScalePositionKeys(factor, factor, factor, -1.0f);
})->Unit(benchmark::kMillisecond);

// The peer: ShiftKeyTimes with one ModifyKey per key.
void BM_ShiftKeyTimesOneKeyAtATimePeer(benchmark::State& state) {
    Fixture f;
    std::vector<rm::AnimationKey> keys;
    float delta = 5;
    for (auto _ : state) {
        for (const auto& animation : f.data.m_set->Animations()) {
            std::uint32_t n = 0;
            animation->GetKeys(0, FLT_MAX, &n, nullptr);
            keys.resize(n);
            animation->GetKeys(0, FLT_MAX, &n, keys.data());
            for (auto& key : keys) {
                key.dvTime += delta;
                animation->ModifyKey(&key);
            }
        }
        delta = -delta;
    }
    Counters(state, 10);
}
BENCHMARK(BM_ShiftKeyTimesOneKeyAtATimePeer)->Unit(benchmark::kMillisecond)->Iterations(2);

// Delete All Position Keys: every position key of the 200 parts at once, against the limit
// of 20 ms and the peer, one DeleteKeyByID per key (quadratic). The keys are put back
// outside the timing before each run.
struct SavedKeys {
    explicit SavedKeys(CAnimationData& data) {
        for (const auto& animation : data.m_set->Animations()) {
            keys.push_back(animation->Keys());
            nextIds.push_back(animation->NextKeyId());
        }
    }
    void PutBack(CAnimationData& data) const {
        std::size_t i = 0;
        for (const auto& animation : data.m_set->Animations()) {
            animation->RestoreKeys(keys[i], nextIds[i]);
            ++i;
        }
    }
    std::vector<std::vector<rm::AnimationKey>> keys;
    std::vector<std::uint32_t> nextIds;
};

void BM_DeleteAllPositionKeys(benchmark::State& state) {
    Fixture f;
    const SavedKeys saved(f.data);
    for (auto _ : state) {
        state.PauseTiming();
        saved.PutBack(f.data);
        state.ResumeTiming();
        f.data.DeletePositionKeys(-1.0f);
    }
    Counters(state, 20);
}
BENCHMARK(BM_DeleteAllPositionKeys)->Unit(benchmark::kMillisecond);

void BM_DeleteAllPositionKeysOneKeyAtATimePeer(benchmark::State& state) {
    Fixture f;
    const SavedKeys saved(f.data);
    std::vector<std::uint32_t> ids;
    for (auto _ : state) {
        state.PauseTiming();
        saved.PutBack(f.data);
        state.ResumeTiming();
        for (const auto& animation : f.data.m_set->Animations()) {
            ids.clear();
            for (const rm::AnimationKey& key : animation->Keys()) {
                if (key.dwKeyType == rm::D3DRMANIMATION_POSITIONKEY) {
                    ids.push_back(key.dwID);
                }
            }
            for (std::uint32_t id : ids) {
                animation->DeleteKeyByID(id);
            }
        }
    }
    Counters(state, 20);
}
BENCHMARK(BM_DeleteAllPositionKeysOneKeyAtATimePeer)->Unit(benchmark::kMillisecond)->Iterations(2);

// One part whose animation has 10,000 keys (a third of them position keys, which take two
// lines): the dialog's Refresh empties the list and fills it again.
void BM_PartKeyDialogRefresh(benchmark::State& state) {
    const CurrentFactory factory;
    {
        CModelData model;
        rm::Ref<rm::Frame> part;
        factory.d3drm->CreateFrame(model.Root(), &part);
        part->SetName("Arm");
        model.NamePartsAndRecord(model.Root());
        rm::Ref<rm::Animation> animation;
        factory.d3drm->CreateAnimation(&animation);
        for (int i = 0; i < 10000; ++i) {
            const float time = float(i / 3);
            if (i % 3 == 0) {
                animation->AddRotateKey(time, rm::QuaternionFromRotation({0, 1, 0}, 0.01f * i));
            } else if (i % 3 == 1) {
                animation->AddScaleKey(time, 1, 1, 1);
            } else {
                animation->AddPositionKey(time, float(i), 2, 3);
            }
        }
        CPartRecord::Of(part.Get())->animation = animation.Get();
        session::EditContext context;
        context.sceneRoot = model.Root();
        context.SetSelectedPart(part.Get());

        CPartKeyDialog dialog(context, [] { return nullptr; });
        int lines = 0;
        for (auto _ : state) {
            dialog.Refresh();
            lines = dialog.Controls().GetCount(CPartKeyDialog::KeyList);
        }
        state.counters["keys"] = 10000;
        state.counters["lines"] = lines;
        state.counters["limit_ms"] = 50;
        context.SetSelectedPart(nullptr);
    }
}
BENCHMARK(BM_PartKeyDialogRefresh)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    return RunBenchmarks(argc, argv);
}
