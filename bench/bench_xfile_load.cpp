// Loads the same .x files with this program's reader and with Assimp's importer in one run
// and reports the throughput of both (bytes/second is the file size per load). The reader
// is measured doing what opening a model does: Frame::Load (frames, meshes, and a parse of
// everything else in the file), and Frame::Load followed by AnimationSet::Load, as a file
// holding a model and its animation is opened, each load reading the file; and the same two
// loads inside an XFileOpenScope, as the open sequence makes them (one read, one parse).
// Assimp reads with no post-processing, one importer reused across iterations.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/XFileOpenScope.h"

namespace {

const char* const kFiles[] = {"BCN_Epileptic.X", "test_cube_text.x", "test_cube_binary.x",
                              "test_cube_compressed.x"};

std::string PathOf(const char* file) {
    return std::string(PAVRIX_TESTDATA_DIR) + "/x/" + file;
}

void SetThroughput(benchmark::State& state, const std::string& path) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) *
                            std::int64_t(std::filesystem::file_size(path)));
}

enum class Load { Frame, FrameAndAnimation, FrameAndAnimationInOneScope };

void PavrixLoad(benchmark::State& state, const std::string& path, Load load) {
    for (auto _ : state) {
        std::optional<rm::XFileOpenScope> scope;
        if (load == Load::FrameAndAnimationInOneScope) {
            scope.emplace();
        }
        auto root = rm::MakeRef<rm::Frame>();
        if (rm::Failed(root->Load(path.c_str()))) {
            state.SkipWithError("Frame::Load failed");
            return;
        }
        benchmark::DoNotOptimize(root.Get());
        if (load == Load::Frame) {
            continue;
        }
        auto parent = rm::MakeRef<rm::Frame>();
        auto set = rm::MakeRef<rm::AnimationSet>();
        set->Load(path.c_str(), parent.Get()); // files without animations report NOTFOUND
        benchmark::DoNotOptimize(set.Get());
    }
    SetThroughput(state, path);
}

void AssimpReadFile(benchmark::State& state, const std::string& path) {
    Assimp::Importer importer;
    for (auto _ : state) {
        const aiScene* scene = importer.ReadFile(path, 0);
        if (!scene) {
            state.SkipWithError(importer.GetErrorString());
            return;
        }
        benchmark::DoNotOptimize(scene);
    }
    SetThroughput(state, path);
}

} // namespace

int main(int argc, char** argv) {
    for (const char* file : kFiles) {
        const std::string path = PathOf(file);
        if (!std::filesystem::exists(path)) {
            continue;
        }
        const std::pair<const char*, Load> loads[] = {
            {"PavrixFrameLoad/", Load::Frame},
            {"PavrixFrameAndAnimationLoad/", Load::FrameAndAnimation},
            {"PavrixOpenScopeLoad/", Load::FrameAndAnimationInOneScope}};
        for (const auto& [name, load] : loads) {
            benchmark::RegisterBenchmark((name + std::string(file)).c_str(), PavrixLoad, path, load)
                ->Unit(benchmark::kMicrosecond);
        }
        benchmark::RegisterBenchmark(("AssimpReadFile/" + std::string(file)).c_str(),
                                     AssimpReadFile, path)
            ->Unit(benchmark::kMicrosecond);
    }
    return RunBenchmarks(argc, argv);
}
