#pragma once

// The console report of a benchmark program followed by a summary of each measured time
// against its limit, taken in the same run.

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

class LimitReporter : public benchmark::ConsoleReporter {
public:
    /// Which time a limit holds for: the wall clock, or the CPU time of the thread that ran
    /// the benchmark (what the GUI thread spends, however busy the machine is).
    enum class Clock { Real, Cpu };
    struct Limit {
        std::string name; // the name the benchmark was registered under
        double limitMs;
        Clock clock = Clock::Real;
    };

    explicit LimitReporter(std::vector<Limit> limits) : m_limits(std::move(limits)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions the median stands for the benchmark.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || median)) {
                const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
                m_times[run.run_name.function_name] = {run.GetAdjustedRealTime() * toMs,
                                                       run.GetAdjustedCPUTime() * toMs};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nAgainst the limits:\n");
        for (const Limit& limit : m_limits) {
            const auto found = m_times.find(limit.name);
            if (found == m_times.end()) {
                continue;
            }
            const bool cpu = limit.clock == Clock::Cpu;
            const double ms = cpu ? found->second.second : found->second.first;
            std::printf("  %-36s %9.4f ms %-4s  limit %6.2f ms  %5.2fx the limit  %s\n",
                        limit.name.c_str(), ms, cpu ? "CPU" : "wall", limit.limitMs,
                        ms / limit.limitMs, ms < limit.limitMs ? "within" : "OVER");
        }
    }

private:
    std::vector<Limit> m_limits;
    std::map<std::string, std::pair<double, double>> m_times; // name: wall ms, CPU ms
};
