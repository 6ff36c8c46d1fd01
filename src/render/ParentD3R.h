#pragma once

#include <memory>
#include <vector>

#include "platform/NonCopyable.h"
#include "platform/rm/Context.h"
#include "render/Direct3R.h"

namespace render {

/// Owner of the program's one scene-library object and of up to four device wrappers
/// (one per view). Lives in the main frame; every view gets its wrapper here and gives it
/// back when it goes. Progress goes to the debug output as "ParentD3R:" lines.
class ParentD3R : private platform::NonCopyable {
public:
    static constexpr int kSlotCount = 4;

    /// Creates the scene-library object (CreateD3DRM).
    ParentD3R();
    /// Releases every wrapper CreateChild made and that was not given back (registered or
    /// not), then the scene-library object.
    ~ParentD3R();

    /// Creates the scene-library object; 1 or 0.
    int CreateD3DRM();
    /// A new wrapper, registered in the first free slot (with a reference to the shared
    /// scene-library object) and stored in *out. With every slot taken the wrapper is still
    /// made but not registered (and gets no shared object). 0 only when out is null.
    /// The wrapper stays owned by this object; the caller borrows it and gives it back
    /// with ReleaseChild.
    int CreateChild(Direct3R** out);
    /// Unregisters the wrapper in *slot, cleans it up, deletes it and empties *slot.
    /// 0 when slot or *slot is null. *slot must be a wrapper CreateChild made.
    int ReleaseChild(Direct3R** slot);
    /// Registers child (borrowed) in the first free slot ("ParentD3R:Add Child %d\n"); 0
    /// when all four are taken.
    int AddChildDevice(Direct3R* child);
    /// Empties the slot holding child ("ParentD3R:Delete Child %d\n"); 0 when not found.
    int DeleteChildDevice(Direct3R* child);

    /// The shared scene-library object (null when it could not be made).
    rm::Context* D3DRM() const { return m_d3drm.Get(); }
    /// The wrapper in slot index (0-3), or null.
    Direct3R* Child(int index) const {
        return index >= 0 && index < kSlotCount ? m_children[index] : nullptr;
    }

private:
    rm::Ref<rm::Context> m_d3drm;
    /// Every wrapper CreateChild made and that was not given back.
    std::vector<std::unique_ptr<Direct3R>> m_owned;
    /// The registered wrappers, borrowed (from m_owned or from AddChildDevice's caller).
    Direct3R* m_children[kSlotCount] = {nullptr, nullptr, nullptr, nullptr};
};

} // namespace render
