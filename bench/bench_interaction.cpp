// The view's interaction against its limits, measured in the same run:
// - Viewport::Pick on a scene of 20 parts with 100,000 triangles (5,000 each), at a point
//   on a part and at a point between parts; limit 2 ms per pick.
// - One rotate-drag step in the animation mode (the mouse-move handler, from the event
//   to the rotation key written, without drawing) on a character of 200 parts whose
//   animation set holds 1,024 key times; limit 0.2 ms per step.
// At the end the program prints each measured time against its limit.

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchView.h"
#include "CurrentFactory.h"
#include "platform/rm/Animation.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CAnimationData.h"
#include "scene/CPartRecord.h"
#include "session/EditContext.h"
#include "view/ViewInteraction.h"

namespace {

// ---------------------------------------------------------------------------------------
// Picking.

class PickScene {
public:
    PickScene() {
        if (!m_view.Ok()) {
            return;
        }
        // 5 x 4 spheres of 100 x 25 quads: 5,000 triangles each, 100,000 in all.
        for (int i = 0; i < 20; ++i) {
            m_view.AddPart(bench::ToMesh(bench::MakeSphere(m_view.D3DRM(), 1.2f, 100, 25)).Get(),
                           {-5.6f + 2.8f * float(i % 5), -4.2f + 2.8f * float(i / 5), 0});
        }
    }

    bool Ok() const { return m_view.Ok(); }
    rm::Viewport* Viewport() const { return m_view.Viewport(); }
    /// Where the centre of part `i` shows, in device pixels.
    void ScreenPoint(int i, int* x, int* y) const {
        rm::Vector centre;
        m_view.Parts()[std::size_t(i)]->GetPosition(nullptr, &centre);
        rm::Vector4 screen;
        Viewport()->Transform(&screen, centre);
        *x = int(screen.x / screen.w);
        *y = int(screen.y / screen.w);
    }

private:
    bench::BenchView m_view;
};

void Pick(benchmark::State& state, bool onAPart) {
    PickScene scene;
    if (!scene.Ok()) {
        state.SkipWithError("no software rasteriser");
        return;
    }
    int x = 0, y = 0;
    scene.ScreenPoint(7, &x, &y);
    if (!onAPart) {
        // Halfway to the next sphere up and to the right: between four spheres.
        int x2 = 0, y2 = 0;
        scene.ScreenPoint(13, &x2, &y2);
        x = (x + x2) / 2;
        y = (y + y2) / 2;
    }
    std::vector<rm::PickRecord> picks;
    for (auto _ : state) {
        picks.clear();
        scene.Viewport()->Pick(x, y, &picks);
        benchmark::DoNotOptimize(picks.data());
    }
    state.counters["picked"] = double(picks.size());
    state.counters["limit_ms"] = 2;
}

// ---------------------------------------------------------------------------------------
// A rotate-drag step.

/// The window's services, doing nothing: the step is measured without drawing.
class QuietHost : public ViewInteraction::Host {
public:
    rm::Frame* GetCamera() const override { return nullptr; }
    rm::Frame* GetCameraPivot() const override { return nullptr; }
    rm::Viewport* GetViewport() const override { return nullptr; }
    void ShowMessage(const QString&) override {}
    int SelectCameraView(int) override { return 1; }
    void ApplyCameraView() override {}
    void PreviousKey() override {}
    void NextKey() override {}
    int AddKeyFrame(int) override { return 0; }
    int RefreshKeyRange(int) override { return 1; }
    void RefreshTimeDisplay() override {}
    int MarkDocumentModified() override { return 1; }
    session::EditContext& Context() override { return context; }

    session::EditContext context;
};

/// 200 parts in 10 chains of 20 under one root, each driven by an animation with a
/// rotation and a position key at each of the 1,024 times 0 … 1023.
class Character : public CurrentFactory {
public:
    Character() {
        m_data.CreateEmptySet();
        d3drm->CreateFrame(nullptr, &m_root);
        for (int chain = 0; chain < 10; ++chain) {
            rm::Frame* parent = m_root.Get();
            for (int link = 0; link < 20; ++link) {
                rm::Ref<rm::Frame> part;
                d3drm->CreateFrame(parent, &part);
                part->SetPosition(parent, 0, 1, 0);
                rm::Ref<rm::Animation> animation;
                d3drm->CreateAnimation(&animation);
                animation->SetFrame(part.Get());
                for (int t = 0; t < 1024; ++t) {
                    animation->AddRotateKey(float(t),
                                            rm::QuaternionFromRotation({0, 0, 1}, 0.001f * t));
                    animation->AddPositionKey(float(t), 0, 1, 0);
                }
                m_data.m_set->AddAnimation(animation.Get());
                auto record = std::make_unique<CPartRecord>();
                record->animation = animation.Get();
                record->frame = part;
                part->SetAppData(reinterpret_cast<std::uintptr_t>(record.get()));
                m_records.push_back(std::move(record));
                parent = part.Get();
            }
        }
        m_data.UpdateTotalKeyTimeBuffer();
    }
    ~Character() { m_records.clear(); }

    CAnimationData& Data() { return m_data; }
    /// The 10th part of the 5th chain.
    rm::Frame* Part() const { return m_records[4 * 20 + 9]->frame.Get(); }

private:
    rm::Ref<rm::Frame> m_root;
    CAnimationData m_data;
    std::vector<std::unique_ptr<CPartRecord>> m_records;
};

void RotateDragStep(benchmark::State& state) {
    Character character;
    QuietHost host;
    host.context.currentAnimation = &character.Data();
    host.context.currentTime = 512;
    host.context.keyTime = 512;
    host.context.SetSelectedPart(character.Part());
    ViewInteraction interaction(host);
    ViewInteraction::Mouse mouse;
    mouse.left = true;
    mouse.point = QPoint(100, 100);
    interaction.MouseMove(mouse); // the drag starts
    int step = 0;
    for (auto _ : state) {
        // Back and forth, so the part turns both ways and the key keeps being replaced.
        mouse.point += (++step & 1) ? QPoint(3, 2) : QPoint(-3, -2);
        interaction.MouseMove(mouse);
    }
    state.counters["keys"] = double(character.Data().Set()->Animations().size()) * 2048;
    state.counters["times"] = character.Data().KeyTimeCount();
    state.counters["limit_ms"] = 0.2;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("Pick/OnAPart", Pick, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Pick/BetweenParts", Pick, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RotateDragStep", RotateDragStep)->Unit(benchmark::kMicrosecond);
    return RunBenchmarks(argc, argv);
}
