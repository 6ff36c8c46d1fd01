#pragma once

/// Numbers of the program's resources: menus, tool bars, dialog templates, icons.
namespace resources::res {

/// Main menu, accelerators, application icon, tool bar 128 and the document string.
constexpr int MainFrame = 128;
constexpr int AnimationToolBar = 132;
constexpr int PartsToolBar = 143;

constexpr int AboutBox = 100;
constexpr int AnimationBar = 103;
constexpr int PartKeyDialog = 135;
constexpr int ControlPanel = 136;
constexpr int ModelScaleDialog = 141;
constexpr int PositionKeyScaleDialog = 142;

} // namespace resources::res
