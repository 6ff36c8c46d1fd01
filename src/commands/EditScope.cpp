#include "commands/EditScope.h"

#include <utility>

#include "app/ProgramState.h"
#include "commands/CurrentModelRoot.h"
#include "commands/UndoHistory.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"

EditScope::EditScope(UndoHistory* history, const QString& stepName, unsigned touches,
                     rm::Animation* partAnimation) {
    if (history == nullptr || touches == 0) {
        return;
    }
    if (EditScope* outer = history->OpenScope()) {
        outer->Take(touches, partAnimation);
        return;
    }
    m_history = history;
    m_stepName = stepName;
    m_open = true;
    m_before.CaptureCurrent();
    m_before.CaptureFrames(CurrentModelRoot());
    Take(touches, partAnimation);
    history->SetOpenScope(this);
}

EditScope::~EditScope() {
    Close();
}

void EditScope::Take(unsigned touches, rm::Animation* partAnimation) {
    m_touches |= touches;
    if ((touches & PartAnimation) != 0) {
        m_before.CaptureAnimation(partAnimation);
    }
    if ((touches & AnimationSets) != 0) {
        if (g_currentCharacter != nullptr) {
            for (CAnimationData* set : g_currentCharacter->Animations()) {
                m_before.CaptureSet(set);
            }
        }
        m_before.CaptureSet(g_currentAnimation);
    }
    if ((touches & Meshes) != 0) {
        m_before.CaptureMeshes(CurrentModelRoot());
    }
}

void EditScope::Close() {
    if (!m_open) {
        return;
    }
    m_open = false;
    m_history->SetOpenScope(nullptr);
    SceneImage after;
    const SceneImage::Differences differences = SceneImage::TakeAfter(m_before, &after);
    const bool changed =
        ((m_touches & (PartAnimation | AnimationSets)) != 0 && differences.animations) ||
        ((m_touches & ModelFrames) != 0 && differences.frames) ||
        ((m_touches & Meshes) != 0 && differences.meshes);
    if (changed) {
        m_history->Push(m_stepName, m_before, std::move(after));
    }
}
