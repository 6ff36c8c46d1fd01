#include "cli/ResaveCommand.h"

#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "cli/CommandOpen.h"
#include "cli/HeadlessScene.h"
#include "cli/InOutArguments.h"
#include "cli/ResaveEdits.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"
#include "xfile/DocumentSave.h"

namespace cli {

namespace {

constexpr char kUsage[] = "usage: pavrix --resave IN OUT [--animation ANIM] [EDIT...]\n";

class ResaveArguments : public InOutArguments {
public:
    ResaveArguments()
        : InOutArguments(
              {"--animation needs a file", "expects an input file and an output file", "--"}) {}

    ResaveEdits edits;

protected:
    int ParseOption(std::span<const std::string> args, std::size_t* i, std::string* why) override {
        return edits.Parse(args, i, why);
    }
};

} // namespace

int RunResave(std::span<const std::string> args, std::ostream& /*out*/, std::ostream& err) {
    ResaveArguments parsed;
    std::string why;
    if (!parsed.Parse(args, &why)) {
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
