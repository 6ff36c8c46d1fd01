#pragma once

#include <QString>

#include "platform/framework/StringTable.h"

namespace resources {

/// The program's string table: every command's prompt string ("prompt\ntool tip"; one
/// field gives no tool tip), the application title (57344) and the document string
/// (128).
const framework::StringTable& Strings();

/// "Pavrix / Prototype": caption of the application's message boxes and the main
/// window's text at start-up.
QString AppTitle();
/// "Pavrix\n\nPX\nX ﾌｧｲﾙ (*.x)\n.x\nX.Document\nX Document".
QString DocumentString();

} // namespace resources
