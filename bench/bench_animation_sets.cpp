// Opening and saving a character with many animation sets: a generated file of 50 parts
// and 100 animation sets (each moving every part with rotation and position keys). The
// open is the document's (model, every set, each bound to the model by part names); the
// save is the document's (every set written back). Both must stay under 200 ms
// (counter limit_ms); Assimp's importer reads the same file in the same run as a peer.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include "BenchDocument.h"
#include "xfile/DocumentSave.h"

namespace {

constexpr int kParts = 50;
constexpr int kSets = 100;
constexpr double kLimitMs = 200;

const std::string& GeneratedFile() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "pavrix-bench-sets.x").string();
        std::ofstream x(file, std::ios::binary | std::ios::trunc);
        x << "xof 0303txt 0032\nFrame Root {\n FrameTransformMatrix {\n"
             "  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n";
        char name[32];
        for (int p = 0; p < kParts; ++p) {
            std::snprintf(name, sizeof name, "Part%02d", p);
            x << " Frame " << name << " {\n  FrameTransformMatrix {\n"
              << "   1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0," << p << ".0,0.0,0.0,1.0;;\n"
              << "  }\n  Mesh {\n   3;\n   0.0;0.0;0.0;,\n   1.0;0.0;0.0;,\n   0.0;1.0;0.0;;\n"
              << "   1;\n   3;0,1,2;;\n  }\n }\n";
        }
        x << "}\n";
        for (int s = 0; s < kSets; ++s) {
            x << "AnimationSet Set" << s << " {\n";
            for (int p = 0; p < kParts; ++p) {
                std::snprintf(name, sizeof name, "Part%02d", p);
                x << " Animation {\n  {" << name << "}\n  AnimationKey {\n   0;\n   3;\n"
                  << "   0;4;1.0,0.0,0.0,0.0;;,\n   10;4;0.9,0.0,0.43589,0.0;;,\n"
                  << "   20;4;1.0,0.0,0.0,0.0;;;\n  }\n  AnimationKey {\n   2;\n   2;\n"
                  << "   0;3;" << p << ".0,0.0,0.0;;,\n   20;3;" << p << ".0," << s
                  << ".0,0.0;;;\n  }\n }\n";
            }
            x << "}\n";
        }
        return file;
    }();
    return path;
}

/// The document's scene, opening the generated file.
class Scene : public BenchDocument {
public:
    bool Open() {
        return BenchDocument::Open(GeneratedFile().c_str()) && document.currentCharacter &&
               document.currentCharacter->Animations().size() == std::size_t(kSets);
    }
};

void Limit(benchmark::State& state) {
    state.counters["limit_ms"] = kLimitMs;
    state.counters["sets"] = kSets;
    state.counters["parts"] = kParts;
}

/// File Open: the model, the 100 sets, each bound to the model (a new scene each time, as
/// File Open clears the previous one).
void OpenHundredSets(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        if (!scene.Open()) {
            state.SkipWithError("the generated file did not open with all its sets");
            return;
        }
    }
    Limit(state);
}
BENCHMARK(OpenHundredSets)->Unit(benchmark::kMillisecond)->UseRealTime();

/// File Save: every set written back.
void SaveHundredSets(benchmark::State& state) {
    Scene scene;
    if (!scene.Open()) {
        state.SkipWithError("the generated file did not open with all its sets");
        return;
    }
    const std::string out =
        (std::filesystem::temp_directory_path() / "pavrix-bench-sets-saved.x").string();
    std::string error;
    for (auto _ : state) {
        if (!xfile::SaveDocument(out.c_str(), scene.document, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    Limit(state);
    state.counters["out_bytes"] = double(std::filesystem::file_size(out));
}
BENCHMARK(SaveHundredSets)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The peer: Assimp reading the same file (its scene, all 100 animations).
void AssimpReadsHundredSets(benchmark::State& state) {
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(GeneratedFile(), 0);
        if (!scene || scene->mNumAnimations != unsigned(kSets)) {
            state.SkipWithError("Assimp did not read the generated file");
            return;
        }
        benchmark::DoNotOptimize(scene);
    }
    Limit(state);
}
BENCHMARK(AssimpReadsHundredSets)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
