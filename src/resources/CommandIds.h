#pragma once

#include "platform/framework/CommandId.h"
#include "platform/framework/StandardIds.h"

/// The program's command identifiers. The framework's standard ones (new file 57600,
/// open 57601, …) are in framework::ids and are reachable here too.
namespace resources::ids {

using namespace framework::ids;
using framework::CommandId;

// View menu: driver.
constexpr CommandId DriverRgbEmulation = 32774;
constexpr CommandId DriverDirect3DHal = 32776;
constexpr CommandId DriverUseVideoMemory = 32789;
// View menu: renderer.
constexpr CommandId RenderDithered = 32780;
constexpr CommandId RenderLighting = 32781;
constexpr CommandId RenderPoints = 32782;
constexpr CommandId RenderWireframe = 32783;
constexpr CommandId RenderSolid = 32784;
constexpr CommandId RenderFlat = 32785;
constexpr CommandId RenderGouraud = 32786;
constexpr CommandId RenderPhong = 32787; ///< a prompt string only; no command
constexpr CommandId RenderTextureFiltering = 32788;
// View menu: projection and z-buffer.
constexpr CommandId ProjectionPerspective = 32805;
constexpr CommandId ProjectionOrthographic = 32806;
constexpr CommandId ZBufferOn = 32808;
constexpr CommandId ZBufferOff = 32809;

// Playback.
constexpr CommandId KeyFrameLeft = 32791;
constexpr CommandId KeyFrameRight = 32792;
constexpr CommandId StopAnimation = 32793;
constexpr CommandId PlayAnimation = 32794;
constexpr CommandId AnimationForwardStep = 32797;
constexpr CommandId AnimationBackStep = 32798;
constexpr CommandId AnimationPlayAll = 32812;
constexpr CommandId AnimationLast = 32821;
constexpr CommandId AnimationFirst = 32822;

// Key frames.
constexpr CommandId EditPartsAnimationKey = 32795;
constexpr CommandId AddKeyFrame = 32799;
constexpr CommandId DeleteKeyFrame = 32801;
constexpr CommandId AddLastKeyFrame = 32802;
constexpr CommandId CopyKeyFrame = 32803;
constexpr CommandId PasteKeyFrame = 32804;

// Document file commands.
constexpr CommandId InsertCharacter = 32810;
constexpr CommandId ChangeAnimation = 32813;
constexpr CommandId ChangeModel = 32814;

// Batch commands.
constexpr CommandId ChangeModelScale = 32815;
constexpr CommandId DeleteAllPositionKey = 32818;
constexpr CommandId ChangeAllPositionKeyScale = 32819;
constexpr CommandId ChangeAnimationPace = 32823;
constexpr CommandId SkinOn = 32829;
constexpr CommandId ResetOrientation = 32836;
constexpr CommandId MoveFirstKeyTimeZero = 32838;
constexpr CommandId Manual = 32840;
// View menu: frame the whole model (pivot to its centre, camera at a distance that shows
// all of it).
constexpr CommandId ViewFrameAll = 32841;
// File menu: the character as glTF 2.0 (.glb or .gltf) for other programs.
constexpr CommandId FileExport = 32842;
// View menu: show or hide the timeline dock.
constexpr CommandId ViewTimeline = 32843;
// View ▸ Language: the interface in Japanese or in English, from the next start.
constexpr CommandId ViewLanguageJapanese = 32844;
constexpr CommandId ViewLanguageEnglish = 32845;

// Identifiers with a prompt string (or a button) but no handler anywhere: their buttons
// are always greyed.
constexpr CommandId FourPaneView = 32790;
constexpr CommandId AnimationAllPlay = 32811;
constexpr CommandId DeletePositionKey = 32817;
constexpr CommandId SetParent = 32824;
constexpr CommandId SetChild = 32825;
constexpr CommandId SelectParts = 32826;
constexpr CommandId PartsButton32827 = 32827; ///< a button of tool bar 143 without a string
constexpr CommandId SkinOnStatus = 32828;
constexpr CommandId DeletePartsKeyFrame = 32830;
constexpr CommandId CopyPartsKeyFrame = 32831;
constexpr CommandId PastePartsKeyFrame = 32835;
constexpr CommandId ReverseRotatePositionScale = 32839;

/// First and last of the program's own command identifiers.
constexpr CommandId ProgramFirst = 32774;
constexpr CommandId ProgramLast = 32845;

} // namespace resources::ids
