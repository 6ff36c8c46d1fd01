#include "platform/framework/OpenTiming.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include <QtGlobal>

namespace framework {

namespace {

enum class Stage { Idle, Opening, Opened, Rendered };

double ProcessCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
}

struct State {
    Stage stage = Stage::Idle;
    std::chrono::steady_clock::time_point start;
    double startCpu = 0;
    const char* origin = "";
};

State& TheState() {
    static State state;
    return state;
}

bool Enabled() {
    static const bool enabled = qEnvironmentVariableIntValue("PAVRIX_TIMING") == 1;
    return enabled;
}

void Print(const char* event) {
    const State& s = TheState();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - s.start)
            .count();
    std::fprintf(stderr, "pavrix timing: %s %.1f ms after %s (%.1f ms of processor time)\n", event,
                 ms, s.origin, ProcessCpuMilliseconds() - s.startCpu);
}

} // namespace

void OpenTiming::DialogAccepted() {
    if (Enabled()) {
        TheState() = {Stage::Opening, std::chrono::steady_clock::now(), ProcessCpuMilliseconds(),
                      "the file dialog's OK"};
    }
}

void OpenTiming::OpenStarted() {
    if (Enabled() && TheState().stage != Stage::Opening) {
        TheState() = {Stage::Opening, std::chrono::steady_clock::now(), ProcessCpuMilliseconds(),
                      "the start of the open"};
    }
}

void OpenTiming::DocumentOpened() {
    if (Enabled() && TheState().stage == Stage::Opening) {
        Print("document opened");
        TheState().stage = Stage::Opened;
    }
}

void OpenTiming::FrameRendered() {
    if (Enabled() && TheState().stage == Stage::Opened) {
        TheState().stage = Stage::Rendered;
    }
}

void OpenTiming::FrameDrawn() {
    if (Enabled() && TheState().stage == Stage::Rendered) {
        Print("first frame drawn");
        TheState().stage = Stage::Idle;
    }
}

} // namespace framework
