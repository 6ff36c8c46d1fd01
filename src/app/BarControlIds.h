#pragma once

/// Identifiers of the controls of the main frame's two dialog bars. Both bars report into
/// the frame's one command map, so an identifier used on both (1012) reaches the same
/// entries: the "X" button's clicks are handled, the "Min" edit's changes are not.
namespace ctl {

// Control panel (dialog bar 136).
constexpr int ParentChild = 1030;      ///< radio "Parent-Child": operation mode 0
constexpr int Animation = 1031;        ///< radio "Animation": operation mode 1
constexpr int CameraView = 1006;       ///< drop-down list "User" … "Bottom"
constexpr int Center = 1029;           ///< button "Center"
constexpr int MoveModel = 1028;        ///< radio "Move" of the first group: mouse function 0
constexpr int SecondGroupLabel = 1048; ///< static: "animation", then "Model" or "Animation"
constexpr int MovePart = 1025;         ///< radio "Move" of the second group: mouse function 1
constexpr int Rotate = 1026;           ///< radio "Rotate": mouse function 2
constexpr int Zoom = 1027;             ///< radio "Zoom" (disabled): mouse function 3
constexpr int AxisX = 1012;
constexpr int AxisY = 1014;
constexpr int AxisZ = 1015;
constexpr int AxisNegative = 1016; ///< check "-"
constexpr int AnimationName = 1040;
constexpr int ModelName = 1041;
constexpr int PartName = 1042; ///< read-only edit: the selected part's name

// Animation bar (dialog bar 103).
constexpr int TimeSlider = 1019;
constexpr int Time = 1009; ///< edit: the current time; a number and Return go there
constexpr int KeyNo = 1008;
constexpr int Length = 1013;
constexpr int ChangeLength = 1017; ///< button "-> Change"
constexpr int PlaySpeed = 1005;
constexpr int Min = 1012;
constexpr int Max = 1011;

} // namespace ctl
