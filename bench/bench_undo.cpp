// Taking an edit step and undoing it on a large character — 200 parts in a chain, each with
// a mesh of 500 vertices (100,000 in all) and rotation keys at the same 1,024 times — for
// the three sizes of step: a drag turning one part (its animation and the frames), a paste
// of one key time's keys onto another for every part (the whole animation set) and a model
// scale (frames, meshes and every position key). The limit is 5 ms for taking a step and
// 5 ms for undoing it; the peer in the same run is one plain copy of the keys (and
// vertices) a step of that size pictures. After each, the bytes 100 such steps hold are reported
// ("bytes_100_steps"; the history drops the oldest pictures beyond its byte limit, "byte_limit")
// and how many of them can still be undone, and the bytes of one step ("bytes_per_step").

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "CurrentCharacter.h"
#include "commands/EditScope.h"
#include "commands/UndoHistory.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/SceneContext.h"
#include "session/EditContext.h"

namespace {

constexpr int kVerticesPerPart = 500;
constexpr double kLimitMs = 5;

class Character : public CurrentCharacter {
public:
    Character() {
        rm::Frame* parent = model->Root();
        for (int p = 0; p < kParts; ++p) {
            rm::Animation* keys = AddPart(parent);
            rm::Frame* part = parts.back().Get();
            part->SetPosition(parent, 0, 1, 0);
            rm::Ref<rm::MeshBuilder> mesh;
            d3drm->CreateMeshBuilder(&mesh);
            for (int v = 0; v < kVerticesPerPart; ++v) {
                mesh->AddVertex(float(v % 10), float(v / 10) * 0.02f, float(p));
            }
            const std::uint32_t face[3] = {0, 1, 2};
            mesh->AddFace(3, face, nullptr);
            part->AddVisual(mesh.Get());
            for (int t = 0; t < kTimes; ++t) {
                keys->AddRotateKey(float(t), rm::QuaternionFromRotation({0, 1, 0}, 0.01f * t));
            }
            if (p == 0) {
                for (int t = 0; t < kTimes; ++t) {
                    keys->AddPositionKey(float(t), 0, 0, float(t) * 0.1f);
                }
            }
            parent = part;
        }
        // Named and bound to the model as a load leaves them.
        model->NamePartsAndRecord(model->Root());
        model->RecordPartAnimations(animation->Set());
        animation->m_model = model.get();
        MakeCurrent();
    }

    rm::Animation* PartAnimation(int p) const { return animations[std::size_t(p)].Get(); }
};

/// One edit of each size; each call changes something.
enum class Kind { TurnPart, PasteKeyTime, ScaleModel };

std::unique_ptr<EditScope> OpenScope(Character& c, UndoHistory& history, Kind kind) {
    switch (kind) {
    case Kind::TurnPart:
        return std::make_unique<EditScope>(&history, c.context, QStringLiteral("turn"),
                                           EditScope::ModelFrames | EditScope::PartAnimation,
                                           c.PartAnimation(100));
    case Kind::PasteKeyTime:
        return std::make_unique<EditScope>(&history, c.context, QStringLiteral("paste"),
                                           EditScope::AnimationSets);
    case Kind::ScaleModel:
        break;
    }
    return std::make_unique<EditScope>(&history, c.context, QStringLiteral("scale"),
                                       EditScope::ModelFrames | EditScope::Meshes |
                                           EditScope::AnimationSets);
}

void Change(Character& c, Kind kind, int round) {
    switch (kind) {
    case Kind::TurnPart: {
        const rm::Quaternion q = rm::QuaternionFromRotation({1, 0, 0}, 0.001f * float(round + 1));
        c.parts[100]->SetQuaternion(c.parts[99].Get(), q);
        c.PartAnimation(100)->AddRotateKey(512, q);
        break;
    }
    case Kind::PasteKeyTime:
        c.animation->CopyKeys(float(round % kTimes), float((round + 7) % kTimes));
        c.animation->UpdateTotalKeyTimeBuffer();
        break;
    case Kind::ScaleModel:
        c.model->Scale(c.model->Root(), 1.01f, 1.01f, 1.01f);
        c.animation->ScalePositionKeys(1.01f, 1.01f, 1.01f, -1.0f);
        break;
    }
}

void Edit(Character& c, UndoHistory& history, Kind kind, int round) {
    const std::unique_ptr<EditScope> scope = OpenScope(c, history, kind);
    Change(c, kind, round);
}

const char* Name(Kind kind) {
    return kind == Kind::TurnPart       ? "turn_part"
           : kind == Kind::PasteKeyTime ? "paste_key_time"
                                        : "scale_model";
}

/// The step alone: the scope's pictures before and after and the push; the edit between
/// and the undo after are not timed.
void BM_TakeStep(benchmark::State& state, Kind kind) {
    Character c;
    UndoHistory history;
    int round = 0;
    for (auto _ : state) {
        std::unique_ptr<EditScope> scope = OpenScope(c, history, kind);
        state.PauseTiming();
        Change(c, kind, round++);
        state.ResumeTiming();
        scope.reset();
        state.PauseTiming();
        history.Undo();
        state.ResumeTiming();
    }
    state.counters["limit_ms"] = kLimitMs;
}

void BM_UndoStep(benchmark::State& state, Kind kind) {
    Character c;
    UndoHistory history;
    Edit(c, history, kind, 0);
    state.counters["bytes_per_step"] = double(history.Bytes());
    for (auto _ : state) {
        history.Undo();
        state.PauseTiming();
        history.Redo();
        state.ResumeTiming();
    }
    state.counters["limit_ms"] = kLimitMs;
    // The memory of 100 steps of this size, as the history keeps them.
    UndoHistory hundred;
    for (int i = 0; i < 100; ++i) {
        Edit(c, hundred, kind, i + 1);
    }
    state.counters["steps_kept"] = hundred.Count();
    int undoable = 0;
    while (hundred.Undo() != 0) {
        ++undoable;
    }
    state.counters["steps_undoable"] = undoable;
    state.counters["bytes_100_steps"] = double(hundred.Bytes());
    state.counters["byte_limit"] = double(UndoHistory::kDefaultByteLimit);
}

/// The peer: one plain copy of the keys (and, for the scale, the vertices) a step of this
/// size pictures once.
void BM_CopyPeer(benchmark::State& state, Kind kind) {
    Character c;
    std::vector<rm::AnimationKey> keys;
    std::vector<rm::Vector> vertices(std::size_t(kParts) * kVerticesPerPart);
    for (auto _ : state) {
        keys.clear();
        const int from = kind == Kind::TurnPart ? 100 : 0;
        const int to = kind == Kind::TurnPart ? 101 : kParts;
        for (int p = from; p < to; ++p) {
            const auto& k = c.PartAnimation(p)->Keys();
            keys.insert(keys.end(), k.begin(), k.end());
        }
        if (kind == Kind::ScaleModel) {
            for (int p = 0; p < kParts; ++p) {
                auto* mesh =
                    static_cast<rm::MeshBuilder*>(c.parts[std::size_t(p)]->Visuals()[0].Get());
                std::uint32_t count = kVerticesPerPart;
                mesh->GetVertices(0, &count, vertices.data() + std::size_t(p) * kVerticesPerPart);
            }
        }
        benchmark::DoNotOptimize(keys.data());
        benchmark::DoNotOptimize(vertices.data());
    }
}

void Register() {
    for (Kind kind : {Kind::TurnPart, Kind::PasteKeyTime, Kind::ScaleModel}) {
        const std::string name = Name(kind);
        benchmark::RegisterBenchmark(("BM_TakeStep/" + name).c_str(), BM_TakeStep, kind)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_UndoStep/" + name).c_str(), BM_UndoStep, kind)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_CopyPeer/" + name).c_str(), BM_CopyPeer, kind)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv) {
    Register();
    return RunBenchmarks(argc, argv);
}
