#pragma once

/// How the 3D view is divided: the user's camera over the whole view, or four panes (top,
/// front, left and the user's camera, "４分割表示").
enum class PaneLayout {
    Single,
    FourPanes,
};
