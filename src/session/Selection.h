#pragma once

#include "platform/NonCopyable.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Types.h"

namespace rm {
class Context;
class Frame;
class Mesh;
class MeshBuilder;
class Visual;
} // namespace rm

/// The selected part: its frame, the visual of it that was picked (a mesh or a mesh
/// builder), which of the part's visuals was taken last, the part's place in its model, and
/// the green box drawn around it.
///
/// It holds a reference to everything it names, so nothing it names is freed while it is
/// selected, and Resolve() brings it up to date with the scene after a change (a part that
/// left the scene is let go; a visual the part no longer carries gives way to the one the
/// part carries now in the same place).
///
/// The box is none of the scene's: it hangs under a root frame of its own, which the view
/// draws after the scene at the selected part's place. No walk of the scene (welds, picks,
/// bounds, framing, saves, undo pictures) meets it.
class Selection : private platform::NonCopyable {
public:
    Selection();
    ~Selection();

    /// The selected part's frame; null when nothing is selected.
    rm::Frame* Part() const { return m_part.Get(); }
    /// The picked visual; null when the part was selected without one.
    rm::Visual* Visual() const { return m_visual.Get(); }
    /// The picked visual as a mesh or as a mesh builder (whichever it is; else null).
    rm::Mesh* Mesh() const;
    rm::MeshBuilder* MeshBuilder() const;
    /// Which of the selected part's visuals was taken last (clicks on the same part cycle).
    int VisualCycle() const { return m_visualCycle; }
    void SetVisualCycle(int cycle) { m_visualCycle = cycle; }
    /// The part's position in the depth-first order of its model (root 0).
    int PartIndex() const { return m_partIndex; }
    void SetPartIndex(int index) { m_partIndex = index; }

    /// Makes `visual` of `part` the selection (`visual` may be null: the part alone). The
    /// visual cycle and the part index stay as they are. Null `part` clears.
    void Select(rm::Frame* part, rm::Visual* visual);
    /// Nothing selected: part, visual, box, visual cycle and part index.
    void Clear();

    /// Brings the selection up to date with the scene under `sceneRoot`: a part whose tree
    /// is no longer that scene is let go (everything cleared), a visual the part no longer
    /// carries is replaced by the part's visual at the visual cycle (or its first, or none).
    /// With `modelRoot` the part index is taken again from the part's place under it.
    /// Returns the part still selected, or null.
    rm::Frame* Resolve(rm::Frame* sceneRoot, rm::Frame* modelRoot = nullptr);

    /// The root frame of the box, placed where the selected part is and carrying the box
    /// around the picked visual as its box is now (built with `d3drm` when it changed).
    /// Null without a part, a visual with a box, or a context.
    rm::Frame* PlacedBox(rm::Context* d3drm);
    /// The box's mesh as last built; null when none is.
    rm::Mesh* BoxMesh() const { return m_boxMesh.Get(); }

    /// Depth-first position of `frame` under `root` (root 0); -1 when it is not there.
    static int IndexOf(rm::Frame* root, const rm::Frame* frame);

private:
    void DropBox();

    rm::Ref<rm::Frame> m_part;
    rm::Ref<rm::Visual> m_visual;
    int m_visualCycle = 0;
    int m_partIndex = 0;

    rm::Ref<rm::Frame> m_boxFrame;
    rm::Ref<rm::Mesh> m_boxMesh;
    rm::Box m_boxShape;
};
