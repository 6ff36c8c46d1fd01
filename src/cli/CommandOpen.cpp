#include "cli/CommandOpen.h"

#include "cli/AnimationSetByName.h"
#include "scene/DocumentOpen.h"

namespace cli {

namespace {

/// One step of the sequence. The document's messages are written after it, in the order
/// they arose; the notice of a refused animation set is not.
bool OpenStep(scene::SceneDocument& doc, const std::string& path, scene::OpenMode mode,
              const char* failure, std::ostream& err) {
    const scene::DocumentOpenResult result = scene::OpenDocument(doc, path.c_str(), mode);
    // A set that could not be read: an empty one made for it, or a change of animation
    // refused for it.
    const bool unreadableSet =
        (result.ok ? result.createdEmptyAnimation : mode == scene::OpenMode::ChangeAnimation) &&
        rm::Failed(result.animationLoadResult) &&
        result.animationLoadResult != rm::D3DRMERR_NOTFOUND;
    if (unreadableSet) {
        err << "pavrix: cannot read the animation set of " << path << ": "
            << (result.animationLoadError.empty() ? path + ": the animation set cannot be read"
                                                  : result.animationLoadError)
            << '\n';
        return false;
    }
    for (const scene::DocumentMessage& message : result.messages) {
        err << "pavrix: " << path << ": " << message.text << '\n';
    }
    if (!result.ok) {
        err << "pavrix: " << failure << path << ": " << result.reason << '\n';
        return false;
    }
    return true;
}

} // namespace

bool OpenCommandDocument(scene::SceneDocument& doc, const std::string& file,
                         const std::string* animation, AnimationArgument kind, std::ostream& err) {
    if (!OpenStep(doc, file, scene::OpenMode::NewScene, "cannot open ", err)) {
        return false;
    }
    if (!animation ||
        (kind == AnimationArgument::SetNameOrFile && SelectAnimationSetByName(doc, *animation))) {
        return true;
    }
    return OpenStep(doc, *animation, scene::OpenMode::ChangeAnimation,
                    "cannot change the animation to ", err);
}

} // namespace cli
