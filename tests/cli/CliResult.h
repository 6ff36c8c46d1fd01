#pragma once

// What a command-line entry point wrote and returned, for the command-line tests.

#include <sstream>
#include <string>

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

/// Runs run(out, err) and returns its status with what it wrote.
template <typename Run>
CliResult CaptureCli(Run run) {
    std::ostringstream out, err;
    const int status = run(out, err);
    return {status, out.str(), err.str()};
}
