// Opening a large file as a user meets it: whole processes, start to exit, side by side in
// one run. `pavrix --info FILE` (read, parse, build the scene, describe it) against a bare
// program that reads the same file with Assimp's importer (assimp_read_file, built here and
// linked only here). The file is made at the start of the run in a temporary directory
// (LargeXFile.h: 40 parts of 5,000 vertices with normals and texture coordinates, one
// animation set, about 42 MB) and removed at the end; its pages are in the page cache for
// every run of both programs, as after a first open.
//
// Each iteration is one process: the wall-clock time from spawn to exit is the iteration's
// time; the counters are its CPU time (user + system, from wait4) and peak resident memory
// (ru_maxrss). The summary after the table gives the median of each side and the ratio.
//
//   bench_open_process [--benchmark_repetitions=N]       (default 9 runs of each)
//   bench_open_process --generate=FILE                   (only write the file)

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
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
#include "LargeXFile.h"
#include "ProcessRun.h"

namespace {

using bench::ProcessRun;
using bench::RunProcess;

std::map<std::string, std::vector<ProcessRun>>& Runs() {
    static std::map<std::string, std::vector<ProcessRun>> runs;
    return runs;
}

void TimeProcess(benchmark::State& state, const std::string& name,
                 const std::vector<std::string>& argv) {
    for (auto _ : state) {
        const ProcessRun run = RunProcess(argv);
        if (run.status != 0) {
            state.SkipWithError((name + " failed").c_str());
            return;
        }
        state.SetIterationTime(run.wallSeconds);
        state.counters["cpu_s"] = run.cpuSeconds;
        state.counters["peak_MB"] = run.peakMegabytes;
        Runs()[name].push_back(run);
    }
}

void PrintSummary() {
    struct Side {
        double wall, cpu, peak;
    };
    std::map<std::string, Side> sides;
    for (const auto& [name, runs] : Runs()) {
        std::vector<double> wall, cpu;
        double peak = 0;
        for (const ProcessRun& r : runs) {
            wall.push_back(r.wallSeconds);
            cpu.push_back(r.cpuSeconds);
            peak = std::max(peak, r.peakMegabytes);
        }
        sides[name] = {Median(wall), Median(cpu), peak};
        std::printf("%-18s %2zu runs: median wall %.3f s, median cpu %.3f s, peak %.1f MB\n",
                    name.c_str(), runs.size(), sides[name].wall, sides[name].cpu, peak);
    }
    if (sides.count("pavrix --info") && sides.count("assimp ReadFile")) {
        const Side& p = sides["pavrix --info"];
        const Side& a = sides["assimp ReadFile"];
        std::printf("pavrix --info is %.1fx faster (wall), %.1fx (cpu), peak memory %.2fx of "
                    "Assimp's\n",
                    a.wall / p.wall, a.cpu / p.cpu, p.peak / a.peak);
    }
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        constexpr std::string_view kGenerate = "--generate=";
        if (std::string_view(argv[i]).substr(0, kGenerate.size()) == kGenerate) {
            std::ofstream(argv[i] + kGenerate.size(), std::ios::binary) << bench::MakeLargeXFile();
            return 0;
        }
    }
    char pattern[] = "/tmp/pavrix-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path dir = pattern;
    const std::string file = (dir / "large.x").string();
    {
        const std::string text = bench::MakeLargeXFile();
        std::ofstream(file, std::ios::binary) << text;
        std::printf("%s: %.1f MB\n", file.c_str(), double(text.size()) / 1e6);
    }
    // One untimed run each, so that both programs and the file are in the page cache.
    RunProcess({PAVRIX_EXECUTABLE, "--info", file});
    RunProcess({ASSIMP_READ_FILE_EXECUTABLE, file});

    const std::vector<std::pair<std::string, std::vector<std::string>>> sides = {
        {"pavrix --info", {PAVRIX_EXECUTABLE, "--info", file}},
        {"assimp ReadFile", {ASSIMP_READ_FILE_EXECUTABLE, file}},
    };
    for (const auto& [name, command] : sides) {
        bench::RegisterProcessBenchmark(name, TimeProcess, name, command);
    }
    // Nine runs of each unless the command line says otherwise.
    const int status = RunBenchmarks(argc, argv, BenchRun(9, PrintSummary));
    std::filesystem::remove_all(dir);
    return status;
}
