#include "xfile/DocumentSave.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/SceneContext.h"
#include "scene/SceneDocument.h"
#include "xfile/CXSave.h"

namespace {

void SetError(std::string* error, std::string text) {
    if (error) {
        *error = std::move(text);
    }
}

} // namespace

namespace xfile {

int SaveCharacter(const char* path, CModelData* model, CAnimationData* animation,
                  std::string* error, SafeFileWriter::WriteFunction write) {
    CAnimationData* const animations[] = {animation};
    return SaveCharacter(path, model, animations, error, std::move(write));
}

int SaveCharacter(const char* path, CModelData* model, std::span<CAnimationData* const> animations,
                  std::string* error, SafeFileWriter::WriteFunction write) {
    SetError(error, {});
    if (!g_d3drm || !model || animations.empty() ||
        std::find(animations.begin(), animations.end(), nullptr) != animations.end()) {
        SetError(error, "there is no model and animation set to save");
        return 0;
    }
    if (!path) {
        SetError(error, "no file name to save to");
        return 0;
    }
    for (CAnimationData* animation : animations) {
        animation->RestoreAnimationNames();
    }
    // Naming the model again empties its part records' animations: they come back after.
    std::vector<std::pair<CPartRecord*, rm::Animation*>> driving;
    for (auto* entry = model->PartRecords().Head(); entry; entry = entry->Next()) {
        driving.emplace_back(&entry->Payload(), entry->Payload().animation);
    }
    model->RestoreFileNames(model->Root());

    CModelData* bound = nullptr;
    std::vector<rm::AnimationSet*> sets;
    sets.reserve(animations.size());
    for (CAnimationData* animation : animations) {
        sets.push_back(animation->Set());
        if (!bound) {
            bound = animation->Model();
        }
    }
    CXSave writer(g_d3drm);
    if (write) {
        writer.SetWriteFunction(std::move(write));
    }
    const int result =
        writer.Save(path, CXSave::kDocumentFlags, sets, bound ? bound->Root() : nullptr,
                    CXSave::TopFrames::ChildrenOfRoot);
    if (!result) {
        SetError(error, writer.LastError().empty()
                            ? std::string(path) + ": there is no animation set to write"
                            : writer.LastError());
    }

    // Binding and editing rely on the working names; they return even after a failure.
    model->NamePartsAndRecord(model->Root());
    for (const auto& [record, animation] : driving) {
        record->animation = animation;
    }
    for (CAnimationData* animation : animations) {
        animation->NameAnimations();
    }
    return result;
}

int SaveDocument(const char* path, const scene::SceneDocument& doc, std::string* error,
                 SafeFileWriter::WriteFunction write) {
    CAnimationData* const current[] = {doc.currentAnimation};
    std::span<CAnimationData* const> animations = current;
    if (doc.currentCharacter && doc.currentCharacter->m_count > 0) {
        animations = doc.currentCharacter->Animations();
    }
    return SaveCharacter(path, doc.currentModel, animations, error, std::move(write));
}

} // namespace xfile
