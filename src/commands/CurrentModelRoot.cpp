#include "commands/CurrentModelRoot.h"

#include "app/ProgramState.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"

rm::Frame* CurrentModelRoot() {
    if (g_currentModel != nullptr) {
        return g_currentModel->Root();
    }
    if (g_currentAnimation != nullptr && g_currentAnimation->Model() != nullptr) {
        return g_currentAnimation->Model()->Root();
    }
    return nullptr;
}
