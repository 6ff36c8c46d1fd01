#include "cli/Cli.h"

#include <iostream>
#include <string_view>
#include <vector>

#include "cli/InfoCommand.h"
#include "cli/RenderCommand.h"
#include "cli/ResaveCommand.h"

namespace cli {

namespace {

using CommandFunction = int (*)(std::span<const std::string> args, std::ostream& out,
                                std::ostream& err);

struct Command {
    std::string_view option;
    std::string_view arguments;
    std::string_view summary;
    CommandFunction run;
};

// One row per option; each command gets the arguments after its option.
constexpr Command kCommands[] = {
    {"--info", "FILE...",
     "print one JSON object per .x file: its format, frames and animation sets", &RunInfo},
    {"--resave", "IN OUT [--animation ANIM] [EDIT...]",
     "open IN as File Open does (then ANIM as Change Animation does), run the batch EDITs "
     "(see pavrix --resave) and save it to OUT as File Save does",
     &RunResave},
    {"--render",
     "FILE [--animation ANIM] [--time T] [--size WxH] [--view VIEW] [--software] --out PNG",
     "open FILE as File Open does, pose it at time T and write the view's picture to PNG",
     &RunRender},
};

void PrintUsage(std::ostream& os) {
    os << "usage: pavrix OPTION ARGUMENTS...\n";
    for (const Command& c : kCommands) {
        os << "  pavrix " << c.option << ' ' << c.arguments << "\n      " << c.summary << '\n';
    }
}

} // namespace

int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintUsage(out);
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (args[0] == c.option) {
            return c.run(args.subspan(1), out, err);
        }
    }
    err << "pavrix: unknown option '" << args[0] << "'\n";
    PrintUsage(err);
    return kExitUsage;
}

int Run(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    const int status = Run(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}

} // namespace cli
