#pragma once

// Edits of the model that skin weights must follow, so that a skinned mesh keeps deforming
// as it did: the model scale and the renaming of a part.

#include <string_view>

#include "platform/rm/Frame.h"
#include "platform/rm/MeshSkin.h"

namespace scene {

/// The offset matrices of `skin` after its mesh's vertices were scaled by (sx, sy, sz) in
/// the mesh's space and its bones' frames by the same factors in theirs (CModelBase::Scale):
/// each offset O becomes S⁻¹·O·S, so a vertex carried into a bone's space lands where a
/// vertex of a rigid part of that bone, scaled the same way, would. For a uniform scale
/// that scales the translation row alone. Factors of 0 leave the skin as it is.
void ScaleSkinOffsets(rm::MeshSkin& skin, float sx, float sy, float sz);

/// Renames to `newName` every bone of the meshes below and including `root` that follows
/// the frame named `oldName`. Returns how many bones were renamed.
int RenameBones(rm::Frame* root, std::string_view oldName, std::string_view newName);

} // namespace scene
