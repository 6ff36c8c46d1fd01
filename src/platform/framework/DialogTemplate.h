#pragma once

#include <vector>

#include <QSize>
#include <QString>

#include "platform/framework/ControlTemplate.h"

namespace framework {

/// A dialog (or dialog bar) template: its number, title, size in dialog units and
/// controls in creation order (which is also the tab order and decides radio groups).
struct DialogTemplate {
    int id = 0;
    QString title;
    QSize size; ///< dialog units
    std::vector<ControlTemplate> controls;
};

} // namespace framework
