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

/// Whether the arguments after the program name are for the command line rather than the
/// editor: some argument before a "--" is an option (starts with '-' and is not "-"
/// alone). `pavrix FILE` opens the editor; `pavrix --bogus` is the command line's, which
/// refuses it.
bool IsCommandLine(std::span<const std::string> args);
bool IsCommandLine(int argc, char** argv);

/// Runs `pavrix OPTION ARGS...` and returns the exit status: --help and --version as
/// GNU programs print them (on standard output, status 0); an unknown option is named on
/// standard error with a pointer to --help, status kExitUsage. Output goes to standard
/// output, diagnostics to standard error.
int Run(int argc, char** argv);

/// The same with the arguments after the program name and explicit streams (for tests).
int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace cli
