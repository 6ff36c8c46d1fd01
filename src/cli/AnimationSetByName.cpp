#include "cli/AnimationSetByName.h"

#include "platform/framework/DecodeName.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/SceneDocument.h"

namespace cli {

int SelectAnimationSetByName(scene::SceneDocument& doc, const std::string& name) {
    CCharacterData* character = doc.currentCharacter;
    if (!character || name.empty()) {
        return 0;
    }
    const auto sets = character->Animations();
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const rm::AnimationSet* set = sets[i] ? sets[i]->Set() : nullptr;
        if (!set || !set->HasName()) {
            continue;
        }
        if (set->Name() == name || framework::DecodeName(set->Name()).toStdString() == name) {
            if (!character->SelectAnimation(int(i))) {
                return 0;
            }
            doc.currentAnimation = character->m_current;
            doc.currentAnimation->UpdateTotalKeyTimeBuffer();
            return 1;
        }
    }
    return 0;
}

} // namespace cli
