#include "cli/ResaveCommand.h"

#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "cli/CommandOpen.h"
#include "cli/HeadlessScene.h"
#include "cli/ResaveEdits.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"
#include "xfile/DocumentSave.h"

namespace cli {

namespace {

constexpr char kUsage[] = "usage: pavrix --resave IN OUT [--animation ANIM] [EDIT...]\n";

struct ResaveArguments {
    std::string in;
    std::string out;
    std::string animation;
    bool hasAnimation = false;
    ResaveEdits edits;
};

bool ParseArguments(std::span<const std::string> args, ResaveArguments* parsed, std::string* why) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--animation") {
            if (parsed->hasAnimation) {
                *why = "--animation is given twice";
                return false;
            }
            if (i + 1 >= args.size()) {
                *why = "--animation needs a file";
                return false;
            }
            parsed->animation = args[++i];
            parsed->hasAnimation = true;
        } else if (const int edit = parsed->edits.Parse(args, &i, why); edit >= 0) {
            if (edit == 0) {
                return false;
            }
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            *why = "unknown option '" + arg + "'";
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        *why = "expects an input file and an output file";
        return false;
    }
    parsed->in = files[0];
    parsed->out = files[1];
    return true;
}

} // namespace

int RunResave(std::span<const std::string> args, std::ostream& /*out*/, std::ostream& err) {
    ResaveArguments parsed;
    std::string why;
    if (!ParseArguments(args, &parsed, &why)) {
        err << "pavrix: --resave " << why << '\n' << kUsage << ResaveEdits::Usage();
        return kExitUsage;
    }

    HeadlessScene scene(err);
    scene::SceneDocument& doc = scene.document;
    if (!OpenCommandDocument(doc, parsed.in, parsed.hasAnimation ? &parsed.animation : nullptr,
                             AnimationArgument::File, err)) {
        return kExitFailed;
    }

    parsed.edits.Run(doc, err);

    std::string error;
    if (!xfile::SaveDocument(parsed.out.c_str(), doc, &error)) {
        err << "pavrix: cannot save " << parsed.out << ": " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace cli
