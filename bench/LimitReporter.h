#pragma once

// The console report of a benchmark program, followed by every benchmark that states its
// limit with its measured time against that limit, taken in the same run.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

/// Prints the usual table, then "Against the limits:" with one line per benchmark that set
/// the counter "limit_ms" (a limit on the wall clock) or "limit_cpu_ms" (on the CPU time of the
/// thread that ran it: what the GUI thread spends, however busy the machine is): its time per
/// iteration, the limit, the ratio and "within" or "OVER". With repetitions the median stands
/// for the benchmark; without, its last run.
class LimitReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median)) {
                continue;
            }
            const auto wall = run.counters.find("limit_ms");
            const auto cpu = run.counters.find("limit_cpu_ms");
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (wall != run.counters.end()) {
                Record(run.run_name.function_name,
                       {run.GetAdjustedRealTime() * toMs, wall->second.value, false});
            } else if (cpu != run.counters.end()) {
                Record(run.run_name.function_name,
                       {run.GetAdjustedCPUTime() * toMs, cpu->second.value, true});
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        if (m_measured.empty()) {
            return;
        }
        std::printf("\nAgainst the limits:\n");
        for (const auto& [name, m] : m_measured) {
            std::printf("  %-36s %9.4f ms %-4s  limit %7.2f ms  %5.2fx the limit  %s\n",
                        name.c_str(), m.ms, m.cpu ? "CPU" : "wall", m.limitMs, m.ms / m.limitMs,
                        m.ms < m.limitMs ? "within" : "OVER");
        }
    }

private:
    struct Measured {
        double ms;
        double limitMs;
        bool cpu;
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
