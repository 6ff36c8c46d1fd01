#pragma once

#include <vector>

#include <QIcon>
#include <QString>

#include "platform/framework/Accelerator.h"
#include "platform/framework/MenuItem.h"
#include "platform/framework/StringTable.h"

namespace framework {

/// What a document template's resource number stands for: the frame's menu, its
/// accelerators, its icon, the document string and the string table the frame takes its
/// tool tips from.
struct FrameResources {
    int id = 0;
    std::vector<MenuItem> menu;
    std::vector<Accelerator> accelerators;
    QIcon icon;
    /// Seven line-feed fields: window title, document name, new-file name, filter name,
    /// filter extension (".x"), file type id, file type name.
    QString documentString;
    /// Borrowed; must outlive the frames made from these resources. May be null.
    const StringTable* strings = nullptr;
};

} // namespace framework
