#pragma once

#include <vector>

#include <QImage>
#include <QSize>

#include "platform/framework/CommandId.h"

namespace framework {

/// A tool-bar resource: the button list and the bitmap of the button faces.
struct ToolBarResource {
    int id = 0;
    /// Size of one button face in pixels.
    QSize buttonSize{16, 15};
    /// Command identifiers in order; 0 is a separator.
    std::vector<CommandId> items;
    /// One cell of `buttonSize` per button (separators have none), left to right; pixels
    /// with alpha 0 show the bar's background.
    QImage bitmap;
};

} // namespace framework
