// glTF export against its limits, in one run.
//
// In process: exporting BCN_Epileptic.X (a skinned body of three meshes and 56 frames with
// one animation set) from the opened document to a .glb file and to a .gltf file, against a
// limit of 50 ms each ("limit_ms"; the summary gives the median and its share of the limit).
//
// Whole processes: `pavrix --export IN_DIR OUT_DIR` on eight copies of every test file that
// opens, with -j 1 and with -j 2, start to exit. The iteration time is the wall-clock time;
// the counter "cpu_s" is the CPU time of the program and its children (wait4), which shows
// how much of a slower run was the machine being busy. The summary gives the speed-up of
// -j 2 over -j 1 (wall and CPU), which should be at least 1.7 on two free processors.
//
//   bench_gltf_export [--benchmark_repetitions=N]   (default 5 runs of each)

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BenchMain.h"
#include "ProcessRun.h"
#include "cli/CommandOpen.h"
#include "cli/HeadlessScene.h"
#include "gltf/DocumentExport.h"

namespace {

namespace fs = std::filesystem;

constexpr double kLimitMs = 50;

fs::path& WorkDir() {
    static fs::path dir;
    return dir;
}

std::map<std::string, std::vector<double>>& Wall() {
    static std::map<std::string, std::vector<double>> runs;
    return runs;
}

std::map<std::string, std::vector<double>>& Cpu() {
    static std::map<std::string, std::vector<double>> runs;
    return runs;
}

void ExportInProcess(benchmark::State& state, const char* extension) {
    const std::string source = std::string(PAVRIX_TESTDATA_DIR) + "/x/BCN_Epileptic.X";
    std::ostringstream messages;
    cli::HeadlessScene scene(messages);
    if (!cli::OpenCommandDocument(scene.document, source, nullptr, cli::AnimationArgument::File,
                                  messages)) {
        state.SkipWithError("BCN_Epileptic.X cannot be opened (is the test data there?)");
        return;
    }
    const std::string out = (WorkDir() / (std::string("bcn") + extension)).string();
    const std::string name = std::string("export ") + extension;
    std::string error;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!gltf::ExportDocument(out.c_str(), scene.document, {}, &error, nullptr)) {
            state.SkipWithError(error.c_str());
            return;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        Wall()[name].push_back(seconds);
    }
    state.counters["limit_ms"] = kLimitMs;
}

using bench::ProcessRun;
using bench::RunProcess;

/// CPU time of every process this program waited for, and of the processes they waited for
/// (the export's own children).
double ChildrenCpu() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void ExportFolder(benchmark::State& state, int jobs) {
    const std::string name = "folder -j " + std::to_string(jobs);
    const fs::path out = WorkDir() / ("out" + std::to_string(jobs));
    for (auto _ : state) {
        fs::remove_all(out);
        const double cpuBefore = ChildrenCpu();
        const ProcessRun run =
            RunProcess({PAVRIX_EXECUTABLE, "--export", (WorkDir() / "in").string(), out.string(),
                        "-j", std::to_string(jobs)});
        if (run.status != 0) {
            state.SkipWithError((name + " failed").c_str());
            return;
        }
        const double cpu = ChildrenCpu() - cpuBefore;
        state.SetIterationTime(run.wallSeconds);
        state.counters["cpu_s"] = cpu;
        Wall()[name].push_back(run.wallSeconds);
        Cpu()[name].push_back(cpu);
    }
}

void PrintSummary() {
    for (const char* name : {"export .glb", "export .gltf"}) {
        const double ms = Median(Wall()[name]) * 1e3;
        std::printf("%-14s median %.2f ms, %.0f%% of the %.0f ms limit\n", name, ms,
                    100 * ms / kLimitMs, kLimitMs);
    }
    const double wall1 = Median(Wall()["folder -j 1"]), wall2 = Median(Wall()["folder -j 2"]);
    const double cpu1 = Median(Cpu()["folder -j 1"]), cpu2 = Median(Cpu()["folder -j 2"]);
    std::printf("folder -j 1: median wall %.3f s, cpu %.3f s\n", wall1, cpu1);
    std::printf("folder -j 2: median wall %.3f s, cpu %.3f s\n", wall2, cpu2);
    if (wall2 > 0) {
        std::printf("-j 2 is %.2fx faster than -j 1 (wall; the goal is 1.7x), "
                    "using %.2fx the CPU time\n",
                    wall1 / wall2, cpu2 / cpu1);
    }
}

/// Eight copies of every test file that opens, in folders of their own.
int MakeFolder() {
    const fs::path data = fs::path(PAVRIX_TESTDATA_DIR) / "x";
    int files = 0;
    for (int copy = 0; copy < 8; ++copy) {
        const fs::path folder = WorkDir() / "in" / ("copy" + std::to_string(copy));
        fs::create_directories(folder);
        for (const auto& entry : fs::directory_iterator(data)) {
            const std::string name = entry.path().filename().string();
            // Textures travel with the files that name them; empty.x does not open.
            if (name != "empty.x") {
                fs::copy_file(entry.path(), folder / name);
                files += entry.path().extension() == ".x" || entry.path().extension() == ".X";
            }
        }
    }
    return files;
}

} // namespace

int main(int argc, char** argv) {
    char pattern[] = "/tmp/pavrix-bench-gltf-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    WorkDir() = pattern;
    if (!fs::is_directory(fs::path(PAVRIX_TESTDATA_DIR) / "x")) {
        std::fprintf(stderr, "bench_gltf_export: no test data in %s\n", PAVRIX_TESTDATA_DIR);
        return 1;
    }
    std::printf("folder of %d .x files\n", MakeFolder());
    // One untimed run, so that the program and the files are in the page cache.
    RunProcess({PAVRIX_EXECUTABLE, "--export", (WorkDir() / "in").string(),
                (WorkDir() / "warm").string(), "-j", "2"});

    benchmark::RegisterBenchmark("export BCN_Epileptic.X .glb", ExportInProcess, ".glb")
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("export BCN_Epileptic.X .gltf", ExportInProcess, ".gltf")
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    for (const int jobs : {1, 2}) {
        bench::RegisterProcessBenchmark("pavrix --export folder -j " + std::to_string(jobs),
                                        ExportFolder, jobs);
    }
    const int status = RunBenchmarks(argc, argv, BenchRun(5, PrintSummary));
    fs::remove_all(WorkDir());
    return status;
}
