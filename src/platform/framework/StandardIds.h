#pragma once

#include "platform/framework/CommandId.h"

/// The framework's own command identifiers and string numbers. The program's commands
/// (32774 and up) live with the program's resources; these keep the values that every
/// program built on this framework shares.
namespace framework::ids {

constexpr CommandId FileNew = 57600;
constexpr CommandId FileOpen = 57601;
constexpr CommandId FileSave = 57603;
constexpr CommandId FileSaveAs = 57604;
constexpr CommandId FileMruFirst = 57616; ///< recent files 57616..57631
constexpr CommandId FileMruLast = 57631;
constexpr CommandId EditCopy = 57634;
constexpr CommandId EditCut = 57635;
constexpr CommandId EditPaste = 57637;
constexpr CommandId EditUndo = 57643;
constexpr CommandId EditRedo = 57644;
constexpr CommandId AppAbout = 57664;
constexpr CommandId AppExit = 57665;
constexpr CommandId NextPane = 57680;
constexpr CommandId PrevPane = 57681;

/// Control-bar identifiers. A menu command with a bar's identifier shows or hides the
/// first bar registered under it and carries a check mark while that bar is shown.
constexpr CommandId ControlBarFirst = 59392;
constexpr CommandId ControlBarLast = 59647;
constexpr CommandId ToolBarBar = 59392; ///< the default tool bar, and "show tool bar"
constexpr CommandId ViewToolBar = 59392;

/// String numbers.
constexpr unsigned AppTitleString = 57344; ///< default caption of message boxes
constexpr unsigned FailedToCreateDocString = 61700;

/// Dialog control identifiers of the standard buttons.
constexpr int IdcStatic = -1;

} // namespace framework::ids
