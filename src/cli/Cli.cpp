#include "cli/Cli.h"

#include <iostream>
#include <string_view>
#include <vector>

#include "cli/ExportCommand.h"
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
     "FILE [--animation ANIM] [--time T] [--size WxH] [--view VIEW] [--editor-camera] "
     "[--software] --out PNG",
     "open FILE as File Open does (ANIM: one of its animation sets by name, else a file "
     "whose sets replace them), pose it at time T and write the view's picture to PNG, "
     "the whole character framed (or, with --editor-camera, as the editor first shows it)",
     &RunRender},
    {"--export", "IN OUT [--animation SET] | IN_DIR OUT_DIR [-j N]",
     "open IN as File Open does and write it as glTF 2.0 to OUT (.glb, or .gltf with a .bin "
     "and the textures beside it), every animation set or SET alone; or every .x file below "
     "IN_DIR into the same tree of .glb files under OUT_DIR, N files at a time",
     &RunExport},
};

void PrintUsage(std::ostream& os) {
    os << "Usage: pavrix [--lang ja|en] [FILE]\n"
          "  or:  pavrix OPTION ARGUMENTS...\n"
          "Edit the keyframe animation of jointed 3D characters in DirectX .x files.\n"
          "Without an option, open the editor, on FILE when one is given; --lang sets its\n"
          "interface language for this run (else the one chosen in View > Language, at\n"
          "first Japanese).\n\n";
    for (const Command& c : kCommands) {
        os << "  pavrix " << c.option << ' ' << c.arguments << "\n      " << c.summary << '\n';
    }
    os << "  pavrix --help\n      print this help and exit\n"
          "  pavrix --version\n      print the version and exit\n\n"
          "Exit status: 0 when everything was done, 1 when a file could not be read or\n"
          "written, 2 when the command line is wrong.\n";
}

/// The arguments after the program name.
std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return args;
}

bool IsOption(std::string_view argument) {
    return argument.size() > 1 && argument[0] == '-';
}

} // namespace

bool IsCommandLine(std::span<const std::string> args) {
    for (const std::string& argument : args) {
        if (argument == "--") {
            return false;
        }
        if (IsOption(argument)) {
            return true;
        }
    }
    return false;
}

int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintUsage(out);
        return kExitOk;
    }
    if (args[0] == "--version") {
        out << "pavrix " << PAVRIX_VERSION << '\n';
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (args[0] == c.option) {
            return c.run(args.subspan(1), out, err);
        }
    }
    // As GNU programs say it: what was wrong and where to read more, not the whole usage.
    std::string_view wrong = args[0];
    for (const std::string& argument : args) {
        if (IsOption(argument)) {
            wrong = argument;
            break;
        }
    }
    bool isCommand = false;
    for (const Command& c : kCommands) {
        isCommand = isCommand || wrong == c.option;
    }
    if (isCommand) {
        err << "pavrix: " << wrong << " must come first\n";
    } else {
        err << "pavrix: unknown option '" << wrong << "'\n";
    }
    err << "Try 'pavrix --help' for more information.\n";
    return kExitUsage;
}

bool IsCommandLine(int argc, char** argv) {
    return IsCommandLine(Arguments(argc, argv));
}

int Run(int argc, char** argv) {
    const int status = Run(Arguments(argc, argv), std::cout, std::cerr);
    std::cout.flush();
    return status;
}

} // namespace cli
