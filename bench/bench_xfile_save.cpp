// Writes the scene of BCN_Epileptic.X (a 57-part character with three meshes and a
// 57-animation set) with CXSave and with Assimp's .x exporter in one run, each to its own
// file in /tmp.
//
// Both sides start from the scene already in memory: CXSave from the model and animation
// set the document opened (file names put back, as the document's save does), Assimp from
// the aiScene its importer made (no post-processing). Bytes per second are the source
// file's size per save, the same for both, so the rate ratio is the time ratio; the
// counter out_bytes_per_second is each writer's own output. CXSave's figure includes what
// its safe replacement costs (a temporary file, fsync, rename); Assimp's exporter writes
// the target directly and does not sync. CXSave/document adds the document's renaming
// around the write. Rates are per wall-clock second (a save is done when the file is in
// place); the CPU column shows the writers' own work.

#include <cstdint>
#include <filesystem>
#include <string>

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include "BenchDocument.h"
#include "xfile/CXSave.h"
#include "xfile/DocumentSave.h"

namespace {

const std::string kSource = std::string(PAVRIX_TESTDATA_DIR) + "/x/BCN_Epileptic.X";

/// The document's scene with the character file open, for the life of one benchmark.
class OpenCharacter : public BenchDocument {
public:
    OpenCharacter() { ok = Open(kSource.c_str()); }

    bool ok = false;
};

void SetRates(benchmark::State& state, const std::string& output) {
    const auto source = std::int64_t(std::filesystem::file_size(kSource));
    const auto written = double(std::filesystem::file_size(output));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * source);
    state.counters["out_bytes_per_second"] =
        benchmark::Counter(written * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["out_bytes"] = written;
}

void CXSaveWrite(benchmark::State& state) {
    OpenCharacter character;
    if (!character.ok) {
        state.SkipWithError("cannot open the character file");
        return;
    }
    CModelData* model = character.document.currentModel;
    CAnimationData* animation = character.document.currentAnimation;
    const std::string output = "/tmp/bench_xfile_save_cxsave.x";
    model->RestoreFileNames(model->Root());
    animation->RestoreAnimationNames();
    for (auto _ : state) {
        CXSave writer(g_d3drm);
        if (!writer.Save(output.c_str(), CXSave::kDocumentFlags, animation->Set(), model->Root(),
                         CXSave::TopFrames::ChildrenOfRoot)) {
            state.SkipWithError(writer.LastError().c_str());
            return;
        }
    }
    model->NamePartsAndRecord(model->Root());
    animation->NameAnimations();
    SetRates(state, output);
}

void DocumentSave(benchmark::State& state) {
    OpenCharacter character;
    if (!character.ok) {
        state.SkipWithError("cannot open the character file");
        return;
    }
    const std::string output = "/tmp/bench_xfile_save_document.x";
    for (auto _ : state) {
        std::string error;
        if (!xfile::SaveCharacter(output.c_str(), character.document.currentModel,
                                  character.document.currentAnimation, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    SetRates(state, output);
}

void AssimpExport(benchmark::State& state) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(kSource, 0);
    if (!scene) {
        state.SkipWithError(importer.GetErrorString());
        return;
    }
    const std::string output = "/tmp/bench_xfile_save_assimp.x";
    Assimp::Exporter exporter;
    for (auto _ : state) {
        if (exporter.Export(scene, "x", output) != aiReturn_SUCCESS) {
            state.SkipWithError(exporter.GetErrorString());
            return;
        }
    }
    SetRates(state, output);
}

} // namespace

BENCHMARK(CXSaveWrite)
    ->Name("CXSave/BCN_Epileptic.X")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(DocumentSave)
    ->Name("CXSave/document/BCN_Epileptic.X")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(AssimpExport)
    ->Name("Assimp/BCN_Epileptic.X")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
