#include "commands/EditScope.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "commands/UndoHistory.h"
#include "platform/Assert.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

/// The keys and options of the animations a scope did not declare, and its meshes.
struct EditScope::Undeclared {
    struct Keys {
        rm::Ref<rm::Animation> animation;
        std::uint32_t options = 0;
        std::vector<rm::AnimationKey> keys;
        bool SameAsNow() const {
            const std::vector<rm::AnimationKey>& now = animation->Keys();
            return options == animation->GetOptions() && keys.size() == now.size() &&
                   (keys.empty() ||
                    std::memcmp(keys.data(), now.data(), keys.size() * sizeof(keys[0])) == 0);
        }
    };
    /// Empty when the scope declared the animation sets.
    std::vector<Keys> animations;
    /// Null when the scope declared the meshes.
    std::unique_ptr<SceneImage> meshes;
};

namespace {

/// Every animation set of the context's character, and its current one.
std::vector<CAnimationData*> CurrentSets(const session::EditContext& context) {
    std::vector<CAnimationData*> sets;
    if (context.currentCharacter != nullptr) {
        for (CAnimationData* set : context.currentCharacter->Animations()) {
            sets.push_back(set);
        }
    }
    if (context.currentAnimation != nullptr &&
        std::find(sets.begin(), sets.end(), context.currentAnimation) == sets.end()) {
        sets.push_back(context.currentAnimation);
    }
    return sets;
}

} // namespace

// Debug builds, and the sanitizer builds (optimised, NDEBUG) the soak runs in.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PAVRIX_EDIT_SCOPE_CHECKS 1
#endif
#endif
#if !defined(NDEBUG) || defined(__SANITIZE_ADDRESS__)
#define PAVRIX_EDIT_SCOPE_CHECKS 1
#endif

bool EditScope::ChecksUndeclared() {
#ifdef PAVRIX_EDIT_SCOPE_CHECKS
    return true;
#else
    return false;
#endif
}

EditScope::EditScope(UndoHistory* history, session::EditContext& context, const QString& stepName,
                     unsigned touches, rm::Animation* partAnimation)
    : m_context(context) {
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
    m_before.CaptureCurrent(m_context);
    m_before.CaptureFrames(m_context.CurrentModelRoot());
    Take(touches, partAnimation);
    if (ChecksUndeclared()) {
        PictureUndeclared();
    }
    history->SetOpenScope(this);
}

EditScope::~EditScope() {
    Close();
}

void EditScope::Take(unsigned touches, rm::Animation* partAnimation) {
    m_touches |= touches;
    if ((touches & PartAnimation) != 0) {
        m_declared.push_back(partAnimation);
        m_before.CaptureAnimation(partAnimation);
    }
    if ((touches & AnimationSets) != 0) {
        if (m_context.currentCharacter != nullptr) {
            for (CAnimationData* set : m_context.currentCharacter->Animations()) {
                m_before.CaptureSet(set);
            }
        }
        m_before.CaptureSet(m_context.currentAnimation);
    }
    if ((touches & Meshes) != 0) {
        m_before.CaptureMeshes(m_context.CurrentModelRoot());
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
    if (m_undeclared != nullptr) {
        CheckUndeclared();
    }
}

void EditScope::PictureUndeclared() {
    m_undeclared = std::make_unique<Undeclared>();
    if ((m_touches & AnimationSets) == 0) {
        for (CAnimationData* set : CurrentSets(m_context)) {
            if (set->Set() == nullptr) {
                continue;
            }
            for (const rm::Ref<rm::Animation>& animation : set->Set()->Animations()) {
                m_undeclared->animations.push_back(
                    {animation, animation->GetOptions(), animation->Keys()});
            }
        }
    }
    const CModelData* model = m_context.currentModel;
    if (model == nullptr && m_context.currentAnimation != nullptr) {
        model = m_context.currentAnimation->Model();
    }
    // With the skin on the welds move vertices with every pose: there the meshes follow
    // the keys and the frames, and only those are checked.
    if ((m_touches & Meshes) == 0 && (model == nullptr || !model->SkinOn())) {
        m_undeclared->meshes = std::make_unique<SceneImage>();
        m_undeclared->meshes->CaptureCurrent(m_context);
        m_undeclared->meshes->CaptureMeshes(m_context.CurrentModelRoot());
    }
}

void EditScope::CheckUndeclared() {
    const std::unique_ptr<Undeclared> undeclared = std::move(m_undeclared);
    bool overreached = false;
    if ((m_touches & AnimationSets) == 0) {
        for (const Undeclared::Keys& keys : undeclared->animations) {
            const bool declared = std::find(m_declared.begin(), m_declared.end(),
                                            keys.animation.Get()) != m_declared.end();
            overreached = overreached || (!declared && !keys.SameAsNow());
        }
    }
    if ((m_touches & Meshes) == 0 && undeclared->meshes != nullptr) {
        SceneImage now;
        overreached = overreached || SceneImage::TakeAfter(*undeclared->meshes, &now).meshes;
    }
    if (overreached) {
        std::fprintf(stderr, "edit step \"%s\":\n", m_stepName.toUtf8().constData());
    }
    PAVRIX_ASSERT(!overreached,
                  "EditScope::Close: the edit changed what its scope did not declare");
}
