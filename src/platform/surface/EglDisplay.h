#pragma once

#include <memory>

#include "platform/NonCopyable.h"
#include "platform/surface/DeviceInfo.h"
#include "platform/surface/SurfaceResult.h"

namespace surface {

/// An initialised EGL display for one device, shared by every context opened on that
/// device and terminated when the last of them lets go (EGL hands out one display per
/// device, and terminating it under a live context would pull the context away).
class EglDisplay : private platform::NonCopyable {
public:
    /// The display of `device`, opened and initialised on first use.
    /// DDERR_NODIRECTDRAWHW when EGL cannot open or initialise it.
    static HRESULT Open(const DeviceInfo& device, std::shared_ptr<EglDisplay>* display);

    ~EglDisplay();

    /// The EGLDisplay.
    void* Handle() const { return m_display; }
    /// Whether the display offers the named EGL extension.
    bool HasExtension(const char* name) const;

private:
    explicit EglDisplay(void* display) : m_display(display) {}

    void* m_display;
};

} // namespace surface
