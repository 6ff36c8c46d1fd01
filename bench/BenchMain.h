#pragma once

// The body of every benchmark program's main once its benchmarks are registered.

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "LimitReporter.h"

/// How a benchmark program runs its benchmarks.
struct BenchRun {
    BenchRun() = default;
    // Implicit, so that RunBenchmarks(argc, argv, &reporter) reads as it always did.
    BenchRun(benchmark::BenchmarkReporter* reporter) : reporter(reporter) {}
    BenchRun(int defaultRepetitions, std::function<void()> summary)
        : defaultRepetitions(defaultRepetitions), summary(std::move(summary)) {}

    /// Null: the console table followed by each benchmark's time against its "limit_ms"
    /// (LimitReporter).
    benchmark::BenchmarkReporter* reporter = nullptr;
    /// Above 0: every benchmark runs that many times unless the command line says otherwise
    /// (--benchmark_repetitions=N).
    int defaultRepetitions = 0;
    /// Printed after the report (a summary of the whole run), when the benchmarks ran.
    std::function<void()> summary;
};

/// Runs the registered benchmarks as `how` says. 1 when the command line holds an argument
/// the library does not know, else 0.
inline int RunBenchmarks(int argc, char** argv, const BenchRun& how = {}) {
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=" + std::to_string(how.defaultRepetitions);
    if (how.defaultRepetitions > 0 && std::none_of(args.begin(), args.end(), [](const char* a) {
            return std::string_view(a).starts_with("--benchmark_repetitions");
        })) {
        args.push_back(repetitions.data());
    }
    argc = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&argc, args.data());
    if (benchmark::ReportUnrecognizedArguments(argc, args.data())) {
        return 1;
    }
    LimitReporter limits;
    benchmark::RunSpecifiedBenchmarks(how.reporter ? how.reporter : &limits);
    benchmark::Shutdown();
    if (how.summary) {
        how.summary();
    }
    return 0;
}

/// The median of `values`; 0 for none.
inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
