#pragma once

#include <memory>

#include "platform/surface/SurfaceResult.h"
#include "platform/surface/Window.h"

namespace surface {

/// Binds a primary surface to the window its picture belongs to.
class Clipper {
public:
    static HRESULT Create(std::shared_ptr<Clipper>* clipper) {
        return MakeInto(clipper, [] { return new Clipper; });
    }

    /// Binds the window (borrowed; it must outlive the clipper's use). DDERR_NOHWND for
    /// null.
    HRESULT SetHWnd(Window* window) {
        if (!window) {
            return DDERR_NOHWND;
        }
        m_window = window;
        return DD_OK;
    }
    Window* GetHWnd() const { return m_window; }

private:
    Clipper() = default;
    Window* m_window = nullptr;
};

} // namespace surface
