#pragma once

#include <ostream>
#include <span>
#include <string>

namespace cli {

/// Exit statuses of the command line.
inline constexpr int kExitOk = 0;
/// At least one input could not be processed (the others still were).
inline constexpr int kExitFailed = 1;
/// The command line itself was wrong; the usage was printed.
inline constexpr int kExitUsage = 2;

/// Runs `pavrix OPTION ARGS...` and returns the exit status. Output goes to standard
/// output, diagnostics to standard error.
int Run(int argc, char** argv);

/// The same with the arguments after the program name and explicit streams (for tests).
int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace cli
