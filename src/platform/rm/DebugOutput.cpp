#include "platform/rm/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace rm {

namespace {
DebugOutput::Capture& CurrentCapture() {
    static DebugOutput::Capture capture;
    return capture;
}
} // namespace

void DebugOutput::Write(const char* text) {
    if (!text) {
        return;
    }
    // Copied before the call so a capture that replaces itself while running stays valid.
    if (Capture capture = CurrentCapture()) {
        capture(std::string_view(text));
    }
    if (WritesToStandardError()) {
        std::fputs(text, stderr);
        std::fflush(stderr);
    }
}

DebugOutput::Capture DebugOutput::SetCapture(Capture capture) {
    return std::exchange(CurrentCapture(), std::move(capture));
}

bool DebugOutput::WritesToStandardError() {
    // Read on every call (not cached) so a test or a debugger session can switch it on
    // while the program runs; diagnostics are rare enough for the lookup not to matter.
    const char* value = std::getenv("PAVRIX_DEBUG");
    return value && std::strcmp(value, "1") == 0;
}

} // namespace rm
