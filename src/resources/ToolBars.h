#pragma once

#include "platform/framework/ToolBarResource.h"

namespace resources {

/// Tool bar 128 (file and key editing), with its icons.
framework::ToolBarResource MainToolBar();
/// Tool bar 132 (playback and animation), with its icons.
framework::ToolBarResource AnimationToolBar();
/// Tool bar 143 (part selection), with its icons. The main frame creates it hidden.
framework::ToolBarResource PartsToolBar();

} // namespace resources
