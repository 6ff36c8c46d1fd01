#pragma once

// Working names of parts and the unique names of library entries.
//
// While a model or an animation set is in memory, every frame and every animation carries
// a working name: a base name (the part name), '@', then the object's identifier
// (rm::Object::Id()) in lowercase hexadecimal without leading zeros. An animation drives
// the model frame whose base name equals its own.
//
// Long names: names are read whole from the objects (there is no fixed-size name
// buffer), so a name of 200 bytes or more is handled like any other: the rules apply to
// all of its bytes, nothing is cut off, and matching compares the full base names byte by
// byte. A digit run after a "FRAME" prefix is skipped to its end, however long.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rm {
class Animation;
class Frame;
} // namespace rm

namespace scene {

/// Which frames a naming pass covers.
enum class FrameOrigin {
    /// Frames of a loaded model: an unnamed frame gets "PartsTempName_<n>@<id>".
    Model,
    /// Frames created by loading an animation set: an unnamed frame stays unnamed.
    AnimationSetLoad,
};

/// The part name a file's frame name stands for. When the name is at least five bytes
/// long and starts with "FRAME" in any letter case, that prefix, the decimal digits after
/// it and then one '_' (if the first non-digit is '_') are removed: "Frame12_Arm" ->
/// "Arm", "FRAME_Leg" -> "Leg", "frameHead" -> "Head", "Frame3" -> "", "frame" -> "".
/// Any other name is returned unchanged ("Fram", "Body").
std::string RemoveFramePrefix(std::string_view name);

/// "<base>@<id in %x>".
std::string MakeWorkingName(std::string_view base, std::uintptr_t id);

/// "PartsTempName_<number>@<id in %x>".
std::string MakeTempPartName(int number, std::uintptr_t id);

/// The text before the last '@' of name; nullopt when name has no '@' (such a name has
/// no base name and never matches). The view points into name.
std::optional<std::string_view> BaseName(std::string_view name);

/// The name a skin's bones know a frame by: the base name of a working name (the name the
/// file gave the frame), empty for a name without one. Installed as the scene library's
/// bone-name alias (rm::SetBoneNameAlias) while this layer is part of the program.
std::string_view BoneNameOf(std::string_view frameName);

/// Whether the working name workingName has exactly the base name base (byte by byte,
/// case-sensitive). A name without '@' never matches.
bool HasBaseName(std::string_view workingName, std::string_view base);

/// Whether two working names belong to the same part: both contain '@' and their base
/// names are equal byte by byte (case-sensitive: "Arm" and "arm" differ).
bool PartNamesMatch(std::string_view a, std::string_view b);

/// Applies the frame-name rule to one frame (not its children):
/// - a named frame is renamed RemoveFramePrefix(name) + "@" + its identifier;
/// - an unnamed frame of a model is named MakeTempPartName(++*tempNameCount, identifier),
///   so the first unnamed frame of a pass gets 1; an unnamed frame of an animation-set
///   load stays unnamed;
/// - every visual of the frame loses its name.
/// tempNameCount may be null for FrameOrigin::AnimationSetLoad only. A null frame does
/// nothing.
void NameFrame(rm::Frame* frame, FrameOrigin origin, int* tempNameCount);

/// NameFrame over the subtree of root, depth first, each frame before its children,
/// children in their order in the tree. Deep trees are walked without recursion.
void NameFrameTree(rm::Frame* root, FrameOrigin origin, int* tempNameCount);

/// Applies the animation-name rule to one animation and returns 1 when its name was set:
/// - no driven frame: the name is kept (0);
/// - the frame has a name with '@': "<frame's base name>@<animation's identifier>";
/// - the frame has a name without '@': the name is kept (0);
/// - the frame has no name: MakeTempPartName(++*tempNameCount, animation's identifier).
/// A null animation gives 0. tempNameCount must not be null.
int NameAnimation(rm::Animation* animation, int* tempNameCount);

/// The library entry name for a file name that is already taken, with the library's
/// counter value: "<before the last '.'>_<counter>.<after the last '.'>", or
/// "<name>_<counter>" when the name has no '.' ("a.x", 1 -> "a_1.x"; "noext", 1 ->
/// "noext_1").
std::string MakeLibraryEntryName(std::string_view fileName, int counter);

} // namespace scene
