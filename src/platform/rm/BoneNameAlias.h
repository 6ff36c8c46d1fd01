#pragma once

#include <string_view>

namespace rm {

/// The second name a frame answers to when a skin looks its bones up by name, given the
/// frame's own name; empty for none. Whoever names the frames knows it: the layer that
/// names them installs its rule once (SetBoneNameAlias). Without a rule a frame answers to
/// its own name only.
using BoneNameAlias = std::string_view (*)(std::string_view frameName);

/// Installs `alias` for every later lookup (null: none). Call it before any skin is drawn.
void SetBoneNameAlias(BoneNameAlias alias);
/// The rule installed; null when there is none.
BoneNameAlias GetBoneNameAlias();

} // namespace rm
