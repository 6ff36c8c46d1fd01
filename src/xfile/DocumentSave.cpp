#include "xfile/DocumentSave.h"

#include <utility>

#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/SceneContext.h"
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
    SetError(error, {});
    if (!g_d3drm || !model || !animation) {
        SetError(error, "there is no model and animation set to save");
        return 0;
    }
    if (!path) {
        SetError(error, "no file name to save to");
        return 0;
    }
    animation->RestoreAnimationNames();
    model->RestoreFileNames(model->Root());

    CModelData* bound = animation->Model();
    CXSave writer(g_d3drm);
    if (write) {
        writer.SetWriteFunction(std::move(write));
    }
    const int result = writer.Save(path, CXSave::kDocumentFlags, animation->Set(),
                                   bound ? bound->Root() : nullptr, 1);
    if (!result) {
        SetError(error, writer.LastError().empty()
                            ? std::string(path) + ": there is no animation set to write"
                            : writer.LastError());
    }

    // Binding and editing rely on the working names; they return even after a failure.
    model->NamePartsAndRecord(model->Root());
    animation->NameAnimations();
    return result;
}

} // namespace xfile
