#pragma once

#include "session/EditState.h"
#include "session/Selection.h"

namespace rm {
class Frame;
} // namespace rm

namespace scene {
struct SceneDocument;
} // namespace scene

class CAnimationData;
class CCharacterData;
class CModelData;

namespace session {

/// What the editor is working on: the current character, model and animation set, the
/// time, the selection, the control-panel settings and the scene frames. One object,
/// owned by the main frame (or built by the command line from its document), handed to
/// every command's Execute, to the view's interaction, to the dialogs and to the dock;
/// written only on the user-interface thread. A new context holds the start values
/// (Reset). Every pointer is borrowed: the object store owns the character, model and
/// animation set, the main frame the scene frames and the store.
///
/// Only the scene library's factory and the two libraries stay program-wide
/// (scene/SceneContext.h).
class EditContext : public EditState {
public:
    EditContext() = default;
    /// A context on `doc`'s scene: its scene frame, store and current pointers; the rest
    /// at the start values.
    explicit EditContext(const scene::SceneDocument& doc);
    EditContext(const EditContext&) = delete;
    EditContext& operator=(const EditContext&) = delete;

    /// The selection: the picked part, its visual and the box drawn around it.
    Selection selection;

    /// Gives every member its start value (EditState's, nothing selected). Frames and store
    /// are forgotten, not released: their owner releases them first.
    void Reset();
    /// Empties the selection.
    void EmptySelection();
    /// Empties the current character, model and animation set.
    void EmptyCurrentPointers();
    /// Makes `frame` alone (no visual) the selected part; null empties the selection.
    void SetSelectedPart(rm::Frame* frame);
    /// The selected part while it is still in the scene (its tree's root is sceneRoot), the
    /// selection brought up to date with the scene first (Selection::Resolve). A part that
    /// has left the scene with its model is unselected and null is returned.
    rm::Frame* SelectedPartInScene();
    /// The root frame of the current model (of the current animation set's model when no
    /// model is current); null when there is neither.
    rm::Frame* CurrentModelRoot() const;

    /// The scene frame, the store and the current pointers as the document's file
    /// sequences see them (no hooks set).
    scene::SceneDocument MakeSceneDocument() const;
    /// Takes the current pointers a file sequence left in `doc`.
    void TakeCurrentPointers(const scene::SceneDocument& doc);
};

} // namespace session
