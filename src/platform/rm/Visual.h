#pragma once

#include "platform/rm/Object.h"

namespace rm {

/// Something a frame can show: a mesh builder or a mesh.
class Visual : public Object {
public:
    /// Bounding box in the visual's own coordinates; an empty visual gives a zero box
    /// and D3DRMERR_BADVALUE.
    virtual HRESULT GetBox(Box* box) const = 0;
    /// Whether picking may return this visual.
    virtual bool IsPickable() const { return true; }
    /// Grows with every change of the geometry or its attributes, so drawing can tell
    /// when cached vertex buffers are stale.
    std::uint64_t Generation() const { return m_generation; }

protected:
    void Touch() { ++m_generation; }

private:
    std::uint64_t m_generation = 1;
};

} // namespace rm
