#pragma once

#include <string>
#include <vector>

#include "platform/rm/Types.h"
#include "scene/DocumentMessage.h"

namespace rm {
class Frame;
} // namespace rm

namespace scene {

/// What one run of the document's open sequence did.
struct DocumentOpenResult {
    /// 1 on success, 0 on failure.
    int ok = 0;
    /// Every message the sequence showed, in order (failure messages and notices).
    std::vector<DocumentMessage> messages;
    /// Why the sequence failed, in one line for logs (empty on success). For a failed
    /// model load it is the loader's message naming the file, line and what was expected.
    std::string reason;
    /// On success: the animation library's entry name of the current animation set, which
    /// becomes the document's path name.
    std::string pathName;
    /// On success: the root frame of the model the current animation set is bound to, for
    /// the camera to centre on (borrowed; null when the set is bound to no model).
    rm::Frame* centerFrame = nullptr;
    /// True when the file gave no animation set and an empty one was made in its place;
    /// animationLoadError then holds the loader's reason and animationLoadResult its result:
    /// D3DRMERR_NOTFOUND when the file holds no animation set, another failure when the
    /// file or its animation set cannot be read.
    /// A change of animation to a file that cannot be read fails before anything changes,
    /// with the loader's reason and result in the two fields below as well.
    bool createdEmptyAnimation = false;
    std::string animationLoadError;
    rm::HRESULT animationLoadResult = rm::D3DRM_OK;
};

} // namespace scene
