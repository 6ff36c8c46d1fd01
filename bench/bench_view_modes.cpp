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
// Each pair is drawn frame by frame in turn, so both see the same load; at the end the
// program prints each ratio of median frame times beside its limit.

#include <algorithm>
#include <chrono>
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

// One scene drawn in one of the modes, frame by frame.
class Scene {
public:
    Scene() {
        if (!m_view.Ok()) {
            return;
        }
        m_part = m_view.AddPart(bench::ToMesh(bench::MakeSphere(m_view.D3DRM(), 5, 250, 200)).Get(),
                                {0, 0, 0});
        render::SceneSetup::BuildGrid(m_view.D3DRM(), render::kInactiveBorderColor, &m_grid);
    }
    ~Scene() { m_panes.Release(); }
    bool Ok() const { return m_view.Ok(); }

    /// Draws one whole frame in `mode` and waits for it.
    void Frame(Mode mode) {
        render::Direct3R& device = *m_view.Device();
        rm::Device* d3drmDevice = device.D3DRMDevice();
        d3drmDevice->SetQuality(mode == Mode::Phong ? rm::D3DRMRENDER_PHONG
                                                    : rm::D3DRMRENDER_GOURAUD);
        m_panes.SetLayout(mode == Mode::FourPanes ? PaneLayout::FourPanes : PaneLayout::Single);
        rm::Frame* part = m_part;
        const auto pose = [part](float t) {
            part->AddTransform(
                rm::D3DRMCOMBINE_REPLACE,
                rm::MatrixFromQuaternion(rm::QuaternionFromRotation({0, 0, 1}, 0.2f * t)));
        };
        const render::ScenePass ghosts = [&](std::span<rm::Viewport* const> viewports) {
            OnionSkin::DrawGhosts(viewports, *d3drmDevice, part, kEarlier, kLater, pose);
            pose(0);
        };
        const auto list = m_panes.Update(device, m_view.SceneRoot(), m_view.Camera()->GetParent());
        render::SceneSetup::RenderFrame(device, m_grid.Get(), m_view.SceneRoot(), nullptr, nullptr,
                                        {}, nullptr, list,
                                        mode == Mode::OnionSkin ? ghosts : render::ScenePass{});
        glFinish();
    }

private:
    static constexpr float kEarlier[2] = {-1, -2};
    static constexpr float kLater[2] = {1, 2};
    bench::BenchView m_view;
    rm::Frame* m_part = nullptr;
    rm::Ref<rm::Frame> m_grid;
    ViewPanes m_panes;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Each iteration draws a frame of the peer and one of the mode, one after the other, so a
// change of the machine's load falls on both alike; the ratio of their median frame times
// is the result (the counters "mode_ms", "peer_ms", "ratio").
void RunPair(benchmark::State& state, Mode mode, Mode peer) {
    Scene scene;
    if (!scene.Ok()) {
        state.SkipWithError("no OpenGL 3.3 context on the software rasteriser");
        return;
    }
    // The first frames build the buffers and programs; frames are timed from the next on.
    scene.Frame(peer);
    scene.Frame(mode);
    std::vector<double> modeTimes, peerTimes;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        scene.Frame(peer);
        const auto t1 = Clock::now();
        scene.Frame(mode);
        const auto t2 = Clock::now();
        peerTimes.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        modeTimes.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    const double modeMs = Median(modeTimes), peerMs = Median(peerTimes);
    state.counters["mode_ms"] = modeMs;
    state.counters["peer_ms"] = peerMs;
    state.counters["ratio"] = peerMs > 0 ? modeMs / peerMs : 0;
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                m_runs.push_back(run);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nMedian frame against its peer, frames interleaved (limit):\n");
        for (const Run& run : m_runs) {
            const std::string name = run.run_name.function_name;
            const double limit = name.find("FourPanes") != std::string::npos   ? 4.5
                                 : name.find("OnionSkin") != std::string::npos ? 5.0
                                                                               : 1.3;
            const double ratio = run.counters.at("ratio");
            std::printf("  %-34s %7.2f ms / %7.2f ms = %.2f  (limit %.1f: %s)\n", name.c_str(),
                        double(run.counters.at("mode_ms")), double(run.counters.at("peer_ms")),
                        ratio, limit, ratio <= limit ? "within" : "OVER");
        }
    }

private:
    std::vector<Run> m_runs;
};

} // namespace

int main(int argc, char** argv) {
    const struct {
        const char* name;
        Mode mode;
        Mode peer;
    } cases[] = {{"FourPanesAgainstOneView", Mode::FourPanes, Mode::OneView},
                 {"OnionSkinTwoEachSideAgainstPlain", Mode::OnionSkin, Mode::Plain},
                 {"PhongAgainstGouraud", Mode::Phong, Mode::Gouraud}};
    for (const auto& c : cases) {
        benchmark::RegisterBenchmark(c.name, RunPair, c.mode, c.peer)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(40);
    }
    RatioReporter reporter;
    return RunBenchmarks(argc, argv, &reporter);
}
