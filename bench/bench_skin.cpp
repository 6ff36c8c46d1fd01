// Skin welds on a generated character: 20 parts in a chain, 5,000 vertices each
// (100,000 in all), each part's bottom ring lying on its child's top ring.
//
// The peer of the per-tick update is posing alone (SetTime): the update's cost is
// reported as its ratio to that.

#include <cmath>
#include <numbers>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "scene/WeldList.h"

namespace {

constexpr int kParts = 20;
constexpr int kRings = 50;
constexpr int kRingVertices = 100; // kRings * kRingVertices = 5,000 per part
constexpr float kPartLength = 1.0f;

struct Character {
    rm::Ref<rm::Context> rm;
    rm::Ref<rm::Frame> root;
    rm::Ref<rm::AnimationSet> set;
};

// A tube from y = 0 down to y = -kPartLength, as quads between rings.
rm::Ref<rm::Mesh> MakeTube(rm::Context* rm) {
    rm::Ref<rm::MeshBuilder> builder;
    rm->CreateMeshBuilder(&builder);
    std::vector<rm::Vector> points;
    for (int r = 0; r < kRings; ++r) {
        const float y = -kPartLength * float(r) / float(kRings - 1);
        for (int i = 0; i < kRingVertices; ++i) {
            const float a = 2 * std::numbers::pi_v<float> * float(i) / kRingVertices;
            points.push_back({0.2f * std::cos(a), y, 0.2f * std::sin(a)});
        }
    }
    std::vector<std::uint32_t> faces;
    for (int r = 0; r + 1 < kRings; ++r) {
        for (int i = 0; i < kRingVertices; ++i) {
            const auto a = std::uint32_t(r * kRingVertices + i);
            const auto b = std::uint32_t(r * kRingVertices + (i + 1) % kRingVertices);
            faces.insert(faces.end(), {4, a, b, b + kRingVertices, a + kRingVertices});
        }
    }
    faces.push_back(0);
    builder->AddFaces(std::uint32_t(points.size()), points.data(), 0, nullptr, faces.data());
    rm::Ref<rm::Mesh> mesh;
    builder->CreateMesh(&mesh);
    return mesh;
}

Character MakeCharacter() {
    Character c;
    rm::Direct3DRMCreate(&c.rm);
    c.rm->CreateFrame(nullptr, &c.root);
    c.rm->CreateAnimationSet(&c.set);
    rm::Frame* parent = c.root.Get();
    for (int p = 0; p < kParts; ++p) {
        rm::Ref<rm::Frame> part;
        c.rm->CreateFrame(parent, &part);
        part->SetPosition(parent, 0, p == 0 ? 0 : -kPartLength, 0);
        part->AddVisual(MakeTube(c.rm.Get()).Get());
        rm::Ref<rm::Animation> animation;
        c.rm->CreateAnimation(&animation);
        animation->SetFrame(part.Get());
        for (int t = 0; t <= 40; t += 10) {
            animation->AddRotateKey(float(t), rm::QuaternionFromRotation({0, 0, 1}, 0.02f * t));
        }
        c.set->AddAnimation(animation.Get());
        parent = part.Get();
    }
    return c;
}

void BM_BuildWelds(benchmark::State& state) {
    Character c = MakeCharacter();
    scene::WeldList welds;
    for (auto _ : state) {
        welds.Build(c.root.Get(), 0.005f);
        benchmark::DoNotOptimize(welds.Records().data());
    }
    state.counters["vertices"] = kParts * kRings * kRingVertices;
}
BENCHMARK(BM_BuildWelds)->Unit(benchmark::kMillisecond);

void BM_PoseOnly(benchmark::State& state) {
    Character c = MakeCharacter();
    float t = 0;
    for (auto _ : state) {
        c.set->SetTime(t);
        t = t >= 40 ? 0 : t + 0.5f;
    }
}
BENCHMARK(BM_PoseOnly)->Unit(benchmark::kMicrosecond);

void BM_PoseAndUpdateSkin(benchmark::State& state) {
    Character c = MakeCharacter();
    scene::WeldList welds;
    welds.Build(c.root.Get(), 0.005f);
    float t = 0;
    std::size_t written = 0;
    for (auto _ : state) {
        c.set->SetTime(t);
        written = welds.Update();
        t = t >= 40 ? 0 : t + 0.5f;
    }
    state.counters["welded"] = double(written);
}
BENCHMARK(BM_PoseAndUpdateSkin)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
