#pragma once

#include <vector>

#include <QImage>
#include <QSize>

#include "platform/framework/CommandId.h"

namespace resources {

/// The tool-bar button faces, drawn in code: 16 × 15 pixels, transparent background.
class ToolBarIcons {
public:
    /// 16 × 15.
    static QSize Size();
    /// The face of command `id`; a face with a question mark for a command that has no
    /// face of its own.
    static QImage Icon(framework::CommandId id);
    /// 1 when `id` has a face of its own.
    static int HasIcon(framework::CommandId id);
    /// The tool-bar bitmap of `items`: one cell per non-zero item, left to right
    /// (0 items are separators and get no cell).
    static QImage Bitmap(const std::vector<framework::CommandId>& items);
};

} // namespace resources
