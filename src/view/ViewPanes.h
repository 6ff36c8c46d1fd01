#pragma once

#include <span>
#include <vector>

#include "platform/rm/Ref.h"
#include "platform/rm/Viewport.h"
#include "view/PaneLayout.h"

namespace render {
class Direct3R;
} // namespace render

/// The panes of the 3D view: one, the user's camera over the whole view (the device
/// wrapper's own viewport), or four ("４分割表示"): top, front and left, orthographic and
/// fixed to the world's axes, each looking at the user's camera pivot at the scale the
/// user's camera shows it there, and the user's camera (bottom right). The four are
/// viewports on the same device and camera frames under the scene root, so each draws,
/// picks and poses the same scene.
class ViewPanes {
public:
    ViewPanes() = default;
    ~ViewPanes();
    ViewPanes(const ViewPanes&) = delete;
    ViewPanes& operator=(const ViewPanes&) = delete;

    PaneLayout Layout() const { return m_layout; }
    void SetLayout(PaneLayout layout) { m_layout = layout; }
    bool IsSplit() const { return m_layout == PaneLayout::FourPanes; }

    /// Before each drawing: with the view split, the four viewports are made for the
    /// device as it is now (again after a rebuild or a new size), the user's pane takes the
    /// projection, field and planes of the wrapper's viewport, and the fixed cameras are
    /// placed around `pivot`. Returns the viewports to draw, the user's first; empty when
    /// the wrapper's own viewport is the only pane (or the panes cannot be made).
    std::span<rm::Viewport* const> Update(render::Direct3R& device, rm::Frame* sceneRoot,
                                          rm::Frame* pivot);
    /// The pane holding device pixel (x, y), or null when the view is not split (or
    /// nothing is made yet). Borrowed.
    rm::Viewport* PaneAt(int x, int y) const;
    /// Whether `pane` is one of the panes as they are now (they are made again after a
    /// rebuild of the device, so a pane kept from a press may be gone).
    bool Holds(const rm::Viewport* pane) const;
    /// Lets go of the viewports and cameras (before the device or the scene goes).
    void Release();

private:
    PaneLayout m_layout = PaneLayout::Single;
    /// The fixed cameras: top, front, left.
    rm::Ref<rm::Frame> m_cameras[3];
    rm::Ref<rm::Viewport> m_panes[4];
    std::vector<rm::Viewport*> m_drawOrder;
    // What the panes were made for; compared, never dereferenced.
    const void* m_madeFor = nullptr;
    int m_width = 0;
    int m_height = 0;
};
