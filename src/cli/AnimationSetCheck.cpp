#include "cli/AnimationSetCheck.h"

#include "platform/rm/Context.h"
#include "platform/rm/XFileLoader.h"
#include "scene/SceneContext.h"

namespace cli {

bool RefuseUnreadableAnimationSet(const std::string& path, std::ostream& err) {
    rm::Ref<rm::AnimationSet> set;
    rm::Ref<rm::Frame> parent;
    g_d3drm->CreateAnimationSet(&set);
    g_d3drm->CreateFrame(nullptr, &parent);
    const rm::HRESULT hr = set->Load(path.c_str(), parent.Get());
    if (rm::Succeeded(hr) || hr == rm::D3DRMERR_NOTFOUND) {
        return false;
    }
    std::string message = rm::GetLastLoadMessage();
    if (message.empty()) {
        message = path + ": the animation set cannot be read";
    }
    err << "pavrix: cannot read the animation set of " << path << ": " << message << '\n';
    return true;
}

} // namespace cli
