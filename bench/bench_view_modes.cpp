// The view's drawing modes on the 100,000-triangle sphere at 640 x 480 (a whole frame as
// the view draws it: clear, grid, scene, device update, picture read back), each against
// its peer in the same run:
//
//   - the four-pane view (top, front, left orthographic, the user's camera) against one
//     view: limit 4.5 times;
//   - the onion skin with two ghosts each side (the model posed and drawn translucent four
//     times over the scene) against the plain character: limit 5 times;
//   - Phong shading (lighting per pixel) against Gouraud (per vertex): limit 1.3 times.
//
// At the end the program prints each ratio beside its limit.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include "BenchMain.h"
#include "BenchView.h"
#include "platform/rm/Device.h"
#include "platform/rm/Math.h"
#include "view/OnionSkin.h"
#include "view/ViewPanes.h"

namespace {

enum class Mode { OneView, FourPanes, Plain, OnionSkin, Gouraud, Phong };

void Run(benchmark::State& state, Mode mode) {
    bench::BenchView view;
    if (!view.Ok()) {
        state.SkipWithError("no OpenGL 3.3 context on the software rasteriser");
        return;
    }
    rm::Frame* part =
        view.AddPart(bench::ToMesh(bench::MakeSphere(view.D3DRM(), 5, 250, 200)).Get(), {0, 0, 0});
    render::Direct3R& device = *view.Device();
    rm::Device* d3drmDevice = device.D3DRMDevice();
    d3drmDevice->SetQuality(mode == Mode::Phong ? rm::D3DRMRENDER_PHONG : rm::D3DRMRENDER_GOURAUD);
    render::SceneFrames grid;
    render::SceneSetup::BuildGrid(view.D3DRM(), render::kInactiveBorderColor, &grid.gridFrame);

    ViewPanes panes;
    panes.SetSplit(mode == Mode::FourPanes);
    const std::vector<float> earlier = {-1, -2};
    const std::vector<float> later = {1, 2};
    const auto pose = [part](float t) {
        part->AddTransform(
            rm::D3DRMCOMBINE_REPLACE,
            rm::MatrixFromQuaternion(rm::QuaternionFromRotation({0, 0, 1}, 0.2f * t)));
    };
    const render::ScenePass ghosts = [&](std::span<rm::Viewport* const> viewports) {
        OnionSkin::DrawGhosts(viewports, *d3drmDevice, part, earlier, later, pose);
        pose(0);
    };
    auto frame = [&] {
        const auto list = panes.Update(device, view.SceneRoot(), view.Camera()->GetParent());
        render::SceneSetup::RenderFrame(device, grid.gridFrame.Get(), view.SceneRoot(), nullptr,
                                        nullptr, {}, nullptr, list,
                                        mode == Mode::OnionSkin ? ghosts : render::ScenePass{});
        glFinish();
    };
    // The first frame builds the buffers and programs; frames are timed from the second on.
    frame();
    for (auto _ : state) {
        frame();
    }
    panes.Release();
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
            } else if (!run.error_occurred && run.aggregate_name == "median") {
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const struct {
            const char* mode;
            const char* peer;
            double limit;
        } pairs[] = {{"Draw/FourPanes", "Draw/OneView", 4.5},
                     {"Draw/OnionSkinTwoEachSide", "Draw/Plain", 5.0},
                     {"Draw/Phong", "Draw/Gouraud", 1.3}};
        std::printf("\nRatio to the peer (limit):\n");
        for (const auto& p : pairs) {
            const auto m = m_times.find(p.mode);
            const auto q = m_times.find(p.peer);
            if (m == m_times.end() || q == m_times.end()) {
                continue;
            }
            const double ratio = m->second / q->second;
            std::printf("  %-28s %7.2f ms   %-14s %7.2f ms = %.2f  (limit %.1f: %s)\n", p.mode,
                        m->second, p.peer, q->second, ratio, p.limit,
                        ratio <= p.limit ? "within" : "OVER");
        }
    }

private:
    std::map<std::string, double> m_times;
};

} // namespace

int main(int argc, char** argv) {
    const std::pair<const char*, Mode> cases[] = {
        {"Draw/OneView", Mode::OneView}, {"Draw/FourPanes", Mode::FourPanes},
        {"Draw/Plain", Mode::Plain},     {"Draw/OnionSkinTwoEachSide", Mode::OnionSkin},
        {"Draw/Gouraud", Mode::Gouraud}, {"Draw/Phong", Mode::Phong}};
    for (const auto& [name, mode] : cases) {
        benchmark::RegisterBenchmark(name, Run, mode)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(1.0);
    }
    RatioReporter reporter;
    return RunBenchmarks(argc, argv, &reporter);
}
