#pragma once

// The body of every benchmark program's main once its benchmarks are registered.

#include <benchmark/benchmark.h>

/// Runs the registered benchmarks, reporting through `reporter` (null: the library's own
/// console report).
inline int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter* reporter = nullptr) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (reporter) {
        benchmark::RunSpecifiedBenchmarks(reporter);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
