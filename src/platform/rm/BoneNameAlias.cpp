#include "platform/rm/BoneNameAlias.h"

namespace rm {

namespace {

BoneNameAlias g_boneNameAlias = nullptr;

} // namespace

void SetBoneNameAlias(BoneNameAlias alias) {
    g_boneNameAlias = alias;
}

BoneNameAlias GetBoneNameAlias() {
    return g_boneNameAlias;
}

} // namespace rm
