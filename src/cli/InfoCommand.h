#pragma once

#include <ostream>
#include <span>
#include <string>

namespace cli {

/// `pavrix --info FILE...`: for each file, one line on `out` holding a JSON object
///   {"file":…,"format":"text|binary|compressed",
///    "frames":[{"name":…,"parent":…,"visuals":n,"vertices":n,"faces":n,"normals":n,
///      "skins":[{"mesh":…,"bones":n,"weights":n}]}],
///    "animationSets":[{"name":…,"animations":[{"name":…,"frame":…,"rotationKeys":n,
///      "scaleKeys":n,"positionKeys":n,"first":t,"last":t,"options":n}],"ticksPerSecond":n}]}
/// Frames are listed depth first, parents before children; names are the file's (null
/// for none) as UTF-8 text: bytes that are not UTF-8 are decoded from code page 932, and
/// the exact bytes follow in hexadecimal as "nameBytes" ("parentBytes", "frameBytes").
/// "skins" lists the frame's meshes with skin weights (bones and weights as kept after the
/// load), left out when it has none. ticksPerSecond is the file's AnimTicksPerSecond, left
/// out when it declares none. Counts
/// are what the scene library holds after the load. The frames come from
/// scene::LoadModelFile (a bare mesh wrapped in one unnamed frame); every animation set, in file
/// order, from AnimationSet::LoadAll. A file that cannot be read gets its error on `err` and no
/// line on `out`; the other files are still reported. Returns kExitOk, kExitFailed when a file
/// failed, kExitUsage without files.
int RunInfo(std::span<const std::string> files, std::ostream& out, std::ostream& err);

/// The JSON object of one file (no line end). The model is read as the editor reads it
/// (scene::LoadModelFile: texture images beside the file are found, the working directory
/// is left alone). Returns false with the error in *error; *warnings gets load warnings
/// (missing texture images, skin weights left out), each line starting with `path`.
bool DescribeXFile(const std::string& path, std::string* json, std::string* error,
                   std::string* warnings);

} // namespace cli
