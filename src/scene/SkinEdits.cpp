#include "scene/SkinEdits.h"

#include "platform/rm/MeshBuilder.h"

namespace scene {

void ScaleSkinOffsets(rm::MeshSkin& skin, float sx, float sy, float sz) {
    if (sx == 0 || sy == 0 || sz == 0) {
        return;
    }
    // (S⁻¹·O·S)[i][j] = O[i][j] · s[j] / s[i], the translation row taking s[i] = 1.
    const float s[4] = {sx, sy, sz, 1};
    for (rm::SkinBone& bone : skin.bones) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                bone.offset.m[i][j] = bone.offset.m[i][j] * s[j] / s[i];
            }
        }
    }
}

int RenameBones(rm::Frame* root, std::string_view oldName, std::string_view newName) {
    if (!root) {
        return 0;
    }
    int renamed = 0;
    for (const auto& visual : root->Visuals()) {
        auto* builder = dynamic_cast<rm::MeshBuilder*>(visual.Get());
        if (!builder || !builder->HasSkin()) {
            continue;
        }
        rm::MeshSkin skin = builder->GetSkin();
        int here = 0;
        for (rm::SkinBone& bone : skin.bones) {
            if (bone.frameName == oldName) {
                bone.frameName = newName;
                ++here;
            }
        }
        if (here > 0) {
            builder->SetSkin(std::move(skin));
            renamed += here;
        }
    }
    for (const auto& child : root->Children()) {
        renamed += RenameBones(child.Get(), oldName, newName);
    }
    return renamed;
}

} // namespace scene
