#pragma once

// The console report of a benchmark program, followed by every benchmark that states its
// limit (the counter "limit_ms") with its measured wall time against that limit.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

/// Prints the usual table, then "Against the limits:" with one line per benchmark that set
/// the counter "limit_ms": its wall time per iteration in milliseconds, the limit, and
/// "within" or "OVER". A benchmark run again (repetitions) is reported by its last run.
class LimitReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto limit = run.counters.find("limit_ms");
            if (run.error_occurred || run.run_type != Run::RT_Iteration ||
                limit == run.counters.end()) {
                continue;
            }
            const double ms =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            Record(run.run_name.function_name, {ms, limit->second.value});
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        if (m_measured.empty()) {
            return;
        }
        std::printf("\nAgainst the limits:\n");
        for (const auto& [name, measured] : m_measured) {
            std::printf("  %-20s %8.4f ms   limit %5.2f ms   %s\n", name.c_str(), measured.ms,
                        measured.limitMs, measured.ms < measured.limitMs ? "within" : "OVER");
        }
    }

private:
    struct Measured {
        double ms;
        double limitMs;
    };

    // In the order the benchmarks first ran, as the table above lists them.
    void Record(const std::string& name, Measured measured) {
        for (auto& [known, value] : m_measured) {
            if (known == name) {
                value = measured;
                return;
            }
        }
        m_measured.emplace_back(name, measured);
    }

    std::vector<std::pair<std::string, Measured>> m_measured;
};
