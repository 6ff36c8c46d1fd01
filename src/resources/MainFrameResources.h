#pragma once

#include "platform/framework/FrameResources.h"

namespace resources {

/// Everything resource 128 stands for, for the document template: the main menu, the
/// accelerators, the application icon, the document string and the string table.
framework::FrameResources MainFrameResources();

} // namespace resources
