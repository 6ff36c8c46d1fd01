#pragma once

// What a command-line entry point wrote and returned, for the command-line tests.

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/Cli.h"

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

/// A test that runs `pavrix args...` through the command dispatch and keeps what it wrote.
class CliRunTest : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        const CliResult r = CaptureCli(
            [&](std::ostream& out, std::ostream& err) { return cli::Run(args, out, err); });
        stdoutText = r.out;
        stderrText = r.err;
        return r.status;
    }

    std::string stdoutText;
    std::string stderrText;
};
