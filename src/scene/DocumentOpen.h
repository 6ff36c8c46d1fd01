#pragma once

#include "scene/DocumentOpenResult.h"
#include "scene/SceneDocument.h"
#include "scene/SceneMessages.h"

namespace scene {

/// What an open does with the scene.
enum class OpenMode {
    /// Open as a new scene: everything loaded before is discarded.
    NewScene,
    /// Insert another character into the scene.
    InsertCharacter,
    /// Change the animation set of the current character.
    ChangeAnimation,
    /// Change the model of the current character.
    ChangeModel,
};

/// What ClearScene takes away.
enum class ClearExtent {
    /// The current character and its model's frames in the scene.
    CurrentCharacter,
    /// Every character, animation set and model of the store.
    Everything,
};

// Texts the open sequence shows.
inline constexpr char kLoadModelFirstMessage[] = QT_TRANSLATE_NOOP(
    "Pavrix", "アニメーションデータをロードする前に、モデルデータをロードしてください。");
inline constexpr char kNoCharacterMessage[] = QT_TRANSLATE_NOOP("Pavrix", "Not CharacterData!");
inline constexpr char kModelLoadFailedMessage[] =
    QT_TRANSLATE_NOOP("Pavrix", "モデルのロードに失敗しました。");
inline constexpr char kNoModelMessage[] = QT_TRANSLATE_NOOP("Pavrix", "Not ModelData!");
inline constexpr char kAnimationLoadFailedMessage[] =
    QT_TRANSLATE_NOOP("Pavrix", "アニメーションのロードに失敗しました。");
inline constexpr char kNoAnimationMessage[] = QT_TRANSLATE_NOOP("Pavrix", "Not AnimationData!");
inline constexpr char kEmptyAnimationNotice[] =
    QT_TRANSLATE_NOOP("Pavrix", "アニメーションがないので空のアニメーションを生成します。");

/// Reads the file an open in `mode` takes, before anything of the document is let go, and
/// fails as OpenDocument does (message shown and returned) when the open could not succeed:
/// the file cannot be read (kModelLoadFailedMessage, or kAnimationLoadFailedMessage for
/// OpenMode::ChangeAnimation, with the reader's reason), or it holds no model for a mode that
/// loads one; OpenMode::ChangeAnimation without a current character shows
/// kLoadModelFirstMessage. Changes nothing. Inside an rm::XFileOpenScope the open that
/// follows uses the same read.
DocumentOpenResult CheckOpenable(SceneDocument& doc, const char* path, OpenMode mode);

/// The document's open sequence without what belongs to the window (stopping playback,
/// the selection, camera, bars, redraw), shared by the editor and the command line.
///
/// Needs g_d3drm, doc.sceneFrame and doc.store (else 0 without a message). By mode:
/// - OpenMode::NewScene: clears the scene (ClearScene(doc, ClearExtent::Everything)), then as
/// OpenMode::InsertCharacter.
/// - OpenMode::InsertCharacter: a new character owning its data; the model loaded from path is
///   attached to the scene frame; every animation set of path, in file order, or an empty
///   one with kEmptyAnimationNotice when the file gives none, is bound to it and the first
///   is selected. When the model cannot be loaded the new character goes again and the
///   current pointers stay as they were.
/// - OpenMode::ChangeAnimation: the current character's animation sets are dropped (removed
///   from the library when it owns them) and replaced by those of path (or an empty
///   one with the notice), all bound to its model, the first selected. Without a current character
///   it shows kLoadModelFirstMessage and changes nothing.
/// - OpenMode::ChangeModel: the current character (a new, non-owning one when there is none)
///   gets the model from path and its current animation set is bound to it; 0 without a
///   message when the character has no animation set.
/// Every mode first runs CheckOpenable: a file that cannot be opened leaves the document
/// exactly as it was.
/// On success doc's current character, model and animation set name what was opened and
/// the current set's key-time list is built. A failure leaves what was done up to that
/// step in place (a loaded model stays bound and in the scene). Messages go to
/// doc.onMessage as they arise and are returned in the result.
DocumentOpenResult OpenDocument(SceneDocument& doc, const char* path, OpenMode mode);

/// Clears the scene data. ClearExtent::Everything: removes every character, then every
/// animation set, then every model from the store (models take their root frames out of
/// the scene). ClearExtent::CurrentCharacter: when there are a current character, model and
/// animation set, takes the model's root frame out of the scene frame (or out of its own parent
/// when there is no scene frame) and removes the character from the store (its model and animation
/// sets stay in the libraries). Either way the current pointers become null and doc.onSceneCleared
/// is called. Returns 1.
int ClearScene(SceneDocument& doc, ClearExtent extent);

} // namespace scene
