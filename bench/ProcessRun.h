#pragma once

// One whole process, spawned and waited for, for the benchmarks that time what a user meets:
// start to exit, with its CPU time and peak memory from wait4.

#include <cerrno>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

struct ProcessRun {
    double wallSeconds = 0;
    /// User + system time of the process.
    double cpuSeconds = 0;
    double peakMegabytes = 0;
    /// The exit status; -1 when the process could not be started or did not exit.
    int status = -1;
};

/// Runs argv (argv[0] a path) to completion with its output thrown away.
inline ProcessRun RunProcess(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ProcessRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const auto end = std::chrono::steady_clock::now();
    run.wallSeconds = std::chrono::duration<double>(end - start).count();
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.peakMegabytes = double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

/// Registers a benchmark of whole processes: one process an iteration, its wall-clock time
/// from spawn to exit the iteration's time (the function calls SetIterationTime).
template <typename... Args>
benchmark::internal::Benchmark* RegisterProcessBenchmark(const std::string& name, Args&&... args) {
    return benchmark::RegisterBenchmark(name.c_str(), std::forward<Args>(args)...)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
}

} // namespace bench
