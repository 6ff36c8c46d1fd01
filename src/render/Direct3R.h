#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/NonCopyable.h"
#include "platform/rm/Context.h"
#include "platform/surface/Clipper.h"
#include "platform/surface/DepthBuffer.h"
#include "platform/surface/DeviceInfo.h"
#include "platform/surface/Driver.h"
#include "platform/surface/Palette.h"
#include "platform/surface/PrimarySurface.h"
#include "platform/surface/RasterDevice.h"
#include "platform/surface/RenderTarget.h"
#include "platform/surface/Window.h"

namespace render {

class ParentD3R;

/// The device wrapper of one window (one view): the drawing surfaces, the 3D device
/// chosen between the hardware device and the software rasteriser, the scene library's
/// device built on it and the viewport.
///
/// The platform objects map onto the EGL layer: the DirectDraw and Direct3D objects are
/// one surface::Driver (the list of EGL devices), the primary surface is the picture the
/// window paints, the back buffer and z-buffer an offscreen colour and depth target of the
/// client size, the clipper the binding to the window, and showing the back buffer reads it
/// back into the picture. Progress goes to the debug output as "D3R:" lines; failing calls
/// are reported by ReportDirectDrawError / ReportRetainedModeError with the source
/// "Direct3r" and the line of the call. Operations return 1 on success and 0 on failure;
/// nothing here talks to the user.
///
/// Windows are borrowed: the window handed to CreateDirectDrawWin must outlive this
/// wrapper's use of it (until Cleanup).
class Direct3R : private platform::NonCopyable {
public:
    /// Logs "D3R:Direct3R Initialize\n"; all objects empty, flags 0 but active 1; size
    /// 640 x 480 at 16 bits per pixel; clears the program-wide hardware-device-found flag.
    Direct3R();
    /// Releases whatever is still held (without logging).
    ~Direct3R();

    /// The drawing surfaces for window: driver, primary surface, back buffer of the
    /// client size (at least 1 x 1) and clipper. A back buffer that cannot be had in video
    /// memory is made in system memory with the software flag set.
    int CreateDirectDrawWin(surface::Window* window);
    /// The scene library's object if missing, the palette on 8-bit displays, the 3D device
    /// (a failing hardware attempt is retried once with the software rasteriser, on window
    /// surfaces rebuilt for it) and the scene library's device with its defaults.
    int CreateD3DRM();
    /// Chooses and creates the 3D device and the z-buffer (used by CreateD3DRM).
    int CreateD3DDevice(int colorModel);
    /// Creates m_viewport for camera over the whole back buffer, back plane 5000.
    /// 0 when a viewport exists already.
    int D3RViewport(rm::Frame* camera);
    /// Rebuilds every object but the scene library's object for the window's new size
    /// (null: the stored window); the caller makes the viewport again. 0 unless the window
    /// surfaces were made.
    int ResizeWindow(surface::Window* window);
    /// Shows the back buffer: reads it into the primary surface's picture and tells the
    /// window. 0 while suspended or not enabled, or when that fails.
    int ShowBackBuffer();
    /// Sets the enabled flag to 0 or 1 (other values are ignored); returns 1.
    int SetEnable(int flag);
    /// Recomputes the screen rectangle, width and height from the window (null: the
    /// stored one), without raising them to 1. 0 unless enabled and the surfaces exist.
    int UpdateScreenRect(surface::Window* window);
    /// Follows application activation.
    int ActivateHandle(int active);
    /// Lets the device repaint the window's update region (null: the stored window).
    int PaintHandle(surface::Window* window);
    /// Restores a lost primary surface or z-buffer and forces a viewport update.
    void RestoreSurfaces();
    /// The software flag: use the software rasteriser only ("RGB/MMX Emulation").
    void SetHEL(int flag) { m_software = flag; }
    /// The video-memory flag: back buffer in video memory even in software mode.
    void SetVideoMemory(int flag) { m_videoMemory = flag; }
    /// The suspended flag: set while the window is minimised; nothing is shown then.
    void SetSuspended(int flag) { m_suspended = flag; }
    /// Releases everything and clears the enabled flag.
    void Cleanup();
    /// Releases everything but the scene library's object; the flags stay.
    void Cleanup_ExceptIDirect3DRM();

    /// The devices the next CreateDirectDrawWin finds (by default the system's EGL
    /// devices). Lets a caller (and the tests) stand in other devices.
    void UseDevices(std::vector<surface::DeviceInfo> devices);

    // What the view reads.
    rm::Context* D3DRM() const { return m_d3drm.Get(); }
    surface::PrimarySurface* PrimarySurface() const { return m_primarySurface.get(); }
    surface::RenderTarget* BackBuffer() const { return m_backBuffer.get(); }
    surface::Palette* Palette() const { return m_palette.get(); }
    rm::Device* D3DRMDevice() const { return m_d3drmDevice.Get(); }
    rm::Viewport* Viewport() const { return m_viewport.Get(); }
    int IsSoftware() const { return m_software; }
    int IsVideoMemory() const { return m_videoMemory; }
    int IsEnabled() const { return m_enabled; }
    int IsWindowReady() const { return m_windowReady; }
    int IsSuspended() const { return m_suspended; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The rest of the state, for tests and diagnostics.
    surface::Driver* DirectDraw() const { return m_directDraw.get(); }
    surface::Driver* Direct3D() const { return m_direct3D.get(); }
    surface::DepthBuffer* ZBuffer() const { return m_zBuffer.get(); }
    surface::Clipper* Clipper() const { return m_clipper.get(); }
    surface::RasterDevice* D3DDevice() const { return m_d3dDevice.get(); }
    const surface::PaletteEntry* PaletteEntries() const { return m_paletteEntries.data(); }
    int ColorModel() const { return m_colorModel; }
    const surface::Rect& ScreenRect() const { return m_screenRect; }
    int IsActive() const { return m_active; }
    int BitsPerPixel() const { return m_bitsPerPixel; }
    surface::Window* Window() const { return m_window; }

    /// Program-wide device-selection state, shared by all wrappers.
    static bool HardwareDeviceFound() { return s_hardwareDeviceFound; }
    static const Direct3R* EnumeratingDevice() { return s_enumerating; }
    static const std::array<std::uint8_t, 16>& LastHardwareGuid() { return s_deviceGuid; }

private:
    /// Releases the objects, the viewport first and DirectDraw last; the scene library's
    /// object too unless `keepD3drm`.
    void Release(bool keepD3drm);
    friend class ParentD3R;
    void SetUpPalette();

    // In the order of the platform's wrapper; destroyed in reverse, so the viewport and
    // the scene library's device go before the surfaces they draw on.
    std::shared_ptr<surface::Driver> m_directDraw;
    std::shared_ptr<surface::Driver> m_direct3D;
    rm::Ref<rm::Context> m_d3drm;
    std::unique_ptr<surface::PrimarySurface> m_primarySurface;
    std::shared_ptr<surface::RenderTarget> m_backBuffer;
    std::unique_ptr<surface::DepthBuffer> m_zBuffer;
    std::shared_ptr<surface::Palette> m_palette;
    std::array<surface::PaletteEntry, 256> m_paletteEntries{};
    std::shared_ptr<surface::Clipper> m_clipper;
    std::shared_ptr<surface::RasterDevice> m_d3dDevice;
    rm::Ref<rm::Device> m_d3drmDevice;
    rm::Ref<rm::Viewport> m_viewport;
    int m_colorModel = 0;
    surface::Rect m_screenRect;
    int m_software = 0;
    int m_videoMemory = 0;
    int m_enabled = 0;
    int m_windowReady = 0;
    int m_suspended = 0;
    int m_active = 1;
    int m_width = 640;
    int m_height = 480;
    int m_bitsPerPixel = 16;
    surface::Window* m_window = nullptr; // borrowed

    bool m_useOwnDevices = false;
    std::vector<surface::DeviceInfo> m_devices;

    static bool s_hardwareDeviceFound;
    static const Direct3R* s_enumerating;
    static std::array<std::uint8_t, 16> s_deviceGuid;
};

} // namespace render
