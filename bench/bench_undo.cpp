// Taking an edit step and undoing it on a large character — 200 parts in a chain, each with
// a mesh of 500 vertices (100,000 in all) and rotation keys at the same 1,024 times — for
// the three sizes of step: a drag turning one part (its animation and the frames), a paste
// of one key time's keys onto another for every part (the whole animation set) and a model
// scale (frames, meshes and every position key). The limit is 5 ms for taking a step and
// 5 ms for undoing it; the peer in the same run is one plain copy of the keys (and
// vertices) a step of that size pictures. After each, the bytes 100 such steps hold are reported
// ("bytes_100_steps"; the history drops the oldest pictures beyond its byte limit, "byte_limit")
// and how many of them can still be undone, and the bytes of one step ("bytes_per_step").
//
// The model scale runs twice: as the steps are kept, where values changed as a whole are kept
// as how one version follows from the other, and "_plain", with both versions kept as they
// are. A run of 100 steps of the three kinds in turn shows how many fit in the default byte
// limit, both ways; the summary after the report puts the figures side by side.

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "CurrentCharacter.h"
#include "commands/EditScope.h"
#include "commands/ScaledLanes.h"
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

/// How a step keeps values that changed as a whole: as they follow one from the other, or
/// plainly, both versions.
enum class Keeping { Related, Plain };

const char* Suffix(Keeping keeping) {
    return keeping == Keeping::Plain ? "_plain" : "";
}

/// Figures for the summary, by name.
std::map<std::string, double>& Figures() {
    static std::map<std::string, double> figures;
    return figures;
}

/// Keeps steps as `keeping` says while it lives.
class KeepingScope {
public:
    explicit KeepingScope(Keeping keeping) { ScaledLanes::SetEnabled(keeping == Keeping::Related); }
    ~KeepingScope() { ScaledLanes::SetEnabled(true); }
    KeepingScope(const KeepingScope&) = delete;
    KeepingScope& operator=(const KeepingScope&) = delete;
};

/// The step alone: the scope's pictures before and after and the push; the edit between
/// and the undo after are not timed.
void BM_TakeStep(benchmark::State& state, Kind kind, Keeping keeping) {
    const KeepingScope keep(keeping);
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

/// How many of `history`'s steps can be undone (all of them are).
int UndoAll(UndoHistory& history) {
    int undoable = 0;
    while (history.Undo() != 0) {
        ++undoable;
    }
    return undoable;
}

void BM_UndoStep(benchmark::State& state, Kind kind, Keeping keeping) {
    const KeepingScope keep(keeping);
    Character c;
    UndoHistory history;
    Edit(c, history, kind, 0);
    state.counters["bytes_per_step"] = double(history.Bytes());
    Figures()[std::string("bytes_per_step/") + Name(kind) + Suffix(keeping)] =
        double(history.Bytes());
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
    state.counters["bytes_100_steps"] = double(hundred.Bytes());
    state.counters["steps_undoable"] = UndoAll(hundred);
    state.counters["byte_limit"] = double(UndoHistory::kDefaultByteLimit);
}

/// 100 steps, the three kinds in turn, in a history of the default limits: the bytes they
/// hold and how many can be undone. Timed: the 100 edits with their steps.
void BM_MixedSteps(benchmark::State& state, Keeping keeping) {
    const KeepingScope keep(keeping);
    Character c;
    double bytes = 0;
    int undoable = 0;
    int round = 0;
    for (auto _ : state) {
        UndoHistory history;
        for (int i = 0; i < 100; ++i) {
            const Kind kind = i % 3 == 0   ? Kind::TurnPart
                              : i % 3 == 1 ? Kind::PasteKeyTime
                                           : Kind::ScaleModel;
            Edit(c, history, kind, round++);
        }
        state.PauseTiming();
        bytes = double(history.Bytes());
        undoable = UndoAll(history);
        state.ResumeTiming();
    }
    state.counters["bytes_100_steps"] = bytes;
    state.counters["steps_undoable"] = undoable;
    state.counters["byte_limit"] = double(UndoHistory::kDefaultByteLimit);
    Figures()[std::string("mixed_bytes") + Suffix(keeping)] = bytes;
    Figures()[std::string("mixed_undoable") + Suffix(keeping)] = undoable;
}

/// The figures of the run side by side: a model-scale step kept plainly and as kept, and
/// the 100 mixed steps against the byte limit.
void PrintSummary() {
    const auto& f = Figures();
    const auto figure = [&f](const std::string& name) {
        const auto found = f.find(name);
        return found != f.end() ? found->second : -1.0;
    };
    std::printf("\nUndo memory:\n");
    const double plain = figure("bytes_per_step/scale_model_plain");
    const double kept = figure("bytes_per_step/scale_model");
    if (plain > 0 && kept > 0) {
        std::printf("  model-scale step (100,000 vertices): %.1f KB kept, %.1f KB plainly "
                    "(%.1fx smaller)\n",
                    kept / 1e3, plain / 1e3, plain / kept);
    }
    for (const char* suffix : {"", "_plain"}) {
        const double bytes = figure(std::string("mixed_bytes") + suffix);
        if (bytes < 0) {
            continue;
        }
        const double limit = double(UndoHistory::kDefaultByteLimit);
        const int undoable = int(figure(std::string("mixed_undoable") + suffix));
        std::printf("  100 mixed steps (turn, paste, model scale)%s: %.2f MiB of the %.0f MiB "
                    "limit, %d of 100 undoable  %s\n",
                    *suffix ? " plainly" : "", bytes / (1 << 20), limit / (1 << 20), undoable,
                    undoable == 100 && bytes <= limit ? "all fit" : "do NOT all fit");
    }
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
        for (Keeping keeping : {Keeping::Related, Keeping::Plain}) {
            if (keeping == Keeping::Plain && kind != Kind::ScaleModel) {
                continue;
            }
            const std::string name = std::string(Name(kind)) + Suffix(keeping);
            benchmark::RegisterBenchmark(("BM_TakeStep/" + name).c_str(), BM_TakeStep, kind,
                                         keeping)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("BM_UndoStep/" + name).c_str(), BM_UndoStep, kind,
                                         keeping)
                ->Unit(benchmark::kMillisecond);
        }
        benchmark::RegisterBenchmark(("BM_CopyPeer/" + std::string(Name(kind))).c_str(),
                                     BM_CopyPeer, kind)
            ->Unit(benchmark::kMillisecond);
    }
    for (Keeping keeping : {Keeping::Related, Keeping::Plain}) {
        benchmark::RegisterBenchmark(("BM_MixedSteps" + std::string(Suffix(keeping))).c_str(),
                                     BM_MixedSteps, keeping)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
}

} // namespace

int main(int argc, char** argv) {
    Register();
    return RunBenchmarks(argc, argv, BenchRun(0, PrintSummary));
}
