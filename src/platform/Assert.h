#pragma once

// The programmer-error tier. A call that breaks a precondition the caller can always check
// (an index past a count it was given, an empty handler, a second instance of a single
// object) stops the program at once with "file:line: Class::Method: what was wrong" on
// the error stream. No input can make such a check fail, so it is not an error to report
// to the user: files and dialogs report theirs through results. The checks stay on in
// every build; they guard cheap comparisons only.
//
// Out of memory is not a programmer error and not handled here; see "Errors" in README.md.

#include <cstdio>
#include <cstdlib>

namespace platform {

[[noreturn]] inline void AssertionFailed(const char* file, int line, const char* message) {
    std::fprintf(stderr, "%s:%d: %s\n", file, line, message);
    std::fflush(stderr);
    std::abort();
}

} // namespace platform

/// Stops the program with `message` ("Class::Method: what was wrong") when `condition` is
/// false.
#define PAVRIX_ASSERT(condition, message)                                                          \
    ((condition) ? void(0) : ::platform::AssertionFailed(__FILE__, __LINE__, message))
