#pragma once

namespace framework {

/// A command identifier. Menu items, tool-bar buttons, accelerators and the controls of
/// dialog bars and dialogs all report one; the values are 16-bit in practice and 0 is
/// never a command. Controls without an identifier of their own use -1 (as unsigned).
using CommandId = unsigned int;

/// What a control reports together with its identifier. Menu items, tool-bar buttons,
/// accelerators and clicked buttons all report `Clicked`; the plain entries of a command
/// map listen for it. The other codes come from particular controls only.
enum class Notification {
    Clicked,         ///< a command, or a push, check or radio button clicked by the user
    SelChange,       ///< combo or list box: the user changed the selection
    SelEndOk,        ///< combo box: the user confirmed a choice
    EditChange,      ///< edit: its text changed (also when the program set it)
    ReleasedCapture, ///< track bar: the mouse let go of it
    DoubleClicked,   ///< list box: an entry was double-clicked
    EditReturn,      ///< edit: Return was pressed in it
};

/// Where a command came from. Commands from menus and accelerators are checked against
/// their command state before they are routed, so a disabled command does nothing even
/// when its menu was not refreshed; commands of tool-bar buttons and controls are routed
/// as they come (a disabled control cannot send one).
enum class CommandSource { Menu, Accelerator, Control };

} // namespace framework
