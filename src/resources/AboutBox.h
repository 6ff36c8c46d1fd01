#pragma once

#include <memory>

#include "platform/framework/Dialog.h"
#include "platform/framework/DialogTemplate.h"

namespace resources {

/// Control identifier of the about box's version line.
constexpr int AboutVersionTextId = 1001;
/// Control identifier of the about box's icon.
constexpr int AboutIconId = 1002;

/// Template 100: title "ﾊﾞｰｼﾞｮﾝ情報", 159 × 111 dialog units, the application icon, the
/// line "Pavrix Prototype Ver.0.73" and an OK button (identifier 1).
framework::DialogTemplate AboutBoxTemplate();

/// The about box, ready for `DoModal`. It exchanges no data; OK closes it.
std::unique_ptr<framework::Dialog> CreateAboutBox(QWidget* parent);

} // namespace resources
