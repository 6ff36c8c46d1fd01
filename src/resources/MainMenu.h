#pragma once

#include <vector>

#include "platform/framework/MenuItem.h"

namespace resources {

/// The main menu (resource 128): File, Edit, View, Help, in order, with their commands,
/// separators and submenus. "最新のﾌｧｲﾙ" (57616) is a greyed placeholder: there is no
/// recent-file list.
const std::vector<framework::MenuItem>& MainMenu();

} // namespace resources
