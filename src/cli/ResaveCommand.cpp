#include "cli/ResaveCommand.h"

#include <memory>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "cli/CommandOpen.h"
#include "cli/ResaveEdits.h"
#include "platform/rm/Context.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"
#include "scene/SceneContext.h"
#include "scene/SceneMessages.h"
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

/// The scene the editor's main frame would provide, made for one command and taken down
/// with it: the shared factory, the object store publishing its libraries, a scene frame,
/// and the scene's own messages routed to the error stream. Whatever was published
/// before is put back afterwards.
class HeadlessScene {
public:
    explicit HeadlessScene(std::ostream& err) : m_previousD3drm(g_d3drm) {
        rm::Direct3DRMCreate(&m_d3drm);
        g_d3drm = m_d3drm.Get();
        m_store = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
        if (m_d3drm) {
            m_d3drm->CreateFrame(nullptr, &m_sceneFrame);
        }
        m_previousHook = scene::SetMessageHook(
            [&err](std::string_view text) { err << "pavrix: " << text << '\n'; });
        document.sceneFrame = m_sceneFrame.Get();
        document.store = m_store.get();
    }
    ~HeadlessScene() {
        // The store goes first: its models take their root frames out of the scene frame.
        m_store.reset();
        m_sceneFrame.Reset();
        scene::SetMessageHook(std::move(m_previousHook));
        g_d3drm = m_previousD3drm;
    }
    HeadlessScene(const HeadlessScene&) = delete;
    HeadlessScene& operator=(const HeadlessScene&) = delete;

    scene::SceneDocument document;

private:
    rm::Context* m_previousD3drm;
    rm::Ref<rm::Context> m_d3drm;
    std::unique_ptr<CObjectStore> m_store;
    rm::Ref<rm::Frame> m_sceneFrame;
    scene::MessageHook m_previousHook;
};

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
