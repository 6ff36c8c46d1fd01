#pragma once

#include "platform/framework/DialogTemplate.h"

/// Dialog template 136, the control panel docked on the left of the main frame: operation
/// mode, camera view with "Center", mouse function, the axis buttons and the names of the
/// current animation set and model. Every button is a push-like toggle; "Zoom" starts
/// disabled. Positions in dialog units.
framework::DialogTemplate ControlPanelTemplate();

/// Dialog template 103, the animation bar docked at the bottom: time, key number, key
/// length with "-> Change", play speed, first and last key time and the time slider,
/// which sits at the right end so it can be stretched to the bar's width.
framework::DialogTemplate AnimationBarTemplate();
