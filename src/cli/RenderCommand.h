#pragma once

#include <ostream>
#include <span>
#include <string>

namespace cli {

/// `pavrix --render FILE [--animation ANIM] [--time T] [--size WxH]
/// [--view front|back|left|right|top|bottom] [--editor-camera] [--software] --out PNG`:
/// opens FILE as the editor's File Open does; ANIM, when it is the name of one of FILE's
/// animation sets, makes that set current as the control panel's Animation Name box does,
/// else it is a file whose sets replace FILE's as Change Animation does. Then, centring the
/// camera on the model as loaded as the open does (optionally turned to one of the control
/// panel's camera views), poses the current animation set at time T (default: its first
/// key time), frames the whole posed model as the View menu's "frame the whole model" does
/// (not with --editor-camera, which keeps the editor's camera distance), draws one frame of
/// the editor's view (background, floor grid, lit model)
/// without any display and writes it to PNG (default size 640x480; --software uses the
/// software rasteriser only). PNG is replaced only once it is complete on disk. An
/// animation set that cannot be read (of FILE or ANIM) is refused as --resave refuses it.
///
/// Messages the editor would show go to `err`, one per line starting with "pavrix: ";
/// nothing goes to `out`. Returns kExitOk on success; kExitFailed with a one-line reason
/// when a file cannot be read, nothing can be drawn or PNG cannot be written; kExitUsage,
/// with the usage, when the arguments are wrong.
int RunRender(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace cli
