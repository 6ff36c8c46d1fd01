#include "gltf/DocumentExport.h"

#include <span>

#include <QFile>

#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/SceneDocument.h"

namespace gltf {

int ExportDocument(const char* path, const scene::SceneDocument& doc, const ExportOptions& options,
                   std::string* error, std::vector<std::string>* warnings) {
    std::string reason;
    if (!doc.currentModel || !doc.currentModel->Root()) {
        reason = "there is no model to export";
    } else if (!path || !*path) {
        reason = "no file name to export to";
    }
    if (!reason.empty()) {
        if (error) {
            *error = reason;
        }
        return 0;
    }
    CAnimationData* const current[] = {doc.currentAnimation};
    std::span<CAnimationData* const> animations = current;
    if (!doc.currentAnimation) {
        animations = {};
    }
    if (!options.currentSetOnly && doc.currentCharacter && doc.currentCharacter->m_count > 0) {
        animations = doc.currentCharacter->Animations();
    }

    const CModelData& model = *doc.currentModel;
    GltfExporter exporter(options);
    exporter.AddModel(*model.Root(), model.SkinOn() ? &model.Welds() : nullptr);
    for (const CAnimationData* animation : animations) {
        if (animation && animation->Set()) {
            exporter.AddAnimationSet(*animation->Set());
        }
    }
    if (!exporter.Write(QFile::decodeName(path), &reason)) {
        if (error) {
            *error = reason;
        }
        return 0;
    }
    if (warnings) {
        *warnings = exporter.Warnings();
    }
    if (error) {
        error->clear();
    }
    return 1;
}

} // namespace gltf
