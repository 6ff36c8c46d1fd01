#pragma once

#include <vector>

#include "platform/framework/Accelerator.h"

namespace resources {

/// The accelerator table (resource 128): Ctrl+N, Ctrl+O, Ctrl+S, undo on Ctrl+Z and
/// Alt+Backspace, cut on Ctrl+X and Shift+Delete, copy on Ctrl+C and Ctrl+Insert, paste
/// on Ctrl+V and Shift+Insert, next pane F6, previous pane Shift+F6.
const std::vector<framework::Accelerator>& MainAccelerators();

} // namespace resources
