#pragma once

#include <string>

namespace scene {
struct SceneDocument;
} // namespace scene

namespace cli {

/// Makes the current character's animation set called `name` current, as choosing it in
/// the control panel's Animation Name box does: the first set whose name is `name`, byte
/// for byte or as text (a code page 932 name given in UTF-8). Its key-time list is built.
/// 0, changing nothing, when the character has no set of that name.
int SelectAnimationSetByName(scene::SceneDocument& doc, const std::string& name);

} // namespace cli
